#pragma once
// What every Lumarel window has: its class, its controls created from their table, its size
// from its client area in twips, centring, dpi changes, the pictures and pointers of its
// controls, changes of the system's colours and theme, and its end. The main window and the
// secondary windows build on it.

#include <windows.h>

#include <span>

#include "platform/services.h"
#include "ui/controls/control_table.h"

namespace lumarel {

class WindowBase {
public:
    virtual ~WindowBase();
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;

    HWND Hwnd() const { return window_; }
    HWND Control(int id) const { return controls_.Hwnd(id); }
    const ControlSet& Controls() const { return controls_; }

protected:
    struct Design {
        const wchar_t* className;
        const wchar_t* caption;
        DWORD style;
        DWORD exStyle;
        int clientWidthTwips;
        int clientHeightTwips;
        std::span<const ControlDesign> controls;
        bool withIcon = false;  // Lumarel's icon in the caption and on the taskbar
    };
    WindowBase(HINSTANCE instance, Session& session, Design design);

    // Creates the window hidden, owned by `owner`, with its menu bar and its controls in
    // their design state. False when the system refused.
    bool CreateWindowAndControls(HWND owner, HMENU menu) {
        return CreateOwnWindow(owner, menu) && CreateControls();
    }
    // The same in its two steps: the window with its menu, then its controls.
    bool CreateOwnWindow(HWND owner, HMENU menu);
    bool CreateControls();
    // Top and left from the screen's and the window's outer size.
    void CentreOnScreen();
    // Destroys the window.
    void Close();

    // A window's share of its messages, before the common handling; true when handled.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // A control's notification, after the control table's own share.
    virtual void OnCommand(int id, int code);
    // A menu command, or a command without a control (IDOK and IDCANCEL from the keyboard).
    virtual void OnMenuCommand(int id) { OnCommand(id, 0); }
    // After the controls have been laid out for a new dpi.
    virtual void OnDpiChanged(UINT dpi);
    // While the window is being destroyed.
    virtual void OnDestroy();

    HINSTANCE instance_;
    Session& session_;
    ControlSet controls_;

private:
    template <typename Owner>
    friend LRESULT CALLBACK ForwardToOwner(HWND, UINT, WPARAM, LPARAM);
    void AttachWindow(HWND window) { window_ = window; }
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void SizeToClientArea(UINT dpi);

    Design design_;
    HWND window_ = nullptr;
};

}  // namespace lumarel
