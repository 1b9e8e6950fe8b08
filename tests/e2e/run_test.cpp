// The run button of the real lumarel.exe starts the stand-in emulator with short paths.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/e2e/robot.h"
#include "ui/location/location_window.h"
#include "ui/main/main_layout.h"
#include "ui/main/main_menu.h"

namespace lumarel {
namespace {

using namespace robot;

std::wstring ShortForm(const std::wstring& path) {
    wchar_t buffer[1024] = L"";
    return GetShortPathNameW(path.c_str(), buffer, 1024) ? buffer : L"";
}

std::string ReadBytes(const std::wstring& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

std::string Ascii(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

// A world of its own: Lumarel in a directory with blanks in its name, its ROMs beside it,
// and the stand-in emulator in another directory with blanks.
class RunTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        root = std::wstring(temp) + L"lumarel run " + std::to_wstring(GetCurrentProcessId());
        app = root + L"\\My Games";
        emulatorDir = root + L"\\My Emulators";
        for (const std::wstring& dir : {root, app, emulatorDir}) {
            ASSERT_TRUE(CreateDirectoryW(dir.c_str(), nullptr)) << Ascii(dir);
        }
        emulator = emulatorDir + L"\\snes9x.exe";
        ASSERT_TRUE(
            CopyFileW(WindowsPath(LUMAREL_EXE).c_str(), (app + L"\\lumarel.exe").c_str(), FALSE));
        ASSERT_TRUE(CopyFileW(WindowsPath(STAND_IN_EXE).c_str(), emulator.c_str(), FALSE));
        rom = app + L"\\a long game name.smc";
        std::ofstream(std::filesystem::path(rom), std::ios::binary) << std::string(1500000, 'r');
        std::ofstream(std::filesystem::path(app + L"\\Lumarel.ini"), std::ios::binary)
            << "Location of Snes9x: " << Ascii(emulator) << "\r\n";
    }

    void TearDown() override {
        lumarel.Kill();
        for (const std::wstring& file : {app + L"\\lumarel.exe", app + L"\\Lumarel.ini", rom,
                                         emulator, emulatorDir + L"\\received.txt"}) {
            DeleteFileW(file.c_str());
        }
        for (const std::wstring& dir : {app, emulatorDir, root}) {
            RemoveDirectoryW(dir.c_str());
        }
    }

    HWND StartLumarel(const std::wstring& workingDirectory = L"") {
        if (!lumarel.Start(L"\"" + app + L"\\lumarel.exe\"",
                           workingDirectory.empty() ? app : workingDirectory)) {
            return nullptr;
        }
        return FindTopLevel(lumarel.Id(), L"Lumarel v1.5", 30s);
    }

    std::wstring root, app, emulatorDir, emulator, rom;
    Process lumarel;
};

TEST_F(RunTest, RunButtonStartsTheEmulatorWithShortPathsAndRecordsTheLine) {
    HWND main = StartLumarel();
    ASSERT_NE(main, nullptr) << "no main window within 30 s";
    HWND romList = GetDlgItem(main, File1);
    ASSERT_EQ(SendMessageW(romList, LB_GETCOUNT, 0, 0), 1);
    SendMessageW(romList, LB_SETCURSEL, 0, 0);

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

TEST_F(RunTest, DoubleClickOnARomStartsTheEmulator) {
    HWND main = StartLumarel();
    ASSERT_NE(main, nullptr) << "no main window within 30 s";
    HWND romList = GetDlgItem(main, File1);
    const LPARAM firstLine = MAKELPARAM(5, 5);
    PostMessageW(romList, WM_LBUTTONDOWN, MK_LBUTTON, firstLine);
    PostMessageW(romList, WM_LBUTTONUP, 0, firstLine);
    PostMessageW(romList, WM_LBUTTONDBLCLK, MK_LBUTTON, firstLine);
    PostMessageW(romList, WM_LBUTTONUP, 0, firstLine);

    const std::wstring received = emulatorDir + L"\\received.txt";
    ASSERT_TRUE(WaitUntil([&] { return !ReadBytes(received).empty(); }, 20s))
        << "the stand-in emulator recorded nothing within 20 s of the double-click";
    EXPECT_EQ(ReadBytes(received),
              Ascii(ShortForm(emulator) + L" " + ShortForm(rom) + L" -ns -j ") + "\r\n");
}

TEST_F(RunTest, EmulatorChosenInTheLocationWindowIsTheOneStarted) {
    std::ofstream(std::filesystem::path(app + L"\\Lumarel.ini"), std::ios::binary) << "";
    // Started in the emulator's directory, where the location window opens.
    HWND main = StartLumarel(emulatorDir);
    ASSERT_NE(main, nullptr) << "no main window within 30 s";
    PostMessageW(main, WM_COMMAND, static_cast<WPARAM>(MenuItem::locations), 0);
    HWND location = FindTopLevel(lumarel.Id(), L"Location of Snes9x", 20s);
    ASSERT_NE(location, nullptr) << "no location window within 20 s";
    EXPECT_FALSE(IsWindowEnabled(main)) << "the main window takes input while it is open";
    HWND emulators = GetDlgItem(location, File2);
    ASSERT_EQ(SendMessageW(emulators, LB_GETCOUNT, 0, 0), 1);
    PostMessageW(GetDlgItem(location, Close_Button), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(location); }, 10s)) << "Close left it open";
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }, 5s));

    SendMessageW(GetDlgItem(main, File1), LB_SETCURSEL, 0, 0);
    PostMessageW(GetDlgItem(main, Go_Button), BM_CLICK, 0, 0);
    const std::wstring received = emulatorDir + L"\\received.txt";
    ASSERT_TRUE(WaitUntil([&] { return !ReadBytes(received).empty(); }, 20s))
        << "the stand-in emulator recorded nothing within 20 s";
    EXPECT_EQ(ReadBytes(received).substr(0, ShortForm(emulator).size()),
              Ascii(ShortForm(emulator)));
}

}  // namespace
}  // namespace lumarel
