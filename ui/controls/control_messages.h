#pragma once
// Small wrappers over the messages every window sends its controls.

#include <windows.h>

#include <string>

namespace lumarel {

std::wstring WindowText(HWND window);
std::wstring ListItemText(HWND dropDownList, int index);
// A check box's state: BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
int CheckStateOf(HWND checkBox);

}  // namespace lumarel
