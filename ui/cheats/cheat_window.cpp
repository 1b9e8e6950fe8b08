#include "ui/cheats/cheat_window.h"

#include "ui/cheats/cheat_code.h"

namespace lumarel {

namespace {

using K = ControlKind;

const FontDesign kTitleFont = {L"MS Sans Serif", 12};
const FontDesign kCodeFont = {L"Courier New", 12};

// Box K sits at top 240 + 480 * (K - 1) in the frame.
constexpr TwipsRect CodeBox(int slot) {
    return {480, 240 + 480 * (slot - 1), 1455, 390};
}

// clang-format off
const ControlDesign kCheatControls[] = {
    // id, name, kind, caption, hover text, {left, top, width, height} in twips, frame, items, font
    {Label1_Cheats, L"Label1", K::CentredLabel, L"Game Genie Codes", nullptr, {0, 0, 2415, 495}, 0, {}, &kTitleFont},
    {Frame1_Cheats, L"Frame1", K::Frame, nullptr, nullptr, {0, 360, 2415, 5535}},
    {code1, L"code1", K::TextBox, nullptr, nullptr, CodeBox(1), Frame1_Cheats, {}, &kCodeFont, L"Game Genie code 1"},
    {code2, L"code2", K::TextBox, nullptr, nullptr, CodeBox(2), Frame1_Cheats, {}, &kCodeFont, L"Game Genie code 2"},
    {code3, L"code3", K::TextBox, nullptr, nullptr, CodeBox(3), Frame1_Cheats, {}, &kCodeFont, L"Game Genie code 3"},
    {code4, L"code4", K::TextBox, nullptr, nullptr, CodeBox(4), Frame1_Cheats, {}, &kCodeFont, L"Game Genie code 4"},
    {code5, L"code5", K::TextBox, nullptr, nullptr, CodeBox(5), Frame1_Cheats, {}, &kCodeFont, L"Game Genie code 5"},
    {code6, L"code6", K::TextBox, nullptr, nullptr, CodeBox(6), Frame1_Cheats, {}, &kCodeFont, L"Game Genie code 6"},
    {code7, L"code7", K::TextBox, nullptr, nullptr, CodeBox(7), Frame1_Cheats, {}, &kCodeFont, L"Game Genie code 7"},
    {code8, L"code8", K::TextBox, nullptr, nullptr, CodeBox(8), Frame1_Cheats, {}, &kCodeFont, L"Game Genie code 8"},
    {code9, L"code9", K::TextBox, nullptr, nullptr, CodeBox(9), Frame1_Cheats, {}, &kCodeFont, L"Game Genie code 9"},
    {code10, L"code10", K::TextBox, nullptr, nullptr, CodeBox(10), Frame1_Cheats, {}, &kCodeFont, L"Game Genie code 10"},
    {Closer, L"Closer", K::PushButton, L"Close", nullptr, {840, 5040, 735, 375}, Frame1_Cheats},
};

const Wire kCheatWiring[] = {
    // control, notification, handler
    {code1, EN_KILLFOCUS, Run<&CheatWindow::code_LostFocus>},
    {code2, EN_KILLFOCUS, Run<&CheatWindow::code_LostFocus>},
    {code3, EN_KILLFOCUS, Run<&CheatWindow::code_LostFocus>},
    {code4, EN_KILLFOCUS, Run<&CheatWindow::code_LostFocus>},
    {code5, EN_KILLFOCUS, Run<&CheatWindow::code_LostFocus>},
    {code6, EN_KILLFOCUS, Run<&CheatWindow::code_LostFocus>},
    {code7, EN_KILLFOCUS, Run<&CheatWindow::code_LostFocus>},
    {code8, EN_KILLFOCUS, Run<&CheatWindow::code_LostFocus>},
    {code9, EN_KILLFOCUS, Run<&CheatWindow::code_LostFocus>},
    {code10, EN_KILLFOCUS, Run<&CheatWindow::code_LostFocus>},
    {Closer, BN_CLICKED, Run<&CheatWindow::Closer_Click>},
};
// clang-format on

}  // namespace

CheatWindow::CheatWindow(HINSTANCE instance, Session& session, CheatCodes& codes)
    : ModalWindow(instance, session,
                  {L"Game Genie Codes", 2415, 5940, kCheatControls, kCheatWiring}),
      codes_(codes) {}

void CheatWindow::Form_Load() {
    CentreOnScreen();
    for (int slot = 1; slot <= 10; ++slot) {
        SendMessageW(Box(slot), EM_LIMITTEXT, kLongestCheatCode, 0);
        SetWindowTextW(Box(slot), codes_[static_cast<size_t>(slot - 1)].c_str());
    }
}

void CheatWindow::code_LostFocus(int box) {
    HWND edit = Control(box);
    const std::wstring typed = WindowText(edit);
    const std::wstring tidy = NormaliseCheatCode(typed);
    if (tidy != typed) {
        SetWindowTextW(edit, tidy.c_str());
    }
}

void CheatWindow::Closer_Click() {
    // A click moves the focus to the button first, so the box the user was in is tidied;
    // a click sent by the keyboard or the system may not, so make sure.
    const int focused = GetDlgCtrlID(GetFocus());
    if (focused >= code1 && focused <= code10) {
        code_LostFocus(focused);
    }
    for (int slot = 1; slot <= 10; ++slot) {
        codes_[static_cast<size_t>(slot - 1)] = WindowText(Box(slot));
    }
    Close();
}

}  // namespace lumarel
