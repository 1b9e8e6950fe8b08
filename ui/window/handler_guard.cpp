#include "ui/window/handler_guard.h"

#include <new>
#include <set>
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
        std::wstring reason;
        for (const char c : std::string(other.what())) {
            reason += static_cast<wchar_t>(static_cast<unsigned char>(c));
        }
        return reason;
    } catch (...) {
        return L"Something unexpected went wrong.";
    }
}

// Messages that come from what the user did: each failure there answers one action of theirs.
bool FromTheUser(UINT message) {
    switch (message) {
        case WM_COMMAND:
        case WM_SYSCOMMAND:
        case WM_KEYDOWN:
        case WM_CHAR:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
            return true;
        default:
            return false;
    }
}

}  // namespace

void TellEscapedFailuresThrough(MessageBoxes* messages) {
    failureMessages = messages;
}

void TellEscapedFailure(std::exception_ptr failure, UINT message, AfterFailure after) noexcept {
    // A failure while the user reads about one is not told again on top of it.
    static bool telling = false;
    if (telling) {
        return;
    }
    telling = true;
    try {
        static std::set<UINT> toldOnce;
        if (after == AfterFailure::Closes || FromTheUser(message) ||
            toldOnce.insert(message).second) {
            const Message told{
                L"Lumarel could not finish what you asked for. " + ReasonOf(failure) +
                    (after == AfterFailure::GoesOn ? L"\n\nLumarel goes on running."
                                                   : L"\n\nLumarel cannot start and closes."),
                L"Lumarel", MessageIcon::Error};
            if (failureMessages != nullptr) {
                failureMessages->Show(told);
            } else {
                MessageBoxW(GetActiveWindow(), told.text.c_str(), told.title.c_str(),
                            MB_OK | MB_ICONERROR);
            }
        }
    } catch (...) {
        // Too little memory even for the words: a box with fixed text needs none.
        MessageBoxW(GetActiveWindow(), L"Lumarel could not finish what you asked for.", L"Lumarel",
                    MB_OK | MB_ICONERROR);
    }
    telling = false;
}

}  // namespace lumarel
