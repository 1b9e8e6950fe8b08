#include "ui/controls/control_table.h"

#include <commctrl.h>

#include "ui/controls/accessibility.h"
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
            return {WC_BUTTONW, BS_PUSHBUTTON | BS_BITMAP | WS_TABSTOP, 0};
        case ControlKind::PushButton:
            return {WC_BUTTONW, BS_PUSHBUTTON | WS_TABSTOP, 0};
        case ControlKind::OptionButton:
            return {WC_BUTTONW, BS_AUTORADIOBUTTON | WS_TABSTOP, 0};
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
        case ControlKind::FileList:
            return {WC_LISTBOXW, LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
                    WS_EX_CLIENTEDGE};
    }
    return {WC_STATICW, 0, 0};
}

// An option button continues the group of the option button before it in the same frame;
// every other control starts a group of its own.
bool StartsGroup(std::span<const ControlSpec> table, size_t index) {
    const ControlSpec& design = table[index];
    if (design.kind != ControlKind::OptionButton || index == 0) {
        return true;
    }
    const ControlSpec& previous = table[index - 1];
    return previous.kind != ControlKind::OptionButton || previous.frame != design.frame;
}

// Twips taken by the box of a check box or option button and the gap after it.
constexpr int kButtonBoxTwips = 300;

bool HasTextToFit(ControlKind kind) {
    return kind == ControlKind::Label || kind == ControlKind::CentredLabel ||
           kind == ControlKind::OptionButton || kind == ControlKind::CheckBox;
}

// Captions are never cut off: with a font wider than the one the layout was drawn for, a
// label, check box or option button grows to its text (centred labels on both sides).
void FitToText(HDC measure, const std::wstring& text, ControlKind kind, UINT dpi, RECT& rect) {
    SIZE extent{};
    if (text.empty() || text.find(L'\n') != std::wstring::npos ||
        !GetTextExtentPoint32W(measure, text.c_str(), static_cast<int>(text.size()), &extent)) {
        return;
    }
    if (kind == ControlKind::OptionButton || kind == ControlKind::CheckBox) {
        extent.cx += TwipsToPixels(kButtonBoxTwips, dpi);
    }
    const LONG missing = extent.cx + 1 - (rect.right - rect.left);
    if (missing <= 0) {
        return;
    }
    if (kind == ControlKind::CentredLabel) {
        rect.left -= missing / 2;
    }
    rect.right = rect.left + extent.cx + 1;
}

}  // namespace

void DeleteFonts(std::vector<HFONT>& fonts) {
    for (HFONT font : fonts) {
        DeleteObject(font);
    }
    fonts.clear();
}

ControlSet::~ControlSet() {
    DeleteFonts(ownFonts_);
    if (parent_ != nullptr && IsWindow(parent_)) {
        RemovePropW(parent_, kTooltipsProperty);
    }
    if (tooltips_ != nullptr) {
        DestroyWindow(tooltips_);
    }
    if (font_ != nullptr) {
        DeleteObject(font_);
    }
}

bool ControlSet::Create(HWND parent, std::span<const ControlSpec> table, UINT dpi) {
    parent_ = parent;
    table_ = table;
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    tooltips_ =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr, instance, nullptr);
    // The message loop finds a window's tooltip control by this property and relays the
    // mouse to it.
    if (tooltips_ != nullptr) {
        SetPropW(parent, kTooltipsProperty, tooltips_);
    }

    for (size_t index = 0; index < table.size(); ++index) {
        const ControlSpec& design = table[index];
        const WindowClass windowClass = ClassFor(design.kind);
        DWORD style = WS_CHILD | WS_VISIBLE | windowClass.style;
        if (StartsGroup(table, index)) {
            style |= WS_GROUP;
        }
        HWND control = CreateWindowExW(
            windowClass.exStyle, windowClass.className,
            design.caption != nullptr ? design.caption : L"", style, 0, 0, 0, 0, parent,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(design.id)), instance, nullptr);
        if (control == nullptr) {
            return false;
        }
        windows_[design.id] = control;
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
    Layout(dpi);
    return true;
}

RECT ControlSet::PixelRect(const ControlSpec& design, UINT dpi) const {
    TwipsRect rect = design.rect;
    for (const ControlSpec* frame = DesignOf(design.frame); frame != nullptr;
         frame = DesignOf(frame->frame)) {
        rect.left += frame->rect.left;
        rect.top += frame->rect.top;
    }
    const int left = TwipsToPixels(rect.left, dpi);
    const int top = TwipsToPixels(rect.top, dpi);
    return {left, top, left + TwipsToPixels(rect.width, dpi),
            top + TwipsToPixels(rect.height, dpi)};
}

void ControlSet::Layout(UINT dpi) {
    dpi_ = dpi;
    HFONT font = CreateDialogFont(dpi);
    std::vector<HFONT> ownFonts;
    HDC measure = GetDC(parent_);
    HGDIOBJ previousFont = SelectObject(measure, font);
    for (const ControlSpec& design : table_) {
        HWND control = Hwnd(design.id);
        HFONT controlFont = font;
        if (design.font != nullptr) {
            controlFont = CreatePointFont(design.font->face, design.font->points, dpi,
                                          design.font->underline);
            ownFonts.push_back(controlFont);
        }
        SelectObject(measure, controlFont);
        RECT rect = PixelRect(design, dpi);
        if (design.kind == ControlKind::DropDownList || design.kind == ControlKind::DriveList) {
            rect.bottom = rect.top + TwipsToPixels(kDropDownListTwips, dpi);
        }
        if (HasTextToFit(design.kind)) {
            FitToText(measure, WindowText(control), design.kind, dpi, rect);
        }
        SetWindowPos(control, nullptr, rect.left, rect.top, rect.right - rect.left,
                     rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
        if (controlFont != nullptr) {
            SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(controlFont), FALSE);
        }
    }
    SelectObject(measure, previousFont);
    ReleaseDC(parent_, measure);
    if (font_ != nullptr) {
        DeleteObject(font_);
    }
    font_ = font;
    DeleteFonts(ownFonts_);
    ownFonts_ = std::move(ownFonts);
    if (tooltips_ != nullptr && font != nullptr) {
        SendMessageW(tooltips_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    InvalidateRect(parent_, nullptr, TRUE);
}

void ControlSet::SetCaption(int id, const std::wstring& text) {
    HWND control = Hwnd(id);
    const ControlSpec* design = DesignOf(id);
    if (control == nullptr || design == nullptr) {
        return;
    }
    SetWindowTextW(control, text.c_str());
    if (!HasTextToFit(design->kind)) {
        return;
    }
    RECT rect = PixelRect(*design, dpi_);
    HDC measure = GetDC(control);
    const HGDIOBJ previousFont =
        SelectObject(measure, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    FitToText(measure, text, design->kind, dpi_, rect);
    SelectObject(measure, previousFont);
    ReleaseDC(control, measure);
    SetWindowPos(control, nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(control, nullptr, TRUE);
}

HWND ControlSet::Hwnd(int id) const {
    const auto found = windows_.find(id);
    return found != windows_.end() ? found->second : nullptr;
}

const ControlSpec* ControlSet::DesignOf(int id) const {
    for (const ControlSpec& design : table_) {
        if (design.id == id) {
            return &design;
        }
    }
    return nullptr;
}

void ControlSet::NameControlsForScreenReaders() const {
    for (const ControlSpec& design : table_) {
        if (design.caption == nullptr && design.kind != ControlKind::Frame &&
            design.kind != ControlKind::StatusBar) {
            NameForScreenReaders(Hwnd(design.id), AccessibleName(design));
        }
    }
}

std::wstring ControlSet::AccessibleName(const ControlSpec& design) const {
    if (design.tooltip != nullptr) {
        return design.tooltip;
    }
    if (design.screenReaderName != nullptr) {
        return design.screenReaderName;
    }
    const ControlSpec* frame = DesignOf(design.frame);
    if (frame != nullptr && frame->caption != nullptr) {
        return frame->caption;
    }
    return design.name;
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

void ControlSet::OnCommand(int id, int code) {
    const ControlSpec* design = DesignOf(id);
    if (design == nullptr || design->kind != ControlKind::CheckBox || code != BN_CLICKED) {
        return;
    }
    HWND box = Hwnd(id);
    const int next = CheckStateOf(box) == BST_UNCHECKED ? BST_CHECKED : BST_UNCHECKED;
    SendMessageW(box, BM_SETCHECK, static_cast<WPARAM>(next), 0);
}

void ControlSet::SelectOptionButton(int id) {
    const ControlSpec* selected = DesignOf(id);
    if (selected == nullptr || selected->kind != ControlKind::OptionButton) {
        return;
    }
    for (const ControlSpec& design : table_) {
        if (design.kind == ControlKind::OptionButton && design.frame == selected->frame) {
            SendMessageW(Hwnd(design.id), BM_SETCHECK,
                         design.id == id ? BST_CHECKED : BST_UNCHECKED, 0);
        }
    }
}

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
