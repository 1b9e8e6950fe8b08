#pragma once
// C++ exceptions stop where the system called into Lumarel: a window procedure or a subclass
// procedure. Unwinding through the system's own code between it and the message loop is not
// defined, so each such entry catches what its handler threw, the user is told in plain
// words, the system's default handling answers the message, and Lumarel goes on.

#include <windows.h>
#include <commctrl.h>

#include <exception>
#include <optional>

namespace lumarel {

class MessageBoxes;

// Where such failures are told (the main window's message boxes); nullptr: a plain box.
void TellEscapedFailuresThrough(MessageBoxes* messages);

enum class AfterFailure { GoesOn, Closes };

// Tells the user that what they asked for could not be finished, and why. A failure while
// handling a message the user did not send (painting, a timer, the pointer moving) is told
// once per kind of message: it would come back at once and box the user in.
void TellEscapedFailure(std::exception_ptr failure, UINT message, AfterFailure after) noexcept;

template <typename Handler, typename Fallback>
LRESULT CatchAtSystemBoundary(UINT message, Handler&& handler, Fallback&& fallback) noexcept {
    try {
        return handler();
    } catch (...) {
        TellEscapedFailure(std::current_exception(), message, AfterFailure::GoesOn);
    }
    try {
        return fallback();
    } catch (...) {
        return 0;
    }
}

// A control's own share of its messages: an answer, or nothing to leave the message to the
// control. `data` is what SetWindowSubclass was given.
using ControlMessageHandler = std::optional<LRESULT> (*)(HWND control, UINT message, WPARAM wParam,
                                                         LPARAM lParam, DWORD_PTR data);

// The subclass procedure that puts a handler in front of a control: inside the boundary,
// with the control's own handling as the fallback, and gone with the control.
template <ControlMessageHandler Handler>
LRESULT CALLBACK GuardedSubclass(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                 UINT_PTR id, DWORD_PTR data) {
    return CatchAtSystemBoundary(
        message,
        [&]() -> LRESULT {
            if (message == WM_NCDESTROY) {
                RemoveWindowSubclass(control, GuardedSubclass<Handler>, id);
            } else if (const std::optional<LRESULT> answer =
                           Handler(control, message, wParam, lParam, data)) {
                return *answer;
            }
            return DefSubclassProc(control, message, wParam, lParam);
        },
        [&] { return DefSubclassProc(control, message, wParam, lParam); });
}

// Takes such a handler off a control that outlives the object whose data it was given.
template <ControlMessageHandler Handler>
void RemoveGuardedSubclass(HWND control) {
    if (control != nullptr && IsWindow(control)) {
        RemoveWindowSubclass(control, GuardedSubclass<Handler>, 0);
    }
}

}  // namespace lumarel
