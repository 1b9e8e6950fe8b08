#include "ui/controls/control_messages.h"

namespace lumarel {

std::wstring WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

std::wstring ListItemText(HWND dropDownList, int index) {
    if (index < 0) {
        return {};
    }
    const LRESULT length =
        SendMessageW(dropDownList, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR) {
        return {};
    }
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(dropDownList, CB_GETLBTEXT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

int CheckStateOf(HWND checkBox) {
    return static_cast<int>(SendMessageW(checkBox, BM_GETCHECK, 0, 0));
}

}  // namespace lumarel
