#include "ui/help/help_windows.h"

#include <commctrl.h>

#include "resources/resource_ids.h"
#include "ui/window/handler_guard.h"
#include "ui/help/help_texts.h"

namespace lumarel {

namespace {

using K = ControlKind;

const FontDesign kReferenceFont = {L"Courier New", 8.25};
const FontDesign kAboutFont = {L"MS Sans Serif", 8.25};
const PictureDesign kAboutPicture = {{IDB_ABOUT, IDB_ABOUT_150, IDB_ABOUT_200}};

// clang-format off
const ControlDesign kKeyboardControls[] = {
    // id, name, kind, caption, hover text, {left, top, width, height} in twips, frame, items, font
    {KeyBoard_Txt, L"KeyBoard_Txt", K::ReadOnlyText, nullptr, nullptr, {60, 60, 9075, 4335}, 0, {}, &kReferenceFont, L"Snes9x keyboard reference"},
    {btnClose, L"btnClose", K::PushButton, L"Close", nullptr, {4260, 4500, 735, 315}},
};

const ControlDesign kAboutControls[] = {
    {fraAbout, L"fraAbout", K::Frame, nullptr, nullptr, {120, 120, 4455, 2895}},
    {cmdAbout, L"cmdAbout", K::PushButton, L"Close", nullptr, {2640, 3120, 975, 375}},
    {lblAbout, L"lblAbout", K::Label, nullptr, nullptr, {120, 240, 4215, 2535}, fraAbout, {}, &kAboutFont, L"About Lumarel"},
    {Picture1, L"Picture1", K::Picture, nullptr, nullptr, {4680, 240, 1575, 1920}, 0, {}, nullptr, L"Picture", &kAboutPicture},
};

const Wire kKeyboardWiring[] = {
    // control, notification, handler
    {btnClose, BN_CLICKED, Run<&KeyboardWindow::btnClose_Click>},
};

// Close is both the default button (Enter) and the cancel button (Esc).
const Wire kAboutWiring[] = {
    {cmdAbout, BN_CLICKED, Run<&AboutWindow::cmdAbout_Click>},
    {IDOK, kChosen, Run<&AboutWindow::cmdAbout_Click>},
    {IDCANCEL, kChosen, Run<&AboutWindow::cmdAbout_Click>},
    {Picture1, STN_CLICKED, Run<&AboutWindow::Picture1_Click>},
};
// clang-format on

// A read-only text still lets Tab and Esc reach the window, so that the keyboard alone
// can leave it.
std::optional<LRESULT> OnReferenceTextMessage(HWND text, UINT message, WPARAM wParam, LPARAM lParam,
                                              DWORD_PTR) {
    if (message != WM_GETDLGCODE) {
        return std::nullopt;
    }
    LRESULT code = DefSubclassProc(text, message, wParam, lParam) & ~DLGC_WANTALLKEYS;
    const auto* key = reinterpret_cast<const MSG*>(lParam);
    if (key != nullptr && key->message == WM_KEYDOWN &&
        (key->wParam == VK_TAB || key->wParam == VK_ESCAPE)) {
        code &= ~(DLGC_WANTMESSAGE | DLGC_WANTTAB);
    }
    return code;
}

}  // namespace

KeyboardWindow::KeyboardWindow(HINSTANCE instance, Session& session)
    : ModalWindow(instance, session,
                  {L"Snes9x Keyboard Reference", 9195, 4920, kKeyboardControls, kKeyboardWiring}) {}

void KeyboardWindow::Form_Load() {
    HWND text = Control(KeyBoard_Txt);
    SetWindowTextW(text, KeyboardReferenceText().c_str());
    SetWindowSubclass(text, GuardedSubclass<&OnReferenceTextMessage>, 0, 0);
}

AboutWindow::AboutWindow(HINSTANCE instance, const Platform& platform)
    : ModalWindow(instance, platform.session,
                  {L"About Lumarel", 6405, 3570, kAboutControls, kAboutWiring}),
      messages_(platform.messages) {}

void AboutWindow::Form_Load() {
    CentreOnScreen();
    SendMessageW(Control(cmdAbout), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

void AboutWindow::Picture1_Click() {
    messages_.Show({L"Pic was drawn for me on request!", AboutPictureCredit(), MessageIcon::None});
}

bool AboutWindow::OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
    if (message == DM_GETDEFID) {
        result = MAKELRESULT(cmdAbout, DC_HASDEFID);
        return true;
    }
    return false;
}

}  // namespace lumarel
