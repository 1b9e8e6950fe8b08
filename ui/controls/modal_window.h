#pragma once
// A secondary window: created on demand from its control table, shown modally over its
// owner, destroyed by its own close button. The next opening creates it afresh.

#include <windows.h>

#include <span>

#include "platform/services.h"
#include "ui/controls/control_table.h"

namespace lumarel {

class ModalWindow {
public:
    virtual ~ModalWindow();
    ModalWindow(const ModalWindow&) = delete;
    ModalWindow& operator=(const ModalWindow&) = delete;

    // Creates the window hidden over `owner` with its controls in their design state, and
    // runs its load step. False when the system refused.
    bool Create(HWND owner);
    // Shows the window and returns once it has been destroyed; meanwhile the owner takes
    // no input.
    void ShowModal();

    HWND Hwnd() const { return window_; }
    HWND Control(int id) const { return controls_.Hwnd(id); }
    const ControlSet& Controls() const { return controls_; }

protected:
    struct Design {
        const wchar_t* caption;
        int clientWidthTwips;
        int clientHeightTwips;
        std::span<const ControlSpec> controls;
    };
    ModalWindow(HINSTANCE instance, Session& session, Design design);

    // The load step, once the controls exist.
    virtual void Form_Load() {}
    // The control that has the focus when the window opens.
    virtual int InitialFocus() const = 0;
    virtual void OnCommand(int id, int code) = 0;
    // Anything else the window wants to see first; true when handled.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Top and left from the screen's and the window's outer size.
    void CentreOnScreen();
    // Destroys the window, which ends its modal display.
    void Close();

    ControlSet controls_;
    Session& session_;

private:
    template <typename Owner>
    friend LRESULT CALLBACK ForwardToOwner(HWND, UINT, WPARAM, LPARAM);
    void AttachWindow(HWND window) { window_ = window; }
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void SizeToClientArea(UINT dpi);

    HINSTANCE instance_;
    Design design_;
    HWND window_ = nullptr;
    HWND owner_ = nullptr;
};

}  // namespace lumarel
