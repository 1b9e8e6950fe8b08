// The run button of the real lumarel.exe starts the stand-in emulator with short paths.

#include <gtest/gtest.h>

#include <thread>

#include "tests/e2e/world.h"
#include "ui/location/location_window.h"
#include "ui/main/main_layout.h"
#include "ui/main/main_menu.h"

namespace lumarel {
namespace {

using namespace robot;
using namespace e2e;

using RunTest = World;

TEST_F(RunTest, RunButtonStartsTheEmulatorWithShortPathsAndRecordsTheLine) {
    HWND main = StartLumarel();
    ASSERT_NE(main, nullptr) << "no main window within 30 s";
    const RemoteListView roms(GetDlgItem(main, File1));
    ASSERT_EQ(roms.Texts(), std::vector<std::wstring>{L"a long game name.smc"})
        << "the names another program reads";
    roms.Select(0);

    PostMessageW(GetDlgItem(main, Go_Button), BM_CLICK, 0, 0);

    const std::wstring received = emulatorDir + L"\\received.txt";
    ASSERT_TRUE(WaitUntil([&] { return !ReadBytes(received).empty(); }, 20s))
        << "the stand-in emulator recorded nothing within 20 s";
    const std::string expected = Ascii(ShortForm(emulator) + L" " + ShortForm(rom) + L" -ns -j ");
    EXPECT_EQ(expected.find(' '), Ascii(ShortForm(emulator)).size()) << "short paths hold no blank";
    EXPECT_EQ(ReadBytes(received), expected + "\r\n");

    const std::string record = ReadBytes(L"c:\\qzdebug.out");
    ASSERT_GE(record.size(), expected.size() + 2);
    EXPECT_EQ(record.substr(record.size() - expected.size() - 2), expected + "\r\n");
    EXPECT_TRUE(WaitUntil([&] { return TextOf(main) == L"Lumarel v1.5"; }, 5s));
}

TEST_F(RunTest, DemonstrationEmulatorShowsEachArgumentWithWhatItNames) {
    ASSERT_TRUE(CopyFileW(WindowsPath(DEMO_EMULATOR_EXE).c_str(), emulator.c_str(), FALSE));
    HWND main = StartLumarel();
    ASSERT_NE(main, nullptr) << "no main window within 30 s";
    // Home selects the first ROM, as a person would from the keyboard; the click comes after.
    PostKey(GetDlgItem(main, File1), VK_HOME);
    PostMessageW(GetDlgItem(main, Go_Button), BM_CLICK, 0, 0);

    HWND shown = FindTopLevelContaining(L"Snes9x - Lumarel's demonstration", 20s);
    ASSERT_NE(shown, nullptr) << "no window of the demonstration emulator within 20 s";
    const std::wstring report = TextOf(GetWindow(shown, GW_CHILD));
    PostKey(shown, VK_ESCAPE);
    const std::wstring lines[] = {
        L"  " + ShortForm(emulator) + L" " + ShortForm(rom) + L" -ns -j \r\n",
        L"this program, snes9x.exe, ",
        L"the file a long game name.smc, 1500000 bytes\r\n",
        L"  -ns   ",
        L"option Sound On/Off: Off\r\n",
        L"option JoyStick On/Off: Off\r\n",
        L"Lumarel asked for a maximised window.",
    };
    for (const std::wstring& line : lines) {
        EXPECT_NE(report.find(line), std::wstring::npos) << Ascii(line) << " in:\n"
                                                         << Ascii(report);
    }
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(shown); }, 10s)) << "Esc left it open";
}

TEST_F(RunTest, DoubleClickOnARomStartsTheEmulator) {
    HWND main = StartLumarel();
    ASSERT_NE(main, nullptr) << "no main window within 30 s";
    SetForegroundWindow(main);
    WaitUntil([&] { return GetForegroundWindow() == main; }, 5s);
    const RemoteListView roms(GetDlgItem(main, File1));
    ClickAt(roms.LinePoint(0), 2);

    const std::wstring received = emulatorDir + L"\\received.txt";
    ASSERT_TRUE(WaitUntil([&] { return !ReadBytes(received).empty(); }, 20s))
        << "the stand-in emulator recorded nothing within 20 s of the double-click";
    EXPECT_EQ(roms.Selected(), 0);
    EXPECT_EQ(ReadBytes(received),
              Ascii(ShortForm(emulator) + L" " + ShortForm(rom) + L" -ns -j ") + "\r\n");
}

TEST_F(RunTest, EmulatorChosenInTheLocationWindowIsTheOneStarted) {
    std::ofstream(std::filesystem::path(app + L"\\Lumarel.ini"), std::ios::binary) << "";
    // Started in the emulator's directory, where the location window opens.
    HWND main = StartLumarel(emulatorDir);
    ASSERT_NE(main, nullptr) << "no main window within 30 s";
    ASSERT_TRUE(Choose(main, MenuItem::locations));
    HWND location = FindTopLevel(lumarel.Id(), L"Location of Snes9x", 20s);
    ASSERT_NE(location, nullptr) << "no location window within 20 s";
    EXPECT_FALSE(IsWindowEnabled(main)) << "the main window takes input while it is open";
    ASSERT_EQ(RemoteListView(GetDlgItem(location, File2)).Texts(),
              std::vector<std::wstring>{L"snes9x.exe"});
    PostMessageW(GetDlgItem(location, Close_Button), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(location); }, 10s)) << "Close left it open";
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }, 5s));

    RemoteListView(GetDlgItem(main, File1)).Select(0);
    PostMessageW(GetDlgItem(main, Go_Button), BM_CLICK, 0, 0);
    const std::wstring received = emulatorDir + L"\\received.txt";
    ASSERT_TRUE(WaitUntil([&] { return !ReadBytes(received).empty(); }, 20s))
        << "the stand-in emulator recorded nothing within 20 s";
    EXPECT_EQ(ReadBytes(received).substr(0, ShortForm(emulator).size()),
              Ascii(ShortForm(emulator)));
}

TEST_F(RunTest, LettersTypedQuicklySelectTheNextRomStartingWithThem) {
    for (const wchar_t* name : {L"street fighter.smc", L"sunset riders.sfc",
                                L"super mario world.smc", L"super metroid.smc", L"zelda.fig"}) {
        std::ofstream(std::filesystem::path(app + L"\\" + name), std::ios::binary) << "rom";
    }
    HWND main = StartLumarel();
    ASSERT_NE(main, nullptr) << "no main window within 30 s";
    SetForegroundWindow(main);
    WaitUntil([&] { return GetForegroundWindow() == main; }, 5s);
    const RemoteListView roms(GetDlgItem(main, File1));
    ASSERT_EQ(roms.Texts(),
              (std::vector<std::wstring>{L"a long game name.smc", L"street fighter.smc",
                                         L"sunset riders.sfc", L"super mario world.smc",
                                         L"super metroid.smc", L"zelda.fig"}));
    const auto selected = [&](int line) {
        return WaitUntil([&] { return roms.Selected() == line; }, 5s);
    };
    ClickAt(roms.LinePoint(5));
    ASSERT_TRUE(selected(5));

    // From zelda round to the top, then on from each match as the letters come.
    TypeLetters(main, L"SUP");
    EXPECT_TRUE(selected(3)) << "selected: " << roms.Selected();
    // After a pause the search starts anew, from the line after the selected one and round
    // past the end: "sun" is sunset riders.
    std::this_thread::sleep_for(2s);  // the pause itself is what is tested
    TypeLetters(main, L"SUN");
    EXPECT_TRUE(selected(2)) << "selected: " << roms.Selected();
    // One letter again and again goes from name to name that starts with it.
    std::this_thread::sleep_for(2s);
    TypeLetters(main, L"SS");
    EXPECT_TRUE(selected(4)) << "selected: " << roms.Selected();
}

}  // namespace
}  // namespace lumarel
