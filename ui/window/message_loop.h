#pragma once

#include <windows.h>
#include <commctrl.h>

#include "platform/win32/live_wait.h"
#include "ui/controls/control_table.h"

namespace lumarel {

// Delivers messages until `done` says so or WM_QUIT arrives, with the keyboard handled as
// in dialogs (Tab, arrows, access keys). Each message starts an action of its own: a wait
// the person gave up in the one before is no reason not to wait in this one. Returns false
// when WM_QUIT ended it.
template <typename Done>
bool PumpMessagesUntil(Done done) {
    MSG message;
    while (!done()) {
        // What a handler that waited for a drive put off: a close, a change announced.
        win32::RunWorkAfterHandlers();
        if (done()) {
            break;
        }
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) {
                PostQuitMessage(static_cast<int>(message.wParam));
            }
            return false;
        }
        win32::StartNextAction();
        HWND root = GetAncestor(message.hwnd, GA_ROOT);
        if (root != nullptr && message.message >= WM_MOUSEFIRST &&
            message.message <= WM_MOUSELAST) {
            if (HWND tooltips = static_cast<HWND>(GetPropW(root, kTooltipsProperty))) {
                SendMessageW(tooltips, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
            }
        }
        if (root != nullptr && IsDialogMessageW(root, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return true;
}

}  // namespace lumarel
