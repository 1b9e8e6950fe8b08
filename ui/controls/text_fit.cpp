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

TableFonts TableFonts::For(std::span<const ControlDesign> table, UINT dpi) {
    TableFonts fonts;
    fonts.dialog_.Reset(CreateDialogFont(dpi));
    for (const ControlDesign& design : table) {
        if (design.font != nullptr && fonts.own_.count(design.font) == 0) {
            fonts.own_[design.font].Reset(CreatePointFont(design.font->face, design.font->points,
                                                          dpi, design.font->underline));
        }
    }
    return fonts;
}

HFONT TableFonts::Of(const ControlDesign& design) const {
    if (design.font == nullptr) {
        return dialog_.Get();
    }
    const auto found = own_.find(design.font);
    return found != own_.end() && found->second ? found->second.Get() : dialog_.Get();
}

void TextMeasure::FitToText(HFONT font, const std::wstring& text, ControlKind kind, UINT dpi,
                            RECT& rect) {
    HDC dc = dc_.Get();
    if (dc == nullptr || !HasTextToFit(kind) || text.empty() ||
        text.find(L'\n') != std::wstring::npos) {
        return;
    }
    if (font != selected_) {
        if (firstFont_) {
            SelectObject(dc, font);
        } else {
            firstFont_.emplace(dc, font);
        }
        selected_ = font;
    }
    SIZE extent{};
    if (!GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent)) {
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
