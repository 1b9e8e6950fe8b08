#include "ui/controls/control_pictures.h"

#include <commctrl.h>

#include "ui/controls/dpi.h"

namespace lumarel {

namespace {

constexpr int kPointerPixels = 32;  // at 100 %

// A 32-bit picture with straight alpha as an icon: a button draws an icon blended with its
// own face, in every colour scheme and theme. The mask marks the pixels without any alpha,
// for whatever draws an icon without its alpha channel.
HICON TransparentPicture(HINSTANCE instance, int resource) {
    const OwnedBitmap colour(static_cast<HBITMAP>(
        LoadImageW(instance, MAKEINTRESOURCEW(resource), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    DIBSECTION dib{};
    if (!colour || GetObjectW(colour.Get(), sizeof(dib), &dib) != sizeof(dib) ||
        dib.dsBm.bmBitsPixel != 32 || dib.dsBm.bmBits == nullptr) {
        return nullptr;
    }
    const int width = dib.dsBm.bmWidth;
    const int height = dib.dsBm.bmHeight;
    const int maskStride = (width + 15) / 16 * 2;  // monochrome rows are whole 16-bit words
    std::vector<BYTE> mask(static_cast<size_t>(maskStride) * height, 0);
    const auto* pixels = static_cast<const BYTE*>(dib.dsBm.bmBits);
    const bool bottomUp = dib.dsBmih.biHeight > 0;
    for (int y = 0; y < height; ++y) {
        const BYTE* row =
            pixels + static_cast<ptrdiff_t>(bottomUp ? height - 1 - y : y) * dib.dsBm.bmWidthBytes;
        for (int x = 0; x < width; ++x) {
            if (row[x * 4 + 3] == 0) {
                mask[static_cast<size_t>(y) * maskStride + x / 8] |=
                    static_cast<BYTE>(0x80 >> (x % 8));
            }
        }
    }
    const OwnedBitmap maskBitmap(CreateBitmap(width, height, 1, 1, mask.data()));
    if (!maskBitmap) {
        return nullptr;
    }
    ICONINFO parts{TRUE, 0, 0, maskBitmap.Get(), colour.Get()};
    return CreateIconIndirect(&parts);  // it copies both bitmaps
}

}  // namespace

ControlPictures::~ControlPictures() {
    for (const Shown& shown : shown_) {
        MovePointerOff(shown, nullptr);
    }
}

void ControlPictures::Show(HINSTANCE instance, std::span<const ControlDesign> table,
                           const std::function<HWND(int)>& controlOf, UINT dpi) {
    const std::size_t scale = PictureScaleIndex(dpi);
    std::vector<Shown> made;
    made.reserve(table.size());  // no allocation once the first handle is made
    for (const ControlDesign& design : table) {
        HWND control = controlOf(design.id);
        if (design.picture == nullptr || control == nullptr) {
            continue;
        }
        Shown& shown = made.emplace_back();
        shown.control = control;
        const int picture = design.picture->bitmaps[scale];
        if (design.kind == ControlKind::PictureButton) {
            shown.icon.Reset(TransparentPicture(instance, picture));
            SendMessageW(control, BM_SETIMAGE, IMAGE_ICON,
                         reinterpret_cast<LPARAM>(shown.icon.Get()));
        } else {
            shown.bitmap.Reset(static_cast<HBITMAP>(LoadImageW(
                instance, MAKEINTRESOURCEW(picture), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
            SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP,
                         reinterpret_cast<LPARAM>(shown.bitmap.Get()));
        }
        if (design.picture->pointer != 0) {
            const int size = MulDiv(kPointerPixels, kPictureScales[scale], 100);
            shown.pointer.Reset(
                static_cast<HCURSOR>(LoadImageW(instance, MAKEINTRESOURCEW(design.picture->pointer),
                                                IMAGE_CURSOR, size, size, LR_DEFAULTCOLOR)));
        }
    }
    std::swap(shown_, made);
    // The controls show the new pictures now; the old ones go with `made`.
    for (const Shown& old : made) {
        MovePointerOff(old, PointerOver(old.control));
    }
}

HCURSOR ControlPictures::PointerOver(HWND control) const {
    for (const Shown& shown : shown_) {
        if (shown.control == control) {
            return shown.pointer.Get();
        }
    }
    return nullptr;
}

void ControlPictures::MovePointerOff(const Shown& shown, HCURSOR successor) {
    if (shown.pointer && GetCursor() == shown.pointer.Get()) {
        SetCursor(successor != nullptr ? successor : LoadCursorW(nullptr, IDC_ARROW));
    }
}

}  // namespace lumarel
