// The main window's start-up, settings and menu bar.

#include <gtest/gtest.h>

#include <cwchar>
#include <cwctype>
#include <span>

#include "settings/settings_format.h"
#include "tests/e2e/robot.h"
#include "tests/window/main_window_fixture.h"

namespace lumarel {
namespace {

using namespace lumarel::testing;

const std::wstring kSettings = L"C:\\ROMS\\Lumarel.ini";

class MainStartupTest : public MainWindowTest {
protected:
    void Choose(MenuItem item) {
        const std::wstring keys = AccessKeysOf(item, MainMenuBar());
        ASSERT_FALSE(keys.empty()) << "no access keys lead to item " << static_cast<int>(item);
        // The menu runs its own loop in this thread: the item's key goes in once it shows, and
        // a menu that never shows is closed after 10 s.
        robot::PostAltKey(window->Hwnd(), keys[0]);
        itemKeys = keys.substr(1);
        menuOwner = window->Hwnd();
        menuDeadline = GetTickCount64() + 10000;
        if (!itemKeys.empty()) {
            SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR timer, DWORD) {
                if (robot::MenuShows(menuOwner)) {
                    PostMessageW(menuOwner, WM_CHAR, itemKeys[0], 1);
                    itemKeys.erase(0, 1);
                } else if (GetTickCount64() > menuDeadline) {
                    EndMenu();
                    KillTimer(nullptr, timer);
                }
                if (itemKeys.empty()) {
                    KillTimer(nullptr, timer);
                }
            });
        }
        DrainMessages();
        ASSERT_TRUE(itemKeys.empty()) << "the menu did not show within 10 s";
    }
    static inline std::wstring itemKeys;
    static inline ULONGLONG menuDeadline = 0;
    static inline HWND menuOwner = nullptr;
    // The access keys of the menus on the way to an item, and of the item.
    static std::wstring AccessKeysOf(MenuItem item, std::span<const MenuDesign> menu) {
        for (const MenuDesign& entry : menu) {
            const wchar_t* marked = std::wcschr(entry.caption, L'&');
            const std::wstring rest =
                entry.items.empty() ? std::wstring() : AccessKeysOf(item, entry.items);
            if (marked != nullptr &&
                (entry.items.empty() ? entry.command == item : !rest.empty())) {
                return static_cast<wchar_t>(std::towlower(marked[1])) + rest;
            }
        }
        return {};
    }
    RECT Outer() {
        RECT rect{};
        GetWindowRect(window->Hwnd(), &rect);
        return rect;
    }
};

std::wstring MenuText(HMENU menu, int position) {
    wchar_t text[128] = L"";
    GetMenuStringW(menu, static_cast<UINT>(position), text, 128, MF_BYPOSITION);
    return text;
}

TEST_F(MainStartupTest, SavedSettingsAreBackAfterStartUp) {
    fake.textFiles.contents[kSettings] =
        L"Location of Snes9x: C:\\My Emulators\\snes9x.exe\r\nSound: True\r\nFrame Rate: 4\r\n"
        L"Rom Forcing: HiRom\r\nTV Mode: 2\r\n";
    Open();
    EXPECT_EQ(window->PanelText(1), L"Location of Snes9x: C:\\My Emulators\\snes9x.exe");
    EXPECT_EQ(shared.EmulatorPath, L"C:\\My Emulators\\snes9x.exe");
    const LaunchOptions options = window->TakeLaunchOptions();
    EXPECT_TRUE(options.Sound_on && options.HiRom && options.Sound_Mono);
    EXPECT_EQ(options.Frame_Rate.text, L"4");
    EXPECT_EQ(options.tv, Greyed);
}

TEST_F(MainStartupTest, SaveAndRestartRestoreEveryOptionButExtraAndCodes) {
    shared.EmulatorPath = L"D:\\snes9x.exe";
    Click(Sound_on);
    Click(Sound_Stereo);
    Click(Joystick_on);
    Click(LoRom);
    Click(cOlOr16);
    window->SetListIndex(OptionControl::Screen_Resolution, 12);
    SetWindowTextW(Control(Extra), L"-extra");
    shared.cheatCodes[0] = L"ABCD-1234";
    const std::wstring before = SettingsText(shared.EmulatorPath, window->TakeLaunchOptions());
    Choose(MenuItem::save);
    EXPECT_EQ(fake.textFiles.contents[kSettings], before);

    shared = SharedValues{};
    Open();
    EXPECT_EQ(shared.EmulatorPath, L"D:\\snes9x.exe");
    EXPECT_EQ(SettingsText(shared.EmulatorPath, window->TakeLaunchOptions()), before);
    EXPECT_EQ(window->TakeLaunchOptions().Extra, L"");
    EXPECT_EQ(shared.cheatCodes[0], L"");
}

TEST_F(MainStartupTest, SaveWithoutLocationLeavesTheFileAsItWas) {
    fake.textFiles.contents[kSettings] = L"Sound: True\r\nhand-written note\r\n";
    Open();
    Choose(MenuItem::save);
    EXPECT_EQ(fake.textFiles.contents[kSettings], L"Sound: True\r\nhand-written note\r\n");
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, L"Please select the location of Snes9x!");
}

TEST_F(MainStartupTest, ExitEndsAtOnceWithoutSaving) {
    shared.EmulatorPath = L"C:\\EMU\\snes9x.exe";
    Click(Sound_on);
    Choose(MenuItem::exit);
    EXPECT_EQ(fake.session.exits, 1);
    EXPECT_EQ(fake.textFiles.contents[kSettings], L"");
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(MainStartupTest, MenuBarHasItsEntriesAndAccessKeys) {
    HMENU bar = GetMenu(window->Hwnd());
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 3);
    EXPECT_EQ(MenuText(bar, 0), L"E&xit");
    EXPECT_EQ(GetSubMenu(bar, 0), nullptr);  // a command on the bar itself
    EXPECT_EQ(GetMenuItemID(bar, 0), static_cast<UINT>(MenuItem::exit));
    EXPECT_EQ(MenuText(bar, 1), L"&Options");
    EXPECT_EQ(MenuText(bar, 2), L"&Help");

    struct Expected {
        int position;
        std::vector<std::wstring> captions;
        std::vector<MenuItem> commands;
    };
    const Expected submenus[] = {
        {1,
         {L"File &Locations", L"&Game Genie Codes", L"Sa&ve Settings"},
         {MenuItem::locations, MenuItem::game_genie, MenuItem::save}},
        {2,
         {L"Snes9x &Keyboard Reference", L"&Complete Snes9x Readme", L"&About..."},
         {MenuItem::KeyBoard, MenuItem::mnuReadme, MenuItem::About}},
    };
    for (const Expected& e : submenus) {
        HMENU menu = GetSubMenu(bar, e.position);
        ASSERT_NE(menu, nullptr);
        ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(e.captions.size()));
        for (size_t i = 0; i < e.captions.size(); ++i) {
            EXPECT_EQ(MenuText(menu, static_cast<int>(i)), e.captions[i]);
            EXPECT_EQ(GetMenuItemID(menu, static_cast<int>(i)), static_cast<UINT>(e.commands[i]));
        }
    }
}

TEST_F(MainStartupTest, CentresOnTheScreenWithNothingClamped) {
    const RECT first = Outer();
    const int width = first.right - first.left;
    const int height = first.bottom - first.top;

    fake.session.screen = {width, height};
    Open();
    EXPECT_EQ(Outer().left, 0);
    EXPECT_EQ(Outer().top, 0);

    // 600 twips (40 pixels at 96 dpi) narrower than the window.
    const int narrower = MulDiv(600, GetDeviceCaps(GetDC(nullptr), LOGPIXELSY), 1440);
    fake.session.screen = {width - narrower, height};
    Open();
    EXPECT_EQ(Outer().left, -narrower / 2);
    EXPECT_EQ(Outer().top, 0);
}

TEST_F(MainStartupTest, RomCountFollowsTheStartDirectory) {
    EXPECT_EQ(WindowText(Control(numberofroms)), L"2");
}

}  // namespace
}  // namespace lumarel
