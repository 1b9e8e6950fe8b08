#pragma once
// C++ exceptions stop where the system called into Lumarel: a window procedure or a subclass
// procedure. Unwinding through the system's own code between it and the message loop is not
// defined, so each such entry catches what its handler threw, the user is told in plain
// words, and Lumarel goes on with the next message.

#include <windows.h>

#include <exception>

namespace lumarel {

class MessageBoxes;

// Where such failures are told (the main window's message boxes); nullptr: a plain box.
void TellEscapedFailuresThrough(MessageBoxes* messages);

// Tells the user that an action could not be finished, and why.
void TellEscapedFailure(std::exception_ptr failure) noexcept;

template <typename Handler>
LRESULT CatchAtSystemBoundary(Handler&& handler) noexcept {
    try {
        return handler();
    } catch (...) {
        TellEscapedFailure(std::current_exception());
        return 0;
    }
}

}  // namespace lumarel
