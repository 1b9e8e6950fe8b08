// The cheat code window and the Help menu's windows and command.

#include <gtest/gtest.h>

#include <functional>

#include "ui/cheats/cheat_window.h"
#include "ui/help/help_texts.h"
#include "ui/help/help_windows.h"
#include "ui/location/location_window.h"
#include "tests/window/main_window_fixture.h"

namespace lumarel {
namespace {

using namespace lumarel::testing;

class CheatWindowTest : public MainWindowTest {
protected:
    void OpenCheats() {
        cheats = std::make_unique<CheatWindow>(GetModuleHandleW(nullptr), fake.session,
                                               shared.cheatCodes);
        ASSERT_TRUE(cheats->Create(window->Hwnd()));
        ShowWindow(cheats->Hwnd(), SW_SHOW);
        SetForegroundWindow(cheats->Hwnd());
        DrainMessages();
    }
    void Type(int slot, const wchar_t* text) {
        HWND box = cheats->Box(slot);
        SetFocus(box);
        for (const wchar_t* c = text; *c != L'\0'; ++c) {
            SendMessageW(box, WM_CHAR, *c, 0);
        }
    }
    void Leave() {
        SetFocus(cheats->Control(Closer));
        DrainMessages();
    }
    std::wstring BoxText(int slot) { return WindowText(cheats->Box(slot)); }

    std::unique_ptr<CheatWindow> cheats;
};

TEST_F(CheatWindowTest, TypingStopsAtNineCharacters) {
    OpenCheats();
    Type(1, L"0123456789ABC");
    EXPECT_EQ(BoxText(1), L"012345678");
}

TEST_F(CheatWindowTest, LeavingABoxTidiesItsCode) {
    OpenCheats();
    Type(3, L"abcd1234");
    EXPECT_EQ(BoxText(3), L"abcd1234");
    Leave();
    EXPECT_EQ(BoxText(3), L"ABCD-1234");
    Type(4, L"abc1234");
    Leave();
    EXPECT_EQ(BoxText(4), L"abc1234");
}

TEST_F(CheatWindowTest, CloseStoresTheCodesAndTheNextOpeningShowsThem) {
    OpenCheats();
    Type(1, L"aaaa-bbbb");
    Type(10, L"12345678");  // still in the box when Close is pressed
    cheats->Closer_Click();
    EXPECT_EQ(cheats->Hwnd(), nullptr);
    EXPECT_EQ(shared.cheatCodes[0], L"AAAA-BBBB");
    EXPECT_EQ(shared.cheatCodes[9], L"1234-5678");
    EXPECT_EQ(shared.cheatCodes[4], L"");

    OpenCheats();
    EXPECT_EQ(BoxText(1), L"AAAA-BBBB");
    EXPECT_EQ(BoxText(10), L"1234-5678");
}

TEST_F(CheatWindowTest, TitleBarCloseKeepsTheEarlierCodes) {
    shared.cheatCodes[1] = L"1111-2222";
    OpenCheats();
    EXPECT_EQ(BoxText(2), L"1111-2222");
    Type(2, L"9");
    Type(5, L"cccc3333");
    SendMessageW(cheats->Hwnd(), WM_CLOSE, 0, 0);
    DrainMessages();
    EXPECT_EQ(shared.cheatCodes[1], L"1111-2222");
    EXPECT_EQ(shared.cheatCodes[4], L"");
}

TEST_F(CheatWindowTest, StoredCodesReachTheCommandLineOnlyWithNineCharacters) {
    OpenCheats();
    Type(1, L"abcd1234");
    Type(2, L"abc1234");
    cheats->Closer_Click();
    shared.EmulatorPath = L"C:\\EMU\\SNES9X.EXE";
    window->RomList().SetSelectedIndex(0);
    window->Go_Button_Click();
    ASSERT_EQ(fake.processes.started.size(), 1u);
    EXPECT_EQ(fake.processes.started[0].commandLine,
              L"C:\\EMU\\SNES9X.EXE C:\\ROMS\\a.sfc -ns -j -gg ABCD-1234 ");
}

int focusedAtOpening = 0;

void CALLBACK TypeAndCloseCheats(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND cheats = FindWindowW(L"LumarelSecondary", L"Game Genie Codes");
    focusedAtOpening = GetDlgCtrlID(GetFocus());
    SetWindowTextW(GetDlgItem(cheats, code2), L"dddd4444");
    SendMessageW(GetDlgItem(cheats, Closer), BM_CLICK, 0, 0);
}

TEST_F(MainWindowTest, CheatCommandOpensWithTheFirstBoxFocusedAndStoresOnClose) {
    SetTimer(nullptr, 0, 50, TypeAndCloseCheats);
    window->game_genie_Click();
    EXPECT_EQ(focusedAtOpening, code1);
    EXPECT_EQ(shared.cheatCodes[1], L"dddd4444");  // typed without leaving the box: as typed
}

TEST_F(MainWindowTest, ReadmeCommandOpensTheEditorOrAsksForTheEmulator) {
    window->mnuReadme_Click();
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, L"Please select location of Snes9x!");
    EXPECT_EQ(fake.messages.shown[0].title, L"Note");
    EXPECT_EQ(fake.messages.shown[0].icon, MessageIcon::Information);
    EXPECT_TRUE(fake.processes.started.empty());

    shared.EmulatorPath = L"C:\\SNES9X\\SNES9X.EXE";
    window->mnuReadme_Click();
    ASSERT_EQ(fake.processes.started.size(), 1u);
    EXPECT_EQ(fake.processes.started[0].commandLine, L"notepad C:\\SNES9X\\readme.txt");
    EXPECT_EQ(fake.processes.started[0].show, WindowShow::Normal);

    fake.processes.result = OsResult::Failure(2, L"The system cannot find the file specified.");
    window->mnuReadme_Click();
    ASSERT_EQ(fake.messages.shown.size(), 2u);
    EXPECT_NE(fake.messages.shown[1].text.find(L"The system cannot find the file specified."),
              std::wstring::npos);
}

TEST_F(MainWindowTest, KeyboardReferenceIsReadOnlyAndClosesWithItsButton) {
    KeyboardWindow keyboard(GetModuleHandleW(nullptr), fake.session);
    ASSERT_TRUE(keyboard.Create(window->Hwnd()));
    EXPECT_EQ(WindowText(keyboard.Hwnd()), L"Snes9x Keyboard Reference");
    HWND text = keyboard.Control(KeyBoard_Txt);
    EXPECT_EQ(WindowText(text), KeyboardReferenceText());
    SendMessageW(text, WM_CHAR, L'x', 0);
    SendMessageW(text, WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(WindowText(text), KeyboardReferenceText());
    // 74 lines and the empty row after the last line break: no line wraps in the box.
    EXPECT_EQ(SendMessageW(text, EM_GETLINECOUNT, 0, 0), 75);
    keyboard.btnClose_Click();
    EXPECT_EQ(keyboard.Hwnd(), nullptr);
}

TEST_F(MainWindowTest, AboutClosesWithEnterEscOrItsButtonAndShowsThePictureMessage) {
    for (const WPARAM key : {VK_RETURN, VK_ESCAPE}) {
        AboutWindow about(GetModuleHandleW(nullptr), fake.Services());
        ASSERT_TRUE(about.Create(window->Hwnd()));
        EXPECT_EQ(WindowText(about.Hwnd()), L"About Lumarel");
        SendMessageW(about.Control(Picture1), WM_LBUTTONDOWN, MK_LBUTTON, 0);
        SendMessageW(about.Control(Picture1), WM_LBUTTONUP, 0, 0);
        DrainMessages();
        EXPECT_NE(about.Hwnd(), nullptr) << "the picture's message leaves the window open";
        // Enter or Esc as the dialog manager delivers them.
        ShowWindow(about.Hwnd(), SW_SHOW);
        SetFocus(about.Control(lblAbout) != nullptr ? about.Control(cmdAbout) : nullptr);
        MSG message{about.Control(cmdAbout), WM_KEYDOWN, key, 0};
        IsDialogMessageW(about.Hwnd(), &message);
        DrainMessages();
        EXPECT_EQ(about.Hwnd(), nullptr) << "key " << key;
    }
    ASSERT_EQ(fake.messages.shown.size(), 2u);
    EXPECT_EQ(fake.messages.shown[0].text, L"Pic was drawn for me on request!");
    EXPECT_EQ(fake.messages.shown[0].title, AboutPictureCredit());
    EXPECT_EQ(fake.messages.shown[0].icon, MessageIcon::None);
}

TEST_F(MainWindowTest, EnterAndEscCloseNeitherLocationNorCheatsNorKeyboard) {
    SharedValues values;
    LocationWindow location(GetModuleHandleW(nullptr), fake.Services(), values.EmulatorPath,
                            L"C:\\ROMS", {});
    CheatWindow cheats(GetModuleHandleW(nullptr), fake.session, values.cheatCodes);
    KeyboardWindow keyboard(GetModuleHandleW(nullptr), fake.session);
    struct Case {
        ModalWindow* secondary;
        int focused;  // where the focus is when the window opens
        const char* name;
    };
    const Case cases[] = {{&location, Drive2, "location"},
                          {&cheats, code1, "cheats"},
                          {&keyboard, KeyBoard_Txt, "keyboard"}};
    for (const Case& c : cases) {
        ASSERT_TRUE(c.secondary->Create(window->Hwnd()));
        ShowWindow(c.secondary->Hwnd(), SW_SHOW);
        // No default button and no cancel button.
        EXPECT_EQ(HIWORD(SendMessageW(c.secondary->Hwnd(), DM_GETDEFID, 0, 0)), 0) << c.name;
        EXPECT_EQ(GetDlgItem(c.secondary->Hwnd(), IDCANCEL), nullptr) << c.name;
        for (const WPARAM key : {VK_RETURN, VK_ESCAPE}) {
            SetFocus(c.secondary->Control(c.focused));
            MSG message{c.secondary->Control(c.focused), WM_KEYDOWN, key, 0};
            IsDialogMessageW(c.secondary->Hwnd(), &message);
            DrainMessages();
            EXPECT_NE(c.secondary->Hwnd(), nullptr) << c.name << " closed on key " << key;
        }
    }
}

// A quit while a secondary window is open ends its modal loop with the window still there;
// the object going then closes it, and the owner takes input again, whichever window it is.
TEST_F(MainWindowTest, ASecondaryWindowGoneWithItsObjectGivesItsOwnerBack) {
    SharedValues values;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const std::function<std::unique_ptr<ModalWindow>()> kinds[] = {
        [&] {
            return std::make_unique<LocationWindow>(instance, fake.Services(), values.EmulatorPath,
                                                    L"C:\\ROMS", nullptr);
        },
        [&] { return std::make_unique<CheatWindow>(instance, fake.session, values.cheatCodes); },
        [&] { return std::make_unique<KeyboardWindow>(instance, fake.session); },
        [&] { return std::make_unique<AboutWindow>(instance, fake.Services()); },
    };
    for (const auto& make : kinds) {
        HWND shown = nullptr;
        {
            const std::unique_ptr<ModalWindow> secondary = make();
            ASSERT_TRUE(secondary->Create(window->Hwnd()));
            PostQuitMessage(0);
            secondary->ShowModal();
            shown = secondary->Hwnd();
            ASSERT_NE(shown, nullptr);
            EXPECT_FALSE(IsWindowEnabled(window->Hwnd()));
        }
        EXPECT_FALSE(IsWindow(shown)) << WindowText(shown);
        EXPECT_TRUE(IsWindowEnabled(window->Hwnd()));
        DrainMessages();  // the quit, which the modal loop handed back
    }
}

// How the user closes the secondary window on the screen: the button with this id, or with
// 0 the caption's close box.
int closingButton = 0;

void CALLBACK CloseSecondaryOnScreen(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND secondary = FindWindowW(L"LumarelSecondary", nullptr);
    if (secondary == nullptr || !IsWindowVisible(secondary)) {
        return;  // not up yet: the next tick
    }
    KillTimer(nullptr, timer);
    if (closingButton == 0) {
        PostMessageW(secondary, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else {
        PostMessageW(GetDlgItem(secondary, closingButton), BM_CLICK, 0, 0);
    }
}

// Closing a secondary window hands the activation back to the main window, not to the window
// of another program below it.
TEST_F(MainWindowTest, ClosingASecondaryWindowActivatesTheMainWindowAgain) {
    // Another program's window, behind the main window.
    HWND other = CreateWindowExW(0, L"Static", L"another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    ShowWindow(window->Hwnd(), SW_SHOW);
    SetForegroundWindow(window->Hwnd());
    DrainMessages();
    ASSERT_EQ(GetActiveWindow(), window->Hwnd());

    SharedValues values;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    struct Case {
        std::function<std::unique_ptr<ModalWindow>()> make;
        int closeButton;
        const char* name;
    };
    const Case cases[] = {
        {[&] {
             return std::make_unique<LocationWindow>(instance, fake.Services(), values.EmulatorPath,
                                                     L"C:\\ROMS", nullptr);
         },
         Close_Button, "location"},
        {[&] { return std::make_unique<CheatWindow>(instance, fake.session, values.cheatCodes); },
         Closer, "cheats"},
        {[&] { return std::make_unique<KeyboardWindow>(instance, fake.session); }, btnClose,
         "keyboard"},
        {[&] { return std::make_unique<AboutWindow>(instance, fake.Services()); }, cmdAbout,
         "about"},
    };
    for (const Case& c : cases) {
        for (const int button : {c.closeButton, 0}) {
            const std::unique_ptr<ModalWindow> secondary = c.make();
            ASSERT_TRUE(secondary->Create(window->Hwnd()));
            closingButton = button;
            SetTimer(nullptr, 0, 10, CloseSecondaryOnScreen);
            secondary->ShowModal();
            DrainMessages();
            EXPECT_EQ(GetActiveWindow(), window->Hwnd())
                << c.name << (button == 0 ? ", caption's close box" : ", its button");
            SetForegroundWindow(window->Hwnd());
            DrainMessages();
        }
    }
    DestroyWindow(other);
}

// Opens the About window through its menu command twice and reads the label each time.
std::vector<std::wstring> aboutTexts;

void CALLBACK ReadAndCloseAbout(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND about = FindWindowW(L"LumarelSecondary", L"About Lumarel");
    aboutTexts.push_back(WindowText(GetDlgItem(about, lblAbout)));
    aboutTexts.push_back(WindowText(GetFocus()));
    SendMessageW(GetDlgItem(about, cmdAbout), BM_CLICK, 0, 0);
}

TEST_F(MainWindowTest, AboutCommandShowsTheSameTextEveryTime) {
    aboutTexts.clear();
    for (int i = 0; i < 2; ++i) {
        SetTimer(nullptr, 0, 50, ReadAndCloseAbout);
        window->About_Click();
    }
    EXPECT_EQ(aboutTexts,
              (std::vector<std::wstring>{AboutText(), L"Close", AboutText(), L"Close"}));
}

// Every control a screen reader can reach has a name: its caption, or a name given for it.
void ExpectEveryControlNamed(const ControlSet& controls, const char* window) {
    for (const ControlDesign& design : controls.Table()) {
        if (design.kind == ControlKind::Frame || design.kind == ControlKind::StatusBar) {
            continue;
        }
        const std::wstring name = design.caption != nullptr ? std::wstring(design.caption)
                                                            : controls.AccessibleName(design);
        EXPECT_FALSE(name.empty()) << window << " " << design.id;
        EXPECT_NE(name, design.name)
            << window << ": only an identifier names control " << design.id;
    }
}

TEST_F(MainWindowTest, EveryControlOfEveryWindowHasAName) {
    ExpectEveryControlNamed(window->Controls(), "main");
    SharedValues values;
    LocationWindow location(GetModuleHandleW(nullptr), fake.Services(), values.EmulatorPath,
                            L"C:\\ROMS", {});
    ASSERT_TRUE(location.Create(window->Hwnd()));
    ExpectEveryControlNamed(location.Controls(), "location");
    CheatWindow cheats(GetModuleHandleW(nullptr), fake.session, values.cheatCodes);
    ASSERT_TRUE(cheats.Create(window->Hwnd()));
    ExpectEveryControlNamed(cheats.Controls(), "cheats");
    KeyboardWindow keyboard(GetModuleHandleW(nullptr), fake.session);
    ASSERT_TRUE(keyboard.Create(window->Hwnd()));
    ExpectEveryControlNamed(keyboard.Controls(), "keyboard");
    AboutWindow about(GetModuleHandleW(nullptr), fake.Services());
    ASSERT_TRUE(about.Create(window->Hwnd()));
    ExpectEveryControlNamed(about.Controls(), "about");
}

}  // namespace
}  // namespace lumarel
