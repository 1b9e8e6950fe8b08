#pragma once
// The window procedure that hands every message to the C++ object behind a window. The
// object comes in CreateWindowExW's last argument and must offer AttachWindow(HWND) and
// Handle(message, wParam, lParam).

#include <windows.h>

#include "ui/window/handler_guard.h"

namespace lumarel {

template <typename Owner>
LRESULT CALLBACK ForwardToOwner(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return CatchAtSystemBoundary(
        message,
        [&]() -> LRESULT {
            if (message == WM_NCCREATE) {
                auto* owner =
                    static_cast<Owner*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
                owner->AttachWindow(window);
                SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
            }
            auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
            if (owner == nullptr) {
                return DefWindowProcW(window, message, wParam, lParam);
            }
            return owner->Handle(message, wParam, lParam);
        },
        [&] { return DefWindowProcW(window, message, wParam, lParam); });
}

// Moves a window to the rectangle Windows suggests with WM_DPICHANGED.
inline void MoveToSuggestedRect(HWND window, LPARAM suggestedRect) {
    const auto* suggested = reinterpret_cast<const RECT*>(suggestedRect);
    SetWindowPos(window, nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace lumarel
