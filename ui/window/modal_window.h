#pragma once
// A secondary window: created on demand from its control table, shown modally over its
// owner, destroyed by its own close button. The next opening creates it afresh.

#include <windows.h>

#include <span>

#include "platform/services.h"
#include "ui/window/window_base.h"

namespace lumarel {

class ModalWindow : public WindowBase {
public:
    // Creates the window hidden over `owner` with its controls in their design state, and
    // runs its load step. False when the system refused.
    bool Create(HWND owner);
    // Shows the window and returns once it has been destroyed; meanwhile the owner takes
    // no input.
    void ShowModal();

protected:
    struct Design {
        const wchar_t* caption;
        int clientWidthTwips;
        int clientHeightTwips;
        std::span<const ControlDesign> controls;
        Wiring wiring;
    };
    ModalWindow(HINSTANCE instance, Session& session, Design design);

    // The load step, once the controls exist.
    virtual void Form_Load() {}
    // The control that has the focus when the window opens.
    virtual int InitialFocus() const = 0;

private:
    HWND owner_ = nullptr;
};

}  // namespace lumarel
