#pragma once
// C++ exceptions stop where the system called into Lumarel: a window procedure or a subclass
// procedure. Unwinding through the system's own code between it and the message loop is not
// defined, so each such entry catches what its handler threw, the user is told in plain
// words, the system's default handling answers the message, and Lumarel goes on.

#include <windows.h>

#include <exception>

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

}  // namespace lumarel
