#pragma once
// The main window: the option controls, the ROM list and the run button.

#include <windows.h>

#include <memory>
#include <string>

#include "launch/launch_options.h"
#include "launch/run_action.h"
#include "platform/services.h"
#include "ui/browser/browser.h"
#include "ui/controls/control_table.h"
#include "ui/window/modal_window.h"
#include "ui/window/window_base.h"
#include "ui/main/main_layout.h"
#include "ui/main/main_menu.h"
#include "ui/main/startup_trace.h"

namespace lumarel {

class MainWindow final : public WindowBase, public WindowCaption, public OptionControls {
public:
    // `ownDirectory` is the directory of Lumarel's executable.
    MainWindow(HINSTANCE instance, const Platform& platform, SharedValues& shared,
               std::wstring ownDirectory);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Creates the window and its controls in their design state, then runs the start-up
    // (settings loaded, ROM list pointed at Lumarel's directory, window centred); the window
    // stays hidden. False when the system refused (the caller tells the user).
    bool Create();
    // How Create shows the window (nCmdShow): once started, or while a start directory that
    // is slow to answer is listed. Without it the window stays hidden.
    void ShowWhenCreated(int show) { show_ = show; }
    // Where the time of Create went, phase by phase.
    const StartupTrace& Trace() const { return trace_; }
    DriveList& Drives() { return browser_.Drives(); }
    DirectoryList& Directories() { return browser_.Directories(); }
    FileList& RomList() { return browser_.Files(); }

    // OptionControls
    LaunchOptions TakeLaunchOptions() const override;
    void SelectOption(OptionControl option) override;
    void SetCheckState(OptionControl option, std::int16_t state) override;
    void SetListIndex(OptionControl option, std::int16_t index) override;

    // Status bar panels, numbered from 1.
    void SetPanelText(int panel, const std::wstring& text);
    std::wstring PanelText(int panel) const;

    // Event handlers.
    void Form_Load();
    void Go_Button_Click();
    void Drive1_Change();
    void Dir1_Change();
    void File1_Click();
    void File1_DblClick();
    void Form_MouseMove();
    void exit_Click();
    void save_Click();
    void locations_Click();
    void game_genie_Click();
    void KeyBoard_Click();
    void mnuReadme_Click();
    void About_Click();

    // WindowCaption
    std::wstring Caption() override;
    void SetCaption(const std::wstring& caption) override;

private:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnDpiChanged(UINT dpi) override;
    void ShowSecondary(ModalWindow& secondary);
    void SetStatusPanels(UINT dpi);
    // The start directory has not answered yet: the window shows, waiting for it.
    void ShowWhileListing();
    void OnMouseMove(POINT point);

    Platform platform_;
    SharedValues& shared_;
    std::wstring ownDirectory_;
    Browser browser_;
    RunAction runAction_;
    StartupTrace trace_;
    int show_ = SW_HIDE;
    bool shownWhileListing_ = false;
};

}  // namespace lumarel
