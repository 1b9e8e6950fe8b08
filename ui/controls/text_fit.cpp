#include "ui/controls/text_fit.h"

#include <utility>

#include "ui/controls/dpi.h"

namespace lumarel {

namespace {

// Twips taken by the box of a check box or option button and the gap after it.
constexpr int kButtonBoxTwips = 300;

bool HasTextToFit(ControlKind kind) {
    return kind == ControlKind::Label || kind == ControlKind::CentredLabel ||
           kind == ControlKind::OptionButton || kind == ControlKind::CheckBox;
}

}  // namespace

TableFonts::TableFonts(TableFonts&& other) noexcept
    : dialog_(std::exchange(other.dialog_, nullptr)), own_(std::move(other.own_)) {
    other.own_.clear();
}

TableFonts& TableFonts::operator=(TableFonts&& other) noexcept {
    if (this != &other) {
        Release();
        dialog_ = std::exchange(other.dialog_, nullptr);
        own_ = std::move(other.own_);
        other.own_.clear();
    }
    return *this;
}

TableFonts::~TableFonts() {
    Release();
}

void TableFonts::Release() {
    if (dialog_ != nullptr) {
        DeleteObject(dialog_);
        dialog_ = nullptr;
    }
    for (const auto& [face, font] : own_) {
        DeleteObject(font);
    }
    own_.clear();
}

TableFonts TableFonts::For(std::span<const ControlSpec> table, UINT dpi) {
    TableFonts fonts;
    fonts.dialog_ = CreateDialogFont(dpi);
    for (const ControlSpec& design : table) {
        if (design.font != nullptr && fonts.own_.count(design.font) == 0) {
            fonts.own_[design.font] = CreatePointFont(design.font->face, design.font->points, dpi,
                                                      design.font->underline);
        }
    }
    return fonts;
}

HFONT TableFonts::Of(const ControlSpec& design) const {
    if (design.font == nullptr) {
        return dialog_;
    }
    const auto found = own_.find(design.font);
    return found != own_.end() && found->second != nullptr ? found->second : dialog_;
}

TextMeasure::TextMeasure(HWND window) : window_(window), dc_(GetDC(window)) {}

TextMeasure::~TextMeasure() {
    if (dc_ == nullptr) {
        return;
    }
    if (original_ != nullptr) {
        SelectObject(dc_, original_);
    }
    ReleaseDC(window_, dc_);
}

void TextMeasure::FitToText(HFONT font, const std::wstring& text, ControlKind kind, UINT dpi,
                            RECT& rect) {
    if (dc_ == nullptr || !HasTextToFit(kind) || text.empty() ||
        text.find(L'\n') != std::wstring::npos) {
        return;
    }
    if (font != selected_) {
        const HGDIOBJ previous = SelectObject(dc_, font);
        if (original_ == nullptr) {
            original_ = previous;
        }
        selected_ = font;
    }
    SIZE extent{};
    if (!GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &extent)) {
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
        rect.left -= missing / 2;  // centred labels grow on both sides
    }
    rect.right = rect.left + extent.cx + 1;
}

}  // namespace lumarel
