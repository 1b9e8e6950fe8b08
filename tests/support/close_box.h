#pragma once
// Where a window's close box is, as the window itself answers where the pointer is: the same
// question the system asks before a click there becomes the close box's.

#include <windows.h>

namespace lumarel::testing {

// A point of the window's close box, on the screen; {-1, -1} when it has none.
inline POINT CloseBoxOf(HWND window) {
    RECT outer{};
    GetWindowRect(window, &outer);
    for (int x = outer.right - 1; x > outer.left; --x) {
        for (int y = outer.top; y < outer.top + 40; ++y) {
            if (SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE) {
                return {x, y};
            }
        }
    }
    return {-1, -1};
}

}  // namespace lumarel::testing
