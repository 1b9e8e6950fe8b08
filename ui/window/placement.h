#pragma once
// Where a window that centres itself goes: plain arithmetic, no window.

#include "platform/services.h"

namespace lumarel {

struct WindowOrigin {
    int left = 0;
    int top = 0;
};

// top = screen height / 2 - window height / 2, left likewise, in single precision and with
// nothing clamped: a window larger than the screen gets a negative origin.
WindowOrigin CentredOrigin(ScreenSize screen, int windowWidth, int windowHeight);

}  // namespace lumarel
