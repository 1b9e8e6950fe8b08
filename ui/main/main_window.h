#pragma once
// The main window: the option controls, the ROM list and the run button.

#include <windows.h>

#include <memory>
#include <string>

#include "launch/launch_options.h"
#include "launch/run_action.h"
#include "platform/services.h"
#include "ui/controls/control_table.h"
#include "ui/controls/file_list.h"
#include "ui/main/main_layout.h"

namespace lumarel {

class MainWindow final : public WindowCaption {
public:
    // `ownDirectory` is the directory of Lumarel's executable.
    MainWindow(HINSTANCE instance, const Platform& platform, SharedValues& shared,
               std::wstring ownDirectory);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Creates the window and its controls in their design state, hidden. False when the
    // system refused (the caller tells the user).
    bool Create();
    HWND Hwnd() const { return window_; }
    HWND Control(int id) const { return controls_.Hwnd(id); }
    const ControlSet& Controls() const { return controls_; }
    FileList& RomList() { return file1_; }

    // The options as the controls hold them now.
    LaunchOptions TakeLaunchOptions() const;
    // Setting a single option; nothing else reacts to it.
    void SelectOption(OptionControl option);
    void SetCheckState(OptionControl option, std::int16_t state);
    void SetListIndex(OptionControl option, std::int16_t index);

    // Event handlers.
    void Go_Button_Click();
    void File1_DblClick();

    // WindowCaption
    std::wstring Caption() override;
    void SetCaption(const std::wstring& caption) override;

    // When this window is destroyed, the message loop ends.
    void EndRunWhenClosed() { endRunWhenClosed_ = true; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK GoButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR data);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCommand(int id, int code);
    void SizeToClientArea(UINT dpi);

    HINSTANCE instance_;
    Platform platform_;
    SharedValues& shared_;
    std::wstring ownDirectory_;
    HWND window_ = nullptr;
    ControlSet controls_;
    FileList file1_;
    RunAction runAction_;
    HBITMAP goPicture_ = nullptr;
    HCURSOR goPointer_ = nullptr;
    bool endRunWhenClosed_ = false;
};

}  // namespace lumarel
