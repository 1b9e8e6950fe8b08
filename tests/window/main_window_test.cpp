#include "ui/main/main_window.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "tests/window/main_window_fixture.h"
#include "ui/help/help_windows.h"

namespace lumarel {
namespace {

using namespace lumarel::testing;

// The width and height of an icon's or cursor's colour image, or of a bitmap.
using Size = std::pair<LONG, LONG>;
Size ImageSize(HANDLE image, bool isBitmap) {
    BITMAP bitmap{};
    if (isBitmap) {
        GetObjectW(image, sizeof(bitmap), &bitmap);
        return {bitmap.bmWidth, bitmap.bmHeight};
    }
    ICONINFO parts{};
    if (image == nullptr || !GetIconInfo(static_cast<HICON>(image), &parts)) {
        return {};
    }
    GetObjectW(parts.hbmColor, sizeof(bitmap), &bitmap);
    DeleteObject(parts.hbmColor);
    DeleteObject(parts.hbmMask);
    return {bitmap.bmWidth, bitmap.bmHeight};
}

// The window's reaction to being moved to a monitor of another dpi.
void ChangeDpi(HWND window, UINT dpi) {
    RECT suggested{};
    GetWindowRect(window, &suggested);
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

TEST_F(MainWindowTest, WindowCaptionAndClientAreaInTwips) {
    EXPECT_EQ(WindowText(window->Hwnd()), L"Lumarel v1.5");
    RECT client{};
    GetClientRect(window->Hwnd(), &client);
    const UINT dpi = GetDeviceCaps(GetDC(nullptr), LOGPIXELSY);
    EXPECT_EQ(client.right, MulDiv(6975, dpi, 1440));
    EXPECT_EQ(client.bottom, MulDiv(6525, dpi, 1440));
}

TEST_F(MainWindowTest, OptionControlsShowTheirCaptionsAndHoverTexts) {
    struct Expected {
        int id;
        const wchar_t* caption;
        const wchar_t* tooltip;
        const wchar_t* className;
    };
    const Expected expected[] = {
        {Sound_on, L"On", L"Sound On", WC_BUTTONW},
        {Sound_Off, L"Off", L"Sound Off", WC_BUTTONW},
        {Sound_Stereo, L"Stereo", L"Stereo Sound", WC_BUTTONW},
        {Sound_Mono, L"Mono", L"Mono Sound", WC_BUTTONW},
        {Sound_Rate, nullptr, L"Pick a sound rate", WC_COMBOBOXW},
        {Joystick_on, L"On", L"Joystick On", WC_BUTTONW},
        {JoyStick_off, L"Off", L"Joystick Off", WC_BUTTONW},
        {Joy_Stick_Type, nullptr, L"Pick a joystick type", WC_COMBOBOXW},
        {Screen_Resolution, nullptr, L"Pick a screen resolution", WC_COMBOBOXW},
        {Frame_Rate, nullptr, L"Pick a frame rate", WC_COMBOBOXW},
        {SuperFX_on, L"On", L"-i2 option On", WC_BUTTONW},
        {SuperFX_off, L"Off", L"-i2 option Off", WC_BUTTONW},
        {HiRom, L"Hi Rom", L"Hi-Rom format", WC_BUTTONW},
        {LoRom, L"Lo Rom", L"Lo Rom format", WC_BUTTONW},
        {DontRom, L"Don't Force", L"Don't force the rom format", WC_BUTTONW},
        {cOlOr16, L"16 Bit Colour", L"16-bit Colour", WC_BUTTONW},
        {ScaleImg, L"Scale Image to Screen", L"Scale image to current screen resolution",
         WC_BUTTONW},
        {Trans, L"Transparent Effects", L"Turn on transparent effects", WC_BUTTONW},
        {tv, L"TV Support", L"", WC_BUTTONW},
        {Extra, L"", L"Enter extra parameters", WC_EDITW},
        {Go_Button, L"Run the Emulator", L"Run the Emulator", WC_BUTTONW},  // not drawn: the name
        {Label4, L"Click to Run!", L"", WC_STATICW},
        {Screen_Res_Frame, L"Screen Resolution", L"", WC_BUTTONW},
        {Frame_Rate_Frame, L"Frame Rate", L"", WC_BUTTONW},
        {Sound_Frame, L"Sound On/Off", L"", WC_BUTTONW},
        {Stereo_Mono_Frame, L"Sound Stereo/Mono", L"", WC_BUTTONW},
        {Sound_Rate_Frame, L"Sound Rate", L"", WC_BUTTONW},
        {Frame1, L"JoyStick Type", L"", WC_BUTTONW},
        {JoyStick_onoff, L"JoyStick On/Off", L"", WC_BUTTONW},
        {Frame2, L"Other Graphic Options", L"", WC_BUTTONW},
        {SuperFX_Frame, L"SuperFX On/Off", L"", WC_BUTTONW},
        {Frame3, L"Rom Settings", L"", WC_BUTTONW},
        {Frame4, L"Extra Command Line Parameters", L"", WC_BUTTONW},
    };
    for (const Expected& e : expected) {
        HWND control = Control(e.id);
        ASSERT_NE(control, nullptr) << e.id;
        if (e.caption != nullptr) {  // a drop-down list's text is its selected item
            EXPECT_EQ(WindowText(control), e.caption) << e.id;
        }
        EXPECT_EQ(TooltipOf(window->Controls().Tooltips(), window->Hwnd(), control), e.tooltip)
            << e.caption;
        EXPECT_EQ(_wcsicmp(ClassOf(control).c_str(), e.className), 0) << e.caption;
    }
}

TEST_F(MainWindowTest, DropDownListsHoldTheirItemsInOrderAndAcceptNoTyping) {
    struct Expected {
        int id;
        std::vector<std::wstring> items;
    };
    const Expected expected[] = {
        {Sound_Rate,
         {L"Default", L"8192 Hz", L"11025 Hz", L"16500 Hz", L"22050 Hz", L"29300 Hz", L"36600 Hz",
          L"44000 Hz"}},
        {Joy_Stick_Type, {L"Auto Detect", L"4 Button", L"6 Button", L"8 Button"}},
        {Screen_Resolution,
         {L"Default", L"320x240, ModeX 8-bit, slow", L"320x200 8-bit, faster but clips",
          L"256x256 8-bit", L"640x480 8-bit, auto-detect 1", L"640x480 8-bit, auto-detect 2",
          L"640x480 8-bit, auto-detect 3", L"640x480 8-bit, auto-detect 4", L"640x400 8-bit",
          L"800x600 8-bit", L"320x240 16-bit", L"640x480 16-bit", L"640x400 16-bit",
          L"800x600 16-bit"}},
        {Frame_Rate, {L"Auto", L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8", L"9"}},
    };
    for (const Expected& e : expected) {
        HWND list = Control(e.id);
        std::vector<std::wstring> items;
        const int count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            items.push_back(ListItemText(list, i));
        }
        EXPECT_EQ(items, e.items);
        EXPECT_EQ(GetWindowLongW(list, GWL_STYLE) & 3, CBS_DROPDOWNLIST);
        EXPECT_EQ(FindWindowExW(list, nullptr, WC_EDITW, nullptr), nullptr);
    }
}

TEST_F(MainWindowTest, FirstStartWithoutSettingsShowsTheDefaults) {
    const LaunchOptions options = window->TakeLaunchOptions();
    EXPECT_TRUE(options.Sound_Off && options.Sound_Mono && options.JoyStick_off &&
                options.SuperFX_off && options.DontRom);
    EXPECT_FALSE(options.Sound_on || options.Sound_Stereo || options.Joystick_on ||
                 options.SuperFX_on || options.HiRom || options.LoRom);
    EXPECT_EQ(options.Sound_Rate.text, L"Default");
    EXPECT_EQ(options.Joy_Stick_Type.text, L"Auto Detect");
    EXPECT_EQ(options.Screen_Resolution.text, L"Default");
    EXPECT_EQ(options.Frame_Rate.text, L"Auto");
    for (std::int16_t state : {options.cOlOr16, options.ScaleImg, options.Trans, options.tv}) {
        EXPECT_EQ(state, Unchecked);
    }
    EXPECT_EQ(options.Extra, L"");
    EXPECT_EQ(fake.textFiles.contents.at(L"C:\\ROMS\\Lumarel.ini"), L"");
    EXPECT_EQ(window->PanelText(1), L"Location of Snes9x: ");
    EXPECT_EQ(window->PanelText(2), L"Rom Size: ");
    EXPECT_EQ(shared.EmulatorPath, L"");
}

TEST_F(MainWindowTest, EachFrameIsOneGroupOfOptionButtons) {
    Click(Sound_on);
    Click(Joystick_on);
    Click(SuperFX_on);
    Click(HiRom);
    EXPECT_TRUE(IsChecked(Sound_on) && IsChecked(Joystick_on) && IsChecked(SuperFX_on) &&
                IsChecked(HiRom));

    Click(LoRom);
    EXPECT_TRUE(IsChecked(LoRom));
    EXPECT_FALSE(IsChecked(HiRom));
    Click(DontRom);
    EXPECT_FALSE(IsChecked(LoRom));

    // Three "Off" buttons with the same caption, each in its own frame.
    Click(Sound_Off);
    EXPECT_FALSE(IsChecked(Sound_on));
    EXPECT_TRUE(IsChecked(Joystick_on) && IsChecked(SuperFX_on));
}

TEST_F(MainWindowTest, SettingOptionsReadsBackAndGreyedCountsAsOn) {
    window->SelectOption(OptionControl::Sound_Stereo);
    window->SelectOption(OptionControl::Sound_Mono);
    window->SelectOption(OptionControl::HiRom);
    window->SetCheckState(OptionControl::Trans, Greyed);
    window->SetListIndex(OptionControl::Screen_Resolution, 11);
    window->SetListIndex(OptionControl::Frame_Rate, 9);
    const LaunchOptions options = window->TakeLaunchOptions();
    EXPECT_FALSE(options.Sound_Stereo);
    EXPECT_TRUE(options.Sound_Mono);
    EXPECT_TRUE(options.HiRom);
    EXPECT_EQ(options.Trans, Greyed);
    EXPECT_EQ(SendMessageW(Control(Trans), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
    EXPECT_EQ(options.Screen_Resolution.index, 11);
    EXPECT_EQ(options.Screen_Resolution.text, L"640x480 16-bit");
    EXPECT_EQ(options.Frame_Rate.text, L"9");
}

TEST_F(MainWindowTest, CheckBoxClicksSwitchBetweenUncheckedAndChecked) {
    Click(tv);
    EXPECT_EQ(window->TakeLaunchOptions().tv, Checked);
    Click(tv);
    EXPECT_EQ(window->TakeLaunchOptions().tv, Unchecked);
    window->SetCheckState(OptionControl::tv, Greyed);
    Click(tv);
    EXPECT_EQ(window->TakeLaunchOptions().tv, Unchecked);
}

TEST_F(MainWindowTest, KeyboardOrderFollowsTheRunButton) {
    // Creation order is the keyboard order of every focusable control.
    const std::vector<int> order = {
        Go_Button,   Screen_Resolution, Sound_on,    Sound_Off,    Sound_Stereo,
        Sound_Mono,  Sound_Rate,        Drive1,      Dir1,         File1,
        Frame_Rate,  Joy_Stick_Type,    Joystick_on, JoyStick_off, SuperFX_on,
        SuperFX_off, ScaleImg,          Trans,       HiRom,        LoRom,
        DontRom,     cOlOr16,           Extra,       tv,
    };
    std::vector<int> created;
    for (HWND child = Control(Go_Button); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        created.push_back(GetDlgCtrlID(child));
    }
    EXPECT_EQ(created, order);

    // Tab visits each option group at its selected button, as in any Windows dialog.
    const std::vector<int> tabbing = {
        Go_Button, Screen_Resolution, Sound_Off,      Sound_Mono,   Sound_Rate,  Drive1,   Dir1,
        File1,     Frame_Rate,        Joy_Stick_Type, JoyStick_off, SuperFX_off, ScaleImg, Trans,
        DontRom,   cOlOr16,           Extra,          tv,
    };
    std::vector<int> seen;
    HWND control = Control(Go_Button);
    for (size_t i = 0; i < tabbing.size(); ++i) {
        seen.push_back(GetDlgCtrlID(control));
        control = GetNextDlgTabItem(window->Hwnd(), control, FALSE);
    }
    EXPECT_EQ(seen, tabbing);
    EXPECT_EQ(control, Control(Go_Button));

    // An arrow key moves within the group and selects, and Tab then lands on the new choice.
    ShowWindow(window->Hwnd(), SW_SHOW);
    SetForegroundWindow(window->Hwnd());
    SetFocus(Control(Sound_Off));
    MSG arrow{Control(Sound_Off), WM_KEYDOWN, VK_UP, 0};
    IsDialogMessageW(window->Hwnd(), &arrow);
    DrainMessages();
    EXPECT_EQ(GetFocus(), Control(Sound_on));
    EXPECT_EQ(SendMessageW(Control(Sound_on), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(Control(Sound_Off), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(GetNextDlgTabItem(window->Hwnd(), Control(Screen_Resolution), FALSE),
              Control(Sound_on));
}

TEST_F(MainWindowTest, PicturesAndPointerAreTheOnesDrawnForTheDpi) {
    AboutWindow about(GetModuleHandleW(nullptr), fake.Services());
    ASSERT_TRUE(about.Create(window->Hwnd()));
    HWND button = Control(Go_Button);
    struct Case {
        UINT dpi;
        Size run, about;
        LONG pointer;
    };
    // Between two drawn scales, the smaller: a picture never outgrows its control.
    const Case cases[] = {
        {192, {202, 148}, {204, 248}, 64}, {144, {152, 111}, {153, 186}, 48},
        {120, {101, 74}, {102, 124}, 32},  {288, {202, 148}, {204, 248}, 64},
        {168, {152, 111}, {153, 186}, 48}, {96, {101, 74}, {102, 124}, 32},
    };
    for (const Case& c : cases) {
        ChangeDpi(window->Hwnd(), c.dpi);
        ChangeDpi(about.Hwnd(), c.dpi);
        EXPECT_EQ(
            ImageSize(reinterpret_cast<HANDLE>(SendMessageW(button, BM_GETIMAGE, IMAGE_ICON, 0)),
                      false),
            c.run)
            << c.dpi;
        EXPECT_EQ(ImageSize(reinterpret_cast<HANDLE>(SendMessageW(about.Control(Picture1),
                                                                  STM_GETIMAGE, IMAGE_BITMAP, 0)),
                            true),
                  c.about)
            << c.dpi;
        SendMessageW(button, WM_SETCURSOR, reinterpret_cast<WPARAM>(button),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(ImageSize(GetCursor(), false), Size(c.pointer, c.pointer)) << c.dpi;
    }
}

TEST_F(MainWindowTest, RunButtonIsDrawnAnewWhenTheSystemsColoursOrThemeChange) {
    ShowWindow(window->Hwnd(), SW_SHOWNOACTIVATE);
    for (UINT message : {WM_SYSCOLORCHANGE, WM_THEMECHANGED}) {
        DrainMessages();
        ASSERT_FALSE(GetUpdateRect(Control(Go_Button), nullptr, FALSE));
        SendMessageW(window->Hwnd(), message, 0, 0);
        EXPECT_TRUE(GetUpdateRect(Control(Go_Button), nullptr, FALSE)) << message;
    }
}

TEST_F(MainWindowTest, RunButtonHasFocusWhenTheWindowOpens) {
    ShowWindow(window->Hwnd(), SW_SHOW);
    SetForegroundWindow(window->Hwnd());
    DrainMessages();
    EXPECT_EQ(GetFocus(), Control(Go_Button));
}

TEST_F(MainWindowTest, RomListShowsTheStartDirectorysRoms) {
    EXPECT_EQ(window->RomList().Directory(), L"C:\\ROMS");
    EXPECT_EQ(ListViewTexts(Control(File1)), (std::vector<std::wstring>{L"a.sfc", L"b.smc"}));
    EXPECT_EQ(window->RomList().Entry(0), L"a.sfc");
    EXPECT_EQ(window->RomList().SelectedIndex(), -1);
}

TEST_F(MainWindowTest, RunButtonStartsTheEmulatorWithTheCaptionMarkedMeanwhile) {
    shared.EmulatorPath = L"C:\\EMU\\SNES9X.EXE";
    shared.cheatCodes[1] = L"ABCD-1234";
    window->SelectOption(OptionControl::Sound_on);
    window->SelectOption(OptionControl::Joystick_on);
    window->SetListIndex(OptionControl::Joy_Stick_Type, 3);
    SetWindowTextW(Control(Extra), L"-v");
    window->RomList().SetSelectedIndex(1);
    std::wstring captionDuringStart;
    fake.processes.onStart = [&](const std::wstring&) {
        captionDuringStart = WindowText(window->Hwnd());
    };

    Click(Go_Button);

    const std::wstring line = L"C:\\EMU\\SNES9X.EXE C:\\ROMS\\b.smc -8 -gg ABCD-1234 -v";
    ASSERT_EQ(fake.processes.started.size(), 1u);
    EXPECT_EQ(fake.processes.started[0].commandLine, line);
    EXPECT_EQ(fake.textFiles.files[L"c:\\qzdebug.out"], std::vector<std::wstring>{line});
    EXPECT_EQ(captionDuringStart, L"Lumarel v1.5 - [Running]");
    EXPECT_EQ(WindowText(window->Hwnd()), L"Lumarel v1.5");
}

TEST_F(MainWindowTest, RunButtonChecksTheEmulatorBeforeTheRom) {
    Click(Go_Button);
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, L"Please Location Snes9x.exe!");
    shared.EmulatorPath = L"C:\\EMU\\SNES9X.EXE";
    Click(Go_Button);
    ASSERT_EQ(fake.messages.shown.size(), 2u);
    EXPECT_EQ(fake.messages.shown[1].text, L"Please select a ROM!");
    EXPECT_TRUE(fake.textFiles.files.empty());
    EXPECT_TRUE(fake.processes.started.empty());
    EXPECT_EQ(WindowText(window->Hwnd()), L"Lumarel v1.5");
}

TEST_F(MainWindowTest, DoubleClickRunsOnlyWithASelectedRom) {
    shared.EmulatorPath = L"C:\\EMU\\SNES9X.EXE";
    window->File1_DblClick();
    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_TRUE(fake.processes.started.empty());

    window->RomList().SetSelectedIndex(0);
    const POINT line = ListViewLinePoint(Control(File1), 0);
    SendMessageW(Control(File1), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(line.x, line.y));
    ASSERT_EQ(fake.processes.started.size(), 1u);
    EXPECT_EQ(fake.processes.started[0].commandLine.substr(0, 32),
              L"C:\\EMU\\SNES9X.EXE C:\\ROMS\\a.sfc ");
}

}  // namespace
}  // namespace lumarel
