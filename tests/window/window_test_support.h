#pragma once
// Helpers for tests that drive real windows in this process.

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "ui/controls/control_table.h"

namespace lumarel::testing {

// Delivers everything that is waiting, as the message loop would.
inline void DrainMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// The hover text a tooltip control holds for a child window; empty when it has none.
inline std::wstring TooltipOf(HWND tooltips, HWND parent, HWND control) {
    wchar_t text[512] = L"";
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = parent;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text;
    SendMessageW(tooltips, TTM_GETTEXTW, sizeof(text) / sizeof(text[0]),
                 reinterpret_cast<LPARAM>(&tool));
    return text;
}

// The window tests' operator new (failing_allocation.cpp) fails the nth allocation from now
// on (1: the next) with std::bad_alloc, once, until it is stopped.
void FailAllocation(long nth);
// Back to allocating as usual; true when the failing allocation was reached.
bool StopFailingAllocations();

inline std::wstring ClassOf(HWND window) {
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    return name;
}

}  // namespace lumarel::testing
