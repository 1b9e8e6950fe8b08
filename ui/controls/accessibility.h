#pragma once

#include <windows.h>

#include <string>

namespace lumarel {

// Gives a control without a visible caption (a list, a drop-down, a text box, a picture) the
// name screen readers announce. Windows keeps it through Dynamic Annotation; where that
// service is missing (COM not started, or Wine, which does not implement it) nothing happens.
void NameForScreenReaders(HWND control, const std::wstring& name);

}  // namespace lumarel
