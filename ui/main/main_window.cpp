#include "ui/main/main_window.h"

#include <commctrl.h>
#include <dbt.h>

#include "launch/command_line.h"
#include "launch/option_table.h"
#include "platform/win32/live_wait.h"
#include "settings/settings_store.h"
#include "ui/cheats/cheat_window.h"
#include "ui/help/help_texts.h"
#include "ui/help/help_windows.h"
#include "ui/location/location_window.h"
#include "ui/controls/dpi.h"
#include "ui/window/handler_guard.h"
#include "ui/browser/list_paths.h"
#include "ui/main/rom_size.h"

namespace lumarel {

namespace {

// A start directory that has not been listed by then shows the window waiting for it.
constexpr unsigned long kShowSlowStartAfterMs = 500;
// The ROM count while the start directory is being listed: no number is true yet.
constexpr wchar_t kCountWhileListing[] = L"\u2026";

constexpr UINT_PTR kNameControlsTimer = 1;
constexpr UINT kNameControlsDelayMs = 500;
constexpr DWORD kMainStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kMainExStyle = WS_EX_CONTROLPARENT;

bool IsSelected(HWND optionButton) {
    return SendMessageW(optionButton, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// What each notification and menu item runs, in the order the handlers are named.
// clang-format off
const Wire kMainWiring[] = {
    // control or menu item, notification, handler
    {Go_Button, BN_CLICKED, Run<&MainWindow::Go_Button_Click>},
    {Drive1, kListChange, Run<&MainWindow::Drive1_Change>},
    {Dir1, kListChange, Run<&MainWindow::Dir1_Change>},
    {File1, kLineClick, Run<&MainWindow::File1_Click>},
    {File1, kLineDoubleClick, Run<&MainWindow::File1_DblClick>},
    {MenuItem::exit, kChosen, Run<&MainWindow::exit_Click>},
    {MenuItem::save, kChosen, Run<&MainWindow::save_Click>},
    {MenuItem::locations, kChosen, Run<&MainWindow::locations_Click>},
    {MenuItem::game_genie, kChosen, Run<&MainWindow::game_genie_Click>},
    {MenuItem::KeyBoard, kChosen, Run<&MainWindow::KeyBoard_Click>},
    {MenuItem::mnuReadme, kChosen, Run<&MainWindow::mnuReadme_Click>},
    {MenuItem::About, kChosen, Run<&MainWindow::About_Click>},
};
// clang-format on

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, const Platform& platform, SharedValues& shared,
                       std::wstring ownDirectory)
    : WindowBase(instance, platform.session,
                 {L"LumarelMain", kMainCaption, kMainStyle, kMainExStyle, kMainClientWidthTwips,
                  kMainClientHeightTwips, MainControls(), kMainWiring, true}),
      platform_(platform),
      shared_(shared),
      ownDirectory_(std::move(ownDirectory)),
      browser_(platform.fileSystem, kRomPatterns, ownDirectory_),
      runAction_(platform) {}

MainWindow::~MainWindow() {
    TellEscapedFailuresThrough(nullptr);
}

bool MainWindow::Create() {
    TellEscapedFailuresThrough(&platform_.messages);
    trace_ = StartupTrace();
    HMENU menu = CreateMenuBar(MainMenuBar());
    if (menu == nullptr || !CreateOwnWindow(nullptr, menu)) {
        return false;
    }
    trace_.Reach(L"window and menu");
    if (!CreateControls()) {
        return false;
    }
    trace_.Reach(L"controls");
    const UINT dpi = WindowDpi(Hwnd());
    SetStatusPanels(dpi);

    browser_.Attach(controls_, {Drive1, Dir1, File1}, dpi);
    trace_.Reach(L"status bar and drives");
    Form_Load();
    SetFocus(Control(Go_Button));
    // Shown already when the start directory was slow, and not when the person closed it
    // meanwhile.
    if (show_ != SW_HIDE && !shownWhileListing_ && !win32::CloseAskedFor(Hwnd())) {
        ShowWindow(Hwnd(), show_);
        UpdateWindow(Hwnd());
    }
    // Named once the window is up, so that start-up does not wait for COM.
    SetTimer(Hwnd(), kNameControlsTimer, kNameControlsDelayMs, nullptr);
    return true;
}

void MainWindow::Form_Load() {
    SetPanelText(2, kSizePanelPrefix);
    LoadSettings(ownDirectory_, platform_.textFiles, platform_.messages, *this,
                 shared_.EmulatorPath);
    trace_.Reach(L"settings");
    {
        const LongWaitNotice slowStart(platform_.carrier, kShowSlowStartAfterMs,
                                       [this] { ShowWhileListing(); });
        browser_.PointAt(ownDirectory_);
    }
    trace_.Reach(L"listing");
    CentreOnScreen();
    SetPanelText(1, kLocationPanelPrefix + shared_.EmulatorPath);
}

void MainWindow::ShowWhileListing() {
    if (show_ == SW_HIDE || shownWhileListing_) {
        return;
    }
    shownWhileListing_ = true;
    // The start's later steps, early: the listing's answer then completes the start.
    CentreOnScreen();
    SetPanelText(1, kLocationPanelPrefix + shared_.EmulatorPath);
    controls_.SetCaption(numberofroms, kCountWhileListing);
    ShowWindow(Hwnd(), show_);
    SetFocus(Control(Go_Button));
}

void MainWindow::Drive1_Change() {
    browser_.FollowDrive();
}

void MainWindow::Dir1_Change() {
    browser_.FollowDirectory();
    controls_.SetCaption(numberofroms, std::to_wstring(RomList().Count()));
}

void MainWindow::File1_Click() {
    const std::wstring entry = RomList().SelectedEntry();
    if (entry.empty()) {
        return;
    }
    std::uint64_t length = 0;
    if (!platform_.fileSystem.FileSize(JoinPath(RomList().Directory(), entry), length).ok) {
        return;  // removed meanwhile or not readable: the panels keep what they showed
    }
    SetPanelText(
        2, kSizePanelPrefix + FormatRomSize(length, platform_.session.DecimalSeparator()) + L"MB");
    controls_.SetTooltip(File1, L"Currently Selected ROM: " + entry);
}

void MainWindow::Form_MouseMove() {
    SetPanelText(1, kLocationPanelPrefix + shared_.EmulatorPath);
    SetPanelText(2, L"Size: " + std::wstring(L"Temp Size"));
}

void MainWindow::OnMouseMove(POINT point) {
    // Frames do not take the mouse in Win32 as they do elsewhere: only the window's own
    // surface, outside every control and frame, counts.
    if (ChildWindowFromPointEx(Hwnd(), point, CWP_SKIPINVISIBLE) == Hwnd()) {
        Form_MouseMove();
    }
}

void MainWindow::SetStatusPanels(UINT dpi) {
    const int edges[] = {TwipsToPixels(kLocationPanelTwips, dpi),
                         TwipsToPixels(kLocationPanelTwips + kSizePanelTwips, dpi)};
    SendMessageW(Control(StatBar), SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
}

void MainWindow::SetPanelText(int panel, const std::wstring& text) {
    SendMessageW(Control(StatBar), SB_SETTEXTW, static_cast<WPARAM>(panel - 1),
                 reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring MainWindow::PanelText(int panel) const {
    HWND bar = Control(StatBar);
    const auto length =
        LOWORD(SendMessageW(bar, SB_GETTEXTLENGTHW, static_cast<WPARAM>(panel - 1), 0));
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(bar, SB_GETTEXTW, static_cast<WPARAM>(panel - 1),
                 reinterpret_cast<LPARAM>(text.data()));
    text.resize(length);
    return text;
}

void MainWindow::exit_Click() {
    platform_.session.ExitNow();
}

void MainWindow::save_Click() {
    SaveSettings(ownDirectory_, platform_.textFiles, platform_.messages, *this,
                 shared_.EmulatorPath);
}

void MainWindow::locations_Click() {
    LocationWindow location(instance_, platform_, shared_.EmulatorPath, ownDirectory_, [this] {
        SetPanelText(1, kLocationPanelPrefix + shared_.EmulatorPath);
    });
    ShowSecondary(location);
}

void MainWindow::game_genie_Click() {
    CheatWindow cheats(instance_, platform_.session, shared_.cheatCodes);
    ShowSecondary(cheats);
}

void MainWindow::KeyBoard_Click() {
    KeyboardWindow keyboard(instance_, platform_.session);
    ShowSecondary(keyboard);
}

void MainWindow::mnuReadme_Click() {
    const auto commandLine = ReadmeCommandLine(shared_.EmulatorPath);
    if (!commandLine) {
        platform_.messages.Show(
            {L"Please select location of Snes9x!", L"Note", MessageIcon::Information});
        return;
    }
    // The system's own editor, named in full: a notepad.exe beside Lumarel or in the working
    // directory must not run instead.
    const OsResult started = platform_.processes.Start(
        platform_.processes.SystemProgram(L"notepad.exe"), *commandLine, WindowShow::Normal);
    if (!started.ok && !started.GivenUp()) {
        platform_.messages.Show({L"The text editor could not be started with\n" + *commandLine +
                                     L"\n\n" + started.reason,
                                 L"Lumarel", MessageIcon::Error});
    }
}

void MainWindow::About_Click() {
    AboutWindow about(instance_, platform_);
    if (about.Create(Hwnd())) {
        SetWindowTextW(about.Control(lblAbout), AboutText().c_str());
    }
    ShowSecondary(about);
}

void MainWindow::ShowSecondary(ModalWindow& secondary) {
    if (secondary.Hwnd() != nullptr) {
        secondary.ShowModal();
        return;
    }
    if (!secondary.Create(Hwnd())) {
        platform_.messages.Show(
            {L"Lumarel could not open the window:\n" + SystemReason(GetLastError()), L"Lumarel",
             MessageIcon::Error});
        return;
    }
    secondary.ShowModal();
}

LaunchOptions MainWindow::TakeLaunchOptions() const {
    LaunchOptions options;
    for (const OptionRow& row : kOptionRows) {
        HWND control = Control(row.control);
        switch (row.kind) {
            case OptionKind::Button:
                options.*row.selected = IsSelected(control);
                break;
            case OptionKind::CheckBox:
                options.*row.checkState = static_cast<std::int16_t>(CheckStateOf(control));
                break;
            case OptionKind::List: {
                const auto index =
                    static_cast<std::int16_t>(SendMessageW(control, CB_GETCURSEL, 0, 0));
                options.*row.list = ListChoice{index, ListItemText(control, index)};
                break;
            }
        }
    }
    options.Extra = WindowText(Control(Extra));
    return options;
}

void MainWindow::SelectOption(OptionControl option) {
    controls_.SelectOptionButton(option);
}

void MainWindow::SetCheckState(OptionControl option, std::int16_t state) {
    SendMessageW(Control(option), BM_SETCHECK, static_cast<WPARAM>(state), 0);
}

void MainWindow::SetListIndex(OptionControl option, std::int16_t index) {
    SendMessageW(Control(option), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void MainWindow::Go_Button_Click() {
    RunRequest request;
    request.emulatorPath = shared_.EmulatorPath;
    request.romDirectory = RomList().Directory();
    request.romEntry = RomList().SelectedEntry();
    request.options = TakeLaunchOptions();
    request.cheatCodes = shared_.cheatCodes;
    runAction_.Run(request, *this);
}

void MainWindow::File1_DblClick() {
    if (!RomList().SelectedEntry().empty()) {
        Go_Button_Click();
    }
}

std::wstring MainWindow::Caption() {
    return WindowText(Hwnd());
}

void MainWindow::SetCaption(const std::wstring& caption) {
    SetWindowTextW(Hwnd(), caption.c_str());
}

bool MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_TIMER:
            if (wParam == kNameControlsTimer) {
                KillTimer(Hwnd(), kNameControlsTimer);
                controls_.NameControlsForScreenReaders();
                return true;
            }
            return false;
        case WM_DEVICECHANGE:
            // A stick plugged in or pulled out, a share mapped: the drive list follows, after
            // any wait for a slow drive.
            if (wParam == DBT_DEVICEARRIVAL || wParam == DBT_DEVICEREMOVECOMPLETE) {
                if (win32::WaitUnderWay()) {
                    win32::SendAfterTheHandler(Hwnd(), WM_DEVICECHANGE, wParam);
                } else {
                    browser_.Drives().Refresh(false);
                }
            }
            result = TRUE;
            return true;
        case WM_MOUSEMOVE:
            OnMouseMove({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
            return true;
        default:
            return false;
    }
}

void MainWindow::OnDpiChanged(UINT dpi) {
    browser_.SetDpi(dpi);
    SetStatusPanels(dpi);
}

}  // namespace lumarel
