#pragma once
// The Help menu's windows: the keyboard reference and the About window.

#include "platform/services.h"
#include "ui/window/modal_window.h"

namespace lumarel {

enum HelpControl : int {
    KeyBoard_Txt = 500,
    btnClose,
    fraAbout = 520,
    cmdAbout,
    lblAbout,
    Picture1,
};

// frmKeyBoard: the emulator's keys, read-only and scrollable.
class KeyboardWindow final : public ModalWindow {
public:
    KeyboardWindow(HINSTANCE instance, Session& session);
    void btnClose_Click() { Close(); }

private:
    void Form_Load() override;
    int InitialFocus() const override { return KeyBoard_Txt; }
};

// frmAbout: the title, the credits and a picture.
class AboutWindow final : public ModalWindow {
public:
    AboutWindow(HINSTANCE instance, const Platform& platform);
    void cmdAbout_Click() { Close(); }
    void Picture1_Click();

private:
    void Form_Load() override;
    int InitialFocus() const override { return cmdAbout; }
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    MessageBoxes& messages_;
};

}  // namespace lumarel
