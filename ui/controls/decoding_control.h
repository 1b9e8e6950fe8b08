#pragma once
// A control whose class decodes the system's notifications for it (the drive, directory and
// file lists): its window hands them over by the control's window handle before its own
// share of them and its wiring, and the control passes on what they mean as Lumarel's own
// notifications, which the window's wiring maps to handlers like any other.

#include <windows.h>

#include <functional>
#include <optional>
#include <utility>

namespace lumarel {

// Lumarel's own notifications. Beyond 16 bits, so that none is ever a system notification
// code, which WM_COMMAND carries in 16.
enum DecodedNotification : int {
    kListChange = 0x10000,  // a drive or directory list shows another drive or directory
    kLineClick,             // a file list's line picked, by a click or by the keyboard
    kLineDoubleClick,       // a file list's line double-clicked
};

class DecodingControl {
public:
    DecodingControl(const DecodingControl&) = delete;
    DecodingControl& operator=(const DecodingControl&) = delete;

    // A notification from this control (WM_COMMAND, WM_NOTIFY or WM_DRAWITEM) as its window
    // received it: an answer when the control took it.
    virtual std::optional<LRESULT> OnNotification(UINT message, WPARAM wParam, LPARAM lParam) = 0;

    // Where the control's own notifications go: its window's wiring.
    void TellThrough(std::function<void(int notification)> tell) { tell_ = std::move(tell); }
    // Passes a notification on; nothing happens before the window has taken the control.
    void Tell(int notification) const {
        if (tell_) {
            tell_(notification);
        }
    }

protected:
    DecodingControl() = default;
    ~DecodingControl() = default;

private:
    std::function<void(int)> tell_;
};

}  // namespace lumarel
