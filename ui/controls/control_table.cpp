#include "ui/controls/control_table.h"

#include <commctrl.h>

#include "ui/controls/dpi.h"

namespace lumarel {

namespace {

// A closed drop-down list is as high as its font makes it; the height given at creation
// is the height of the open list.
constexpr int kDropDownListTwips = 3600;

struct WindowClass {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

WindowClass ClassFor(ControlKind kind) {
    switch (kind) {
        case ControlKind::Frame:
            return {WC_BUTTONW, BS_GROUPBOX, 0};
        case ControlKind::Label:
            return {WC_STATICW, SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0};
        case ControlKind::CentredLabel:
            return {WC_STATICW, SS_CENTER | SS_NOPREFIX, 0};
        case ControlKind::PictureButton:
            return {WC_BUTTONW, BS_PUSHBUTTON | BS_ICON | WS_TABSTOP, 0};
        case ControlKind::PushButton:
            return {WC_BUTTONW, BS_PUSHBUTTON | WS_TABSTOP, 0};
        case ControlKind::OptionButton:
            // Not the automatic kind: Lumarel keeps its groups itself (SelectOptionButton), since
            // an automatic button searches its whole group at every check, which under Wine
            // cost milliseconds a button at start-up. BS_NOTIFY tells when an arrow key brings
            // the focus, which selects the button as in any Windows dialog.
            return {WC_BUTTONW, BS_RADIOBUTTON | BS_NOTIFY | WS_TABSTOP, 0};
        case ControlKind::CheckBox:
            return {WC_BUTTONW, BS_3STATE | WS_TABSTOP, 0};
        case ControlKind::DropDownList:
        case ControlKind::DriveList:
            return {WC_COMBOBOXW, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0};
        case ControlKind::DirectoryList:
            return {WC_LISTBOXW,
                    LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT |
                        WS_VSCROLL | WS_TABSTOP,
                    WS_EX_CLIENTEDGE};
        case ControlKind::TextBox:
            return {WC_EDITW, ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
        case ControlKind::ReadOnlyText:
            return {WC_EDITW, ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP,
                    WS_EX_CLIENTEDGE};
        case ControlKind::Picture:
            return {WC_STATICW, SS_BITMAP | SS_CENTERIMAGE | SS_NOTIFY, 0};
        case ControlKind::StatusBar:
            return {STATUSCLASSNAMEW, CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER, 0};
        case ControlKind::ListBox:
            return {WC_LISTBOXW, LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
                    WS_EX_CLIENTEDGE};
        case ControlKind::FileList:
            // Owner data: the list holds no names, only their count (ui/browser/file_list.h).
            return {WC_LISTVIEWW,
                    LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_OWNERDATA | LVS_SINGLESEL |
                        LVS_SHOWSELALWAYS | WS_TABSTOP,
                    WS_EX_CLIENTEDGE};
    }
    return {WC_STATICW, 0, 0};
}

// An option button continues the group of the option button before it in the same frame;
// every other control starts a group of its own.
bool StartsGroup(std::span<const ControlDesign> table, size_t index) {
    const ControlDesign& design = table[index];
    if (design.kind != ControlKind::OptionButton || index == 0) {
        return true;
    }
    const ControlDesign& previous = table[index - 1];
    return previous.kind != ControlKind::OptionButton || previous.frame != design.frame;
}

}  // namespace

ControlSet::~ControlSet() {
    if (parent_ != nullptr && IsWindow(parent_)) {
        RemovePropW(parent_, kTooltipsProperty);
    }
    if (tooltips_ != nullptr) {
        DestroyWindow(tooltips_);
    }
}

bool ControlSet::Create(HWND parent, std::span<const ControlDesign> table, UINT dpi) {
    parent_ = parent;
    table_ = table;
    dpi_ = dpi;
    fonts_ = TableFonts::For(table, dpi);
    CreateTooltips();
    instance_ = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    TextMeasure measure(parent);
    for (size_t index = 0; index < table.size(); ++index) {
        const ControlDesign& design = table[index];
        const WindowClass windowClass = ClassFor(design.kind);
        DWORD style = WS_CHILD | WS_VISIBLE | windowClass.style;
        if (StartsGroup(table, index)) {
            style |= WS_GROUP;
        }
        const wchar_t* caption = design.caption != nullptr ? design.caption : L"";
        // Made at its place in its font: no second pass over the controls.
        const RECT rect = PlacedRect(design, caption, measure, dpi);
        HWND control = CreateWindowExW(
            windowClass.exStyle, windowClass.className, caption, style, rect.left, rect.top,
            rect.right - rect.left, rect.bottom - rect.top, parent,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(design.id)), instance_, nullptr);
        if (control == nullptr) {
            return false;
        }
        windows_[design.id] = control;
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Of(design)), FALSE);
        for (const wchar_t* item : design.items) {
            SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        }
        if (design.kind == ControlKind::DropDownList) {
            SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
            SendMessageW(control, CB_SETMINVISIBLE, static_cast<WPARAM>(design.items.size()), 0);
        }
        if (design.kind == ControlKind::TextBox) {
            // No length limit of Lumarel's own: the largest the control allows.
            SendMessageW(control, EM_LIMITTEXT, 0, 0);
        }
        if (design.tooltip != nullptr) {
            SetTooltip(design.id, design.tooltip);
        }
    }
    if (tooltips_ != nullptr) {
        SendMessageW(tooltips_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Dialog()), FALSE);
    }
    ShowPictures();
    return true;
}

void ControlSet::ShowPictures() {
    const auto controlOf = [this](int id) { return Hwnd(id); };
    pictures_.Show(instance_, table_, controlOf, dpi_);
}

RECT ControlSet::PixelRect(const ControlDesign& design, UINT dpi) const {
    TwipsRect rect = design.rect;
    for (const ControlDesign* frame = DesignOf(design.frame); frame != nullptr;
         frame = DesignOf(frame->frame)) {
        rect.left += frame->rect.left;
        rect.top += frame->rect.top;
    }
    const int left = TwipsToPixels(rect.left, dpi);
    const int top = TwipsToPixels(rect.top, dpi);
    return {left, top, left + TwipsToPixels(rect.width, dpi),
            top + TwipsToPixels(rect.height, dpi)};
}

RECT ControlSet::PlacedRect(const ControlDesign& design, const std::wstring& caption,
                            TextMeasure& measure, UINT dpi) const {
    RECT rect = PixelRect(design, dpi);
    if (design.kind == ControlKind::DropDownList || design.kind == ControlKind::DriveList) {
        rect.bottom = rect.top + TwipsToPixels(kDropDownListTwips, dpi);
    }
    measure.FitToText(fonts_.Of(design), caption, design.kind, dpi, rect);
    return rect;
}

void ControlSet::Layout(UINT dpi) {
    TableFonts fonts = TableFonts::For(table_, dpi);
    std::swap(fonts_, fonts);  // the old fonts stay alive until every control has its new one
    dpi_ = dpi;
    TextMeasure measure(parent_);
    for (const ControlDesign& design : table_) {
        HWND control = Hwnd(design.id);
        const RECT rect = PlacedRect(design, WindowText(control), measure, dpi);
        SetWindowPos(control, nullptr, rect.left, rect.top, rect.right - rect.left,
                     rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Of(design)), FALSE);
    }
    if (tooltips_ != nullptr) {
        SendMessageW(tooltips_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Dialog()), FALSE);
    }
    ShowPictures();
    InvalidateRect(parent_, nullptr, TRUE);
}

void ControlSet::FollowSystemLook(UINT message, WPARAM wParam, LPARAM lParam) {
    // WM_THEMECHANGED reaches every window from the system; WM_SYSCOLORCHANGE only the
    // top-level ones.
    if (message == WM_SYSCOLORCHANGE) {
        for (const auto& [id, control] : windows_) {
            SendMessageW(control, message, wParam, lParam);
        }
        if (tooltips_ != nullptr) {
            SendMessageW(tooltips_, message, wParam, lParam);
        }
    }
    RedrawWindow(parent_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void ControlSet::SetCaption(int id, const std::wstring& text) {
    HWND control = Hwnd(id);
    const ControlDesign* design = DesignOf(id);
    if (control == nullptr || design == nullptr) {
        return;
    }
    SetWindowTextW(control, text.c_str());
    TextMeasure measure(control);
    const RECT rect = PlacedRect(*design, text, measure, dpi_);
    SetWindowPos(control, nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(control, nullptr, TRUE);
}

HWND ControlSet::Hwnd(int id) const {
    const auto found = windows_.find(id);
    return found != windows_.end() ? found->second : nullptr;
}

const ControlDesign* ControlSet::DesignOf(int id) const {
    for (const ControlDesign& design : table_) {
        if (design.id == id) {
            return &design;
        }
    }
    return nullptr;
}

void ControlSet::OnCommand(int id, int code) {
    const ControlDesign* design = DesignOf(id);
    if (design == nullptr) {
        return;
    }
    if (design->kind == ControlKind::OptionButton) {
        // Focus that comes from the keyboard selects; a press of the mouse selects on its
        // click, and Windows' own click on focus is then one more of the same.
        const bool byKeyboard = code == BN_SETFOCUS && GetCapture() != Hwnd(id);
        if (code == BN_CLICKED || code == BN_DOUBLECLICKED || byKeyboard) {
            SelectOptionButton(id);
        }
        return;
    }
    if (design->kind != ControlKind::CheckBox || code != BN_CLICKED) {
        return;
    }
    HWND box = Hwnd(id);
    const int next = CheckStateOf(box) == BST_UNCHECKED ? BST_CHECKED : BST_UNCHECKED;
    SendMessageW(box, BM_SETCHECK, static_cast<WPARAM>(next), 0);
}

void ControlSet::HandNotificationsTo(int id, DecodingControl& decoder) {
    decoders_[Hwnd(id)] = &decoder;
    decoder.TellThrough([this, id](int notification) {
        if (wiring_) {
            wiring_(id, notification);
        }
    });
}

std::optional<LRESULT> ControlSet::Decode(UINT message, WPARAM wParam, LPARAM lParam) const {
    HWND sender = nullptr;
    if (message == WM_COMMAND) {
        sender = reinterpret_cast<HWND>(lParam);
    } else if (message == WM_NOTIFY) {
        sender = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
    } else if (message == WM_DRAWITEM && wParam != 0) {  // 0: a menu's item, not a control's
        sender = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem;
    }
    const auto decoder = sender != nullptr ? decoders_.find(sender) : decoders_.end();
    if (decoder == decoders_.end()) {
        return std::nullopt;
    }
    return decoder->second->OnNotification(message, wParam, lParam);
}

void ControlSet::SelectOptionButton(int id) {
    const ControlDesign* selected = DesignOf(id);
    if (selected == nullptr || selected->kind != ControlKind::OptionButton) {
        return;
    }
    for (const ControlDesign& design : table_) {
        if (design.kind == ControlKind::OptionButton && design.frame == selected->frame) {
            HWND button = Hwnd(design.id);
            const WPARAM state = design.id == id ? BST_CHECKED : BST_UNCHECKED;
            // The check also moves the group's tab stop to the selected button.
            const bool tabStop = (GetWindowLongPtrW(button, GWL_STYLE) & WS_TABSTOP) != 0;
            if (static_cast<WPARAM>(CheckStateOf(button)) != state ||
                tabStop != (state == BST_CHECKED)) {
                SendMessageW(button, BM_SETCHECK, state, 0);
            }
        }
    }
}

}  // namespace lumarel
