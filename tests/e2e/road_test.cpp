// The user's whole road with the real lumarel.exe, window by window, as a person would go.

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/e2e/world.h"
#include "ui/cheats/cheat_window.h"
#include "ui/help/help_windows.h"
#include "ui/main/main_layout.h"
#include "ui/main/main_menu.h"

namespace lumarel {
namespace {

using namespace e2e;

class RoadTest : public World {
protected:
    HWND Item(int id) { return GetDlgItem(main, id); }
    bool Selected(int id) { return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    int ListIndex(int id) { return static_cast<int>(SendMessageW(Item(id), CB_GETCURSEL, 0, 0)); }
    // The directory list line with this text, opened with Enter; done once the list shows
    // the directory's own lines (the window answers while it lists).
    void OpenDirectory(const std::wstring& line) {
        HWND dirs = Item(Dir1);
        const std::vector<std::wstring> before = ListBoxLines(dirs);
        const auto found = std::find(before.begin(), before.end(), line);
        if (found == before.end()) {
            std::string lines;
            for (const std::wstring& text : before) {
                lines += " [" + Ascii(text) + "]";
            }
            FAIL() << "no directory line " << Ascii(line) << " among" << lines;
        }
        SendMessageW(dirs, LB_SETCURSEL, static_cast<WPARAM>(found - before.begin()), 0);
        PostKey(dirs, VK_RETURN);
        ASSERT_TRUE(
            WaitUntil([&] { return ListBoxLines(dirs) != before && LineSelected(line); }, 10s))
            << Ascii(line);
    }
    bool LineSelected(const std::wstring& line) {
        HWND dirs = Item(Dir1);
        const int selected = static_cast<int>(SendMessageW(dirs, LB_GETCURSEL, 0, 0));
        wchar_t text[MAX_PATH] = L"";
        SendMessageW(dirs, LB_GETTEXT, selected, reinterpret_cast<LPARAM>(text));
        // The directory list selects the directory it shows.
        return line == text;
    }
    std::string Received() { return ReadBytes(emulatorDir + L"\\received.txt"); }
    void WaitForStart() {
        ASSERT_TRUE(WaitUntil([&] { return !Received().empty(); }, 20s))
            << "the stand-in emulator recorded nothing within 20 s; on the screen: "
            << Ascii(MessageBoxText(FindMessageBox(lumarel.Id(), 1s)));
    }
    HWND main = nullptr;
};

TEST_F(RoadTest, FirstStartWithoutSettingsCreatesAnEmptyFileAndSelectsTheDefaults) {
    DeleteFileW((app + L"\\Lumarel.ini").c_str());
    main = StartLumarel();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(ReadBytes(app + L"\\Lumarel.ini"), "");
    EXPECT_NE(GetFileAttributesW((app + L"\\Lumarel.ini").c_str()), INVALID_FILE_ATTRIBUTES);
    for (int id : {Sound_Off, Sound_Mono, JoyStick_off, SuperFX_off, DontRom}) {
        EXPECT_TRUE(Selected(id)) << id;
    }
    for (int id : {Sound_on, Sound_Stereo, Joystick_on, SuperFX_on, HiRom, LoRom}) {
        EXPECT_FALSE(Selected(id)) << id;
    }
    for (int id : {Sound_Rate, Joy_Stick_Type, Screen_Resolution, Frame_Rate}) {
        EXPECT_EQ(ListIndex(id), 0) << id;
    }
    // The ROM list shows the executable's directory.
    EXPECT_EQ(RemoteListView(Item(File1)).Count(), 1);
    EXPECT_EQ(TextOf(Item(numberofroms)), L"1");
}

TEST_F(RoadTest, FromOptionsAndCodesToTheEmulatorStart) {
    const std::wstring romDir = root + L"\\My Roms";
    ASSERT_TRUE(CreateDirectoryW(romDir.c_str(), nullptr));
    const std::wstring game = romDir + L"\\super game.sfc";
    std::ofstream(std::filesystem::path(game), std::ios::binary) << std::string(2097152, 'g');
    main = StartLumarel();
    ASSERT_NE(main, nullptr);

    // Another drive and back, then up one directory and into the one with blanks.
    HWND drives = Item(Drive1);
    PostMessageW(drives, WM_CHAR, L'z', 1);  // z:, Wine's view of /
    ASSERT_TRUE(WaitUntil([&] { return LineSelected(L"Z:\\"); }, 10s));
    PostMessageW(drives, WM_CHAR, L'c', 1);
    ASSERT_TRUE(WaitUntil([&] { return LineSelected(L"My Games"); }, 10s));
    OpenDirectory(std::filesystem::path(root).filename().wstring());
    OpenDirectory(L"My Roms");
    ASSERT_TRUE(WaitUntil([&] { return TextOf(Item(numberofroms)) == L"1"; }, 10s));
    RemoteListView(Item(File1)).Select(0);

    for (int id : {Sound_on, Sound_Stereo, Joystick_on, cOlOr16}) {
        PostMessageW(Item(id), BM_CLICK, 0, 0);
    }
    SendMessageW(Item(Joy_Stick_Type), CB_SETCURSEL, 2, 0);      // 6 Button
    SendMessageW(Item(Screen_Resolution), CB_SETCURSEL, 10, 0);  // 320x240 16-bit

    ASSERT_TRUE(Choose(main, MenuItem::game_genie));
    HWND cheats = FindTopLevel(lumarel.Id(), L"Game Genie Codes", 10s);
    ASSERT_NE(cheats, nullptr);
    SendMessageW(GetDlgItem(cheats, code1), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"abcd1234"));
    SendMessageW(GetDlgItem(cheats, code2), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"abc1234"));
    PostKey(GetDlgItem(cheats, code1), VK_TAB);  // leaving code1 tidies it
    ASSERT_TRUE(WaitUntil([&] { return TextOf(GetDlgItem(cheats, code1)) == L"ABCD-1234"; }, 10s));
    PostMessageW(GetDlgItem(cheats, Closer), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(cheats); }, 10s));

    PostMessageW(Item(Go_Button), BM_CLICK, 0, 0);
    const std::string line =
        Ascii(ShortForm(emulator) + L" " + ShortForm(game) + L" -st -16 -m 9 -6 -gg ABCD-1234 ");
    if (line.size() > 127) {  // the temporary directory's name can make it that long
        AnswerMessageBox();
    }
    WaitForStart();
    EXPECT_EQ(Received(), line + "\r\n");
    const std::string record = ReadBytes(L"c:\\qzdebug.out");
    ASSERT_GE(record.size(), line.size() + 2);
    EXPECT_EQ(record.substr(record.size() - line.size() - 2), line + "\r\n");
}

TEST_F(RoadTest, LongLineWarnsAndStillStartsWhole) {
    main = StartLumarel();
    ASSERT_NE(main, nullptr);
    const std::wstring extra(160, L'x');
    SendMessageW(Item(Extra), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(extra.c_str()));
    RemoteListView(Item(File1)).Select(0);
    PostMessageW(Item(Go_Button), BM_CLICK, 0, 0);
    const std::wstring line = ShortForm(emulator) + L" " + ShortForm(rom) + L" -ns -j " + extra;
    EXPECT_EQ(AnswerMessageBox(),
              L"Commandline is too long! It will be truncated at:\n" + line.substr(0, 127));
    WaitForStart();
    EXPECT_EQ(Received(), Ascii(line) + "\r\n");
}

TEST_F(RoadTest, MissingEmulatorThenMissingRomAreNamed) {
    std::ofstream(std::filesystem::path(app + L"\\Lumarel.ini"), std::ios::binary) << "";
    main = StartLumarel();
    ASSERT_NE(main, nullptr);
    PostMessageW(Item(Go_Button), BM_CLICK, 0, 0);
    std::wstring title;
    EXPECT_EQ(AnswerMessageBox(&title), L"Please Location Snes9x.exe!");
    EXPECT_EQ(title, L"Human Error!");
    lumarel.Kill();

    std::ofstream(std::filesystem::path(app + L"\\Lumarel.ini"), std::ios::binary)
        << "Location of Snes9x: " << Ascii(emulator) << "\r\n";
    main = StartLumarel();
    ASSERT_NE(main, nullptr);
    PostMessageW(Item(Go_Button), BM_CLICK, 0, 0);
    EXPECT_EQ(AnswerMessageBox(), L"Please select a ROM!");
    EXPECT_EQ(Received(), "");
}

TEST_F(RoadTest, SaveExitAndRestartBringBackTheOptionsNotExtraOrCodes) {
    main = StartLumarel();
    ASSERT_NE(main, nullptr);
    for (int id : {Sound_on, LoRom, tv}) {
        PostMessageW(Item(id), BM_CLICK, 0, 0);
    }
    SendMessageW(Item(Frame_Rate), CB_SETCURSEL, 5, 0);
    SendMessageW(Item(Extra), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"-extra"));
    ASSERT_TRUE(WaitUntil([&] { return Selected(LoRom); }, 5s));
    ASSERT_TRUE(Choose(main, MenuItem::save));
    ASSERT_TRUE(Choose(main, MenuItem::exit));
    DWORD exitCode = 1;
    ASSERT_TRUE(lumarel.WaitForExit(10s, &exitCode)) << "Exit did not end Lumarel";
    EXPECT_EQ(exitCode, 0u);
    const std::string saved = ReadBytes(app + L"\\Lumarel.ini");
    EXPECT_NE(saved.find("Rom Forcing: LoRom\r\n"), std::string::npos);

    main = StartLumarel();
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(Selected(Sound_on) && Selected(LoRom));
    EXPECT_EQ(SendMessageW(Item(tv), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(ListIndex(Frame_Rate), 5);
    EXPECT_EQ(TextOf(Item(Extra)), L"");

    // Exit with unsaved changes leaves the file as it was.
    PostMessageW(Item(HiRom), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return Selected(HiRom); }, 5s));
    ASSERT_TRUE(Choose(main, MenuItem::exit));
    ASSERT_TRUE(lumarel.WaitForExit(10s));
    EXPECT_EQ(ReadBytes(app + L"\\Lumarel.ini"), saved);
}

TEST_F(RoadTest, ReadmeOpensTheEditorAndHelpWindowsCloseFromTheKeyboard) {
    std::ofstream(std::filesystem::path(emulatorDir + L"\\readme.txt"), std::ios::binary)
        << "The emulator's own readme.\r\n";
    main = StartLumarel();
    ASSERT_NE(main, nullptr);

    ASSERT_TRUE(Choose(main, MenuItem::mnuReadme));
    HWND editor = FindTopLevelContaining(L"readme", 20s);
    ASSERT_NE(editor, nullptr) << "no text editor on readme.txt within 20 s";
    PostMessageW(editor, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(editor); }, 10s)) << "the editor stayed open";
    SetForegroundWindow(main);  // back to Lumarel, as a user clicking on it

    ASSERT_TRUE(Choose(main, MenuItem::KeyBoard));
    HWND keyboard = FindTopLevel(lumarel.Id(), L"Snes9x Keyboard Reference", 10s);
    ASSERT_NE(keyboard, nullptr);
    ASSERT_TRUE(WaitUntil(
        [&] { return FocusedControl(keyboard) == GetDlgItem(keyboard, KeyBoard_Txt); }, 5s));
    PostKey(GetDlgItem(keyboard, KeyBoard_Txt), VK_TAB);
    ASSERT_TRUE(
        WaitUntil([&] { return FocusedControl(keyboard) == GetDlgItem(keyboard, btnClose); }, 5s));
    PressKey(keyboard, VK_SPACE);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(keyboard); }, 10s))
        << "Space on Close left it open";

    for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
        ASSERT_TRUE(Choose(main, MenuItem::About));
        HWND about = FindTopLevel(lumarel.Id(), L"About Lumarel", 10s);
        ASSERT_NE(about, nullptr);
        ASSERT_TRUE(
            WaitUntil([&] { return FocusedControl(about) == GetDlgItem(about, cmdAbout); }, 5s));
        PostKey(GetDlgItem(about, cmdAbout), key);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }, 10s)) << "key " << key;
    }
}

}  // namespace
}  // namespace lumarel
