#pragma once
// The pictures and mouse pointers of one window's controls (PictureDesign in control_design.h),
// made for the window's dpi. This object owns them, and releases each once no control shows
// it any more.

#include <windows.h>

#include <functional>
#include <span>
#include <vector>

#include "platform/owned.h"
#include "ui/controls/control_design.h"

namespace lumarel {

class ControlPictures {
public:
    ControlPictures() = default;
    ControlPictures(const ControlPictures&) = delete;
    ControlPictures& operator=(const ControlPictures&) = delete;
    ~ControlPictures();

    // Gives each control of the table that has a picture the one drawn for the dpi, and its
    // pointer, in place of those of another dpi. A picture that cannot be made leaves the
    // control without one: a picture button then shows its caption.
    void Show(HINSTANCE instance, std::span<const ControlDesign> table,
              const std::function<HWND(int)>& controlOf, UINT dpi);

    // The pointer to show over this control; nullptr: the usual one.
    HCURSOR PointerOver(HWND control) const;

private:
    struct Shown {
        HWND control = nullptr;
        OwnedIcon icon;      // a picture button's picture
        OwnedBitmap bitmap;  // a picture control's
        OwnedCursor pointer;
    };
    // The pointer on the screen is never one that is about to go.
    static void MovePointerOff(const Shown& shown, HCURSOR successor);

    std::vector<Shown> shown_;
};

}  // namespace lumarel
