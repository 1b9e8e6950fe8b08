// A window's hover texts and the names screen readers announce.

#include "ui/controls/control_table.h"

#include <commctrl.h>

#include "ui/controls/accessibility.h"

namespace lumarel {

void ControlSet::CreateTooltips() {
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent_, GWLP_HINSTANCE));
    tooltips_ =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, parent_, nullptr, instance, nullptr);
    // The message loop finds a window's tooltip control by this property and relays the
    // mouse to it.
    if (tooltips_ != nullptr) {
        SetPropW(parent_, kTooltipsProperty, tooltips_);
    }
}

void ControlSet::SetTooltip(int id, const std::wstring& text) {
    HWND control = Hwnd(id);
    if (tooltips_ == nullptr || control == nullptr) {
        return;
    }
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    // No TTF_SUBCLASS: the tooltip's hook into every message made filling a list of
    // thousands of ROMs take seconds under Wine. The message loop relays the mouse instead.
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = parent_;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    if (tipped_.insert(id).second) {
        SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    } else {
        SendMessageW(tooltips_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void ControlSet::NameControlsForScreenReaders() const {
    for (const ControlDesign& design : table_) {
        if (design.caption == nullptr && design.kind != ControlKind::Frame &&
            design.kind != ControlKind::StatusBar) {
            NameForScreenReaders(Hwnd(design.id), AccessibleName(design));
        }
    }
}

std::wstring ControlSet::AccessibleName(const ControlDesign& design) const {
    if (design.tooltip != nullptr) {
        return design.tooltip;
    }
    if (design.screenReaderName != nullptr) {
        return design.screenReaderName;
    }
    const ControlDesign* frame = DesignOf(design.frame);
    if (frame != nullptr && frame->caption != nullptr) {
        return frame->caption;
    }
    return design.name;
}

}  // namespace lumarel
