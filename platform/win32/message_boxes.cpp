#include <windows.h>

#include "platform/win32/win32_services.h"

namespace lumarel {

namespace {

UINT IconStyle(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Exclamation:
            return MB_ICONEXCLAMATION;
        case MessageIcon::Information:
            return MB_ICONINFORMATION;
        case MessageIcon::Error:
            return MB_ICONERROR;
        case MessageIcon::None:
            break;
    }
    return 0;
}

// The window a message belongs to: the active one, or, when Lumarel is not in front, the
// last window the user worked in. An owner keeps the box modal: without one the main window
// would take clicks while the message is up.
HWND MessageOwner() {
    if (HWND active = GetActiveWindow()) {
        return active;
    }
    HWND owner = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM found) -> BOOL {
            if (IsWindowVisible(window) && GetWindow(window, GW_OWNER) == nullptr) {
                *reinterpret_cast<HWND*>(found) = GetLastActivePopup(window);
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&owner));
    return owner;
}

}  // namespace

void Win32MessageBoxes::Show(const Message& message) {
    MessageBoxW(MessageOwner(), message.text.c_str(), message.title.c_str(),
                MB_OK | IconStyle(message.icon));
}

}  // namespace lumarel
