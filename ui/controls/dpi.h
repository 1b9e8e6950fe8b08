#pragma once
// Twips to pixels for the monitor a window is on, and the matching user-interface font.

#include <windows.h>

#include <array>
#include <cstddef>

namespace lumarel {

inline constexpr int kTwipsPerInch = 1440;

// The scales, in per cent, that Lumarel's pictures are drawn at.
inline constexpr std::array<int, 3> kPictureScales = {100, 150, 200};

// Which of kPictureScales to show at a dpi: the largest the dpi reaches, so that a picture
// never outgrows the control laid out for it (at 125 % the 100 % picture, at 175 % the 150 %).
inline std::size_t PictureScaleIndex(UINT dpi) {
    std::size_t index = 0;
    while (index + 1 < kPictureScales.size() &&
           static_cast<int>(dpi) * 100 >= kPictureScales[index + 1] * USER_DEFAULT_SCREEN_DPI) {
        ++index;
    }
    return index;
}

// Pixels for a length in twips at the given dots per inch.
inline int TwipsToPixels(int twips, UINT dpi) {
    return MulDiv(twips, static_cast<int>(dpi), kTwipsPerInch);
}

// The dots per inch of the monitor the window is on (the system's on older Windows).
UINT WindowDpi(HWND window);

// The outer size of a window whose client area has the given size.
SIZE OuterSizeForClient(SIZE client, DWORD style, DWORD exStyle, bool hasMenu, UINT dpi);

// A system metric (a scroll bar's width, say) at the given dpi, as a window on a monitor of
// that dpi has it.
int SystemMetric(int index, UINT dpi);

// The classic 8-point dialog font at the given dpi. The windows' layouts were drawn for it:
// the system's larger message font of current Windows would cut their captions off.
HFONT CreateDialogFont(UINT dpi);

// A named font at a size in points, at the given dpi.
HFONT CreatePointFont(const wchar_t* face, double points, UINT dpi, bool underline = false);

}  // namespace lumarel
