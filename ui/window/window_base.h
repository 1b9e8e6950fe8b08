#pragma once
// What every Lumarel window has: its class, its controls created from their table, the
// notifications of its controls and menu run through its wiring, its size from its client
// area in twips, centring, dpi changes, the pictures and pointers of its controls, changes of
// the system's colours and theme, and its end. The main window and the secondary windows
// build on it.

#include <windows.h>

#include <span>
#include <utility>
#include <vector>

#include "platform/services.h"
#include "ui/controls/control_table.h"
#include "ui/window/wiring.h"

namespace lumarel {

class WindowBase {
public:
    // The window goes with the object. Its derived part has gone by then, so the messages of
    // its end reach the system's default handling alone, and the base's own end runs here.
    virtual ~WindowBase();
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;

    HWND Hwnd() const { return window_; }
    HWND Control(int id) const { return controls_.Hwnd(id); }
    const ControlSet& Controls() const { return controls_; }

    // When this window is destroyed while its object lives, the message loop ends.
    void EndRunWhenClosed() { endRunWhenClosed_ = true; }

protected:
    struct Design {
        const wchar_t* className;
        const wchar_t* caption;
        DWORD style;
        DWORD exStyle;
        int clientWidthTwips;
        int clientHeightTwips;
        std::span<const ControlDesign> controls;
        Wiring wiring;
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
    // Takes the input from `owner` until this window closes.
    void DisableOwnerWhileOpen(HWND owner);
    // Gives the owner back, then destroys the window: Windows hands the activation on as it
    // hides the window, and only to an owner that takes input. The caption's close box
    // closes the same way, and the object going closes the window too: a derived window
    // need not.
    void Close();

    // A window's share of its messages that are no notification, before the common
    // handling; true when handled.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // After the controls have been laid out for a new dpi.
    virtual void OnDpiChanged(UINT dpi);

    HINSTANCE instance_;
    Session& session_;
    ControlSet controls_;

private:
    template <typename Owner>
    friend LRESULT CALLBACK ForwardToOwner(HWND, UINT, WPARAM, LPARAM);
    void AttachWindow(HWND window) { window_ = window; }
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    // Runs the handler the wiring names for a notification; nothing when it names none. While
    // a handler waits for a slow device, what another program announces runs after it.
    void RunWired(int source, int notification);
    void RunDeferred();
    void SizeToClientArea(UINT dpi);
    void GiveOwnerBack();
    // The base's share of the window's end.
    void EndWindow();

    Design design_;
    HWND window_ = nullptr;
    HWND disabledOwner_ = nullptr;
    bool endRunWhenClosed_ = false;
    std::vector<std::pair<int, int>> deferred_;  // (source, notification), oldest first
};

}  // namespace lumarel
