#include "ui/controls/control_pictures.h"

#include <commctrl.h>

#include <memory>
#include <type_traits>

#include "ui/controls/dpi.h"

namespace lumarel {

namespace {

constexpr int kPointerPixels = 32;  // at 100 %

struct DeleteGdiObject {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using OwnedBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, DeleteGdiObject>;

// A 32-bit picture with straight alpha as an icon: a button draws an icon blended with its
// own face, in every colour scheme and theme. The mask marks the pixels without any alpha,
// for whatever draws an icon without its alpha channel.
HICON TransparentPicture(HINSTANCE instance, int resource) {
    const OwnedBitmap colour(static_cast<HBITMAP>(
        LoadImageW(instance, MAKEINTRESOURCEW(resource), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    DIBSECTION dib{};
    if (colour == nullptr || GetObjectW(colour.get(), sizeof(dib), &dib) != sizeof(dib) ||
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
    if (maskBitmap == nullptr) {
        return nullptr;
    }
    ICONINFO parts{TRUE, 0, 0, maskBitmap.get(), colour.get()};
    return CreateIconIndirect(&parts);  // it copies both bitmaps
}

}  // namespace

ControlPictures::~ControlPictures() {
    for (const Shown& shown : shown_) {
        Release(shown, nullptr);
    }
}

void ControlPictures::Show(HINSTANCE instance, std::span<const ControlSpec> table,
                           const std::function<HWND(int)>& controlOf, UINT dpi) {
    const std::size_t scale = PictureScaleIndex(dpi);
    std::vector<Shown> made;
    made.reserve(table.size());  // no allocation once the first handle is made
    for (const ControlSpec& design : table) {
        HWND control = controlOf(design.id);
        if (design.picture == nullptr || control == nullptr) {
            continue;
        }
        Shown shown{control};
        const int bitmap = design.picture->bitmaps[scale];
        if (design.kind == ControlKind::PictureButton) {
            shown.type = IMAGE_ICON;
            shown.picture = TransparentPicture(instance, bitmap);
            SendMessageW(control, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(shown.picture));
        } else {
            shown.picture =
                LoadImageW(instance, MAKEINTRESOURCEW(bitmap), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR);
            SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP,
                         reinterpret_cast<LPARAM>(shown.picture));
        }
        if (design.picture->pointer != 0) {
            const int size = MulDiv(kPointerPixels, kPictureScales[scale], 100);
            shown.pointer =
                static_cast<HCURSOR>(LoadImageW(instance, MAKEINTRESOURCEW(design.picture->pointer),
                                                IMAGE_CURSOR, size, size, LR_DEFAULTCOLOR));
        }
        made.push_back(shown);
    }
    std::swap(shown_, made);
    // The controls show the new pictures now; the old ones can go.
    for (const Shown& old : made) {
        Release(old, PointerOver(old.control));
    }
}

HCURSOR ControlPictures::PointerOver(HWND control) const {
    for (const Shown& shown : shown_) {
        if (shown.control == control) {
            return shown.pointer;
        }
    }
    return nullptr;
}

void ControlPictures::Release(const Shown& shown, HCURSOR successor) {
    if (shown.pointer != nullptr) {
        // The pointer on the screen is never one that is gone.
        if (GetCursor() == shown.pointer) {
            SetCursor(successor != nullptr ? successor : LoadCursorW(nullptr, IDC_ARROW));
        }
        DestroyCursor(shown.pointer);
    }
    if (shown.picture == nullptr) {
        return;
    }
    if (shown.type == IMAGE_ICON) {
        DestroyIcon(static_cast<HICON>(shown.picture));
    } else {
        DeleteObject(shown.picture);
    }
}

}  // namespace lumarel
