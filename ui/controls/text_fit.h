#pragma once
// The fonts of a window's controls and captions that are never cut off: with a font wider
// than the one the layout was drawn for, a label, check box or option button grows to its
// text.

#include <windows.h>

#include <map>
#include <optional>
#include <string>

#include "platform/owned.h"
#include "ui/controls/control_design.h"

namespace lumarel {

// The fonts one window's controls use at one dpi: the dialog font and each font of its own a
// table names, made once however many controls share it.
class TableFonts {
public:
    // Makes the fonts for the dpi; the old ones stay valid until this object is replaced.
    static TableFonts For(std::span<const ControlDesign> table, UINT dpi);
    HFONT Of(const ControlDesign& design) const;
    HFONT Dialog() const { return dialog_.Get(); }

private:
    OwnedFont dialog_;
    std::map<const FontDesign*, OwnedFont> own_;
};

// One device context to measure a whole table's captions, selecting a font only when it
// changes.
class TextMeasure {
public:
    explicit TextMeasure(HWND window) : dc_(window) {}

    // Widens the rectangle of a label, check box or option button to its caption, and
    // leaves every other kind as it is.
    void FitToText(HFONT font, const std::wstring& text, ControlKind kind, UINT dpi, RECT& rect);

private:
    WindowDc dc_;
    std::optional<SelectedObject> firstFont_;  // puts back the font the context had
    HFONT selected_ = nullptr;
};

}  // namespace lumarel
