#include "ui/controls/handler_guard.h"

#include <new>
#include <stdexcept>
#include <string>

#include "platform/services.h"

namespace lumarel {

namespace {

MessageBoxes* failureMessages = nullptr;

std::wstring ReasonOf(std::exception_ptr failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::bad_alloc&) {
        return L"There was not enough memory for it.";
    } catch (const std::length_error&) {
        return L"A text or a list grew larger than Lumarel can hold.";
    } catch (const std::exception& other) {
        const std::string what = other.what();
        return std::wstring(what.begin(), what.end());  // the library's words are ASCII
    } catch (...) {
        return L"Something unexpected went wrong.";
    }
}

}  // namespace

void TellEscapedFailuresThrough(MessageBoxes* messages) {
    failureMessages = messages;
}

void TellEscapedFailure(std::exception_ptr failure) noexcept {
    // A failure while the user reads about one is not told again on top of it.
    static bool telling = false;
    if (telling) {
        return;
    }
    telling = true;
    try {
        const Message message{L"Lumarel could not finish what you asked for. " + ReasonOf(failure) +
                                  L"\n\nLumarel goes on running.",
                              L"Lumarel", MessageIcon::Error};
        if (failureMessages != nullptr) {
            failureMessages->Show(message);
        } else {
            MessageBoxW(GetActiveWindow(), message.text.c_str(), message.title.c_str(),
                        MB_OK | MB_ICONERROR);
        }
    } catch (...) {
        // Too little memory even for the words: a box with fixed text needs none.
        MessageBoxW(GetActiveWindow(), L"Lumarel could not finish what you asked for.", L"Lumarel",
                    MB_OK | MB_ICONERROR);
    }
    telling = false;
}

}  // namespace lumarel
