#include "ui/window/modal_window.h"

#include "ui/window/message_loop.h"

namespace lumarel {

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME;

}  // namespace

ModalWindow::ModalWindow(HINSTANCE instance, Session& session, Design design)
    : WindowBase(instance, session,
                 {L"LumarelSecondary", design.caption, kStyle, kExStyle, design.clientWidthTwips,
                  design.clientHeightTwips, design.controls}) {}

ModalWindow::~ModalWindow() {
    // Here, not in the base, so that the owner is enabled again as the window goes.
    Close();
}

bool ModalWindow::Create(HWND owner) {
    owner_ = owner;
    if (!CreateWindowAndControls(owner, nullptr)) {
        return false;
    }
    Form_Load();
    return true;
}

void ModalWindow::ShowModal() {
    if (Hwnd() == nullptr) {
        return;
    }
    if (owner_ != nullptr) {
        EnableWindow(owner_, FALSE);
    }
    ShowWindow(Hwnd(), SW_SHOW);
    SetForegroundWindow(Hwnd());
    SetFocus(Control(InitialFocus()));
    controls_.NameControlsForScreenReaders();
    PumpMessagesUntil([this] { return Hwnd() == nullptr; });
}

void ModalWindow::OnDestroy() {
    // The owner comes back before this window goes, so that Windows hands the activation to
    // it and not to another program.
    if (owner_ != nullptr) {
        EnableWindow(owner_, TRUE);
        if (GetActiveWindow() == Hwnd()) {
            SetActiveWindow(owner_);
        }
    }
}

}  // namespace lumarel
