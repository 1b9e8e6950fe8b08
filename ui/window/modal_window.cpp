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
                  design.clientHeightTwips, design.controls, design.wiring}) {}

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
    DisableOwnerWhileOpen(owner_);
    ShowWindow(Hwnd(), SW_SHOW);
    SetForegroundWindow(Hwnd());
    SetFocus(Control(InitialFocus()));
    controls_.NameControlsForScreenReaders();
    PumpMessagesUntil([this] { return Hwnd() == nullptr; });
}

}  // namespace lumarel
