#pragma once
// The Game Genie code window: ten boxes that tidy their code when the user leaves them;
// Close keeps the ten codes in memory for the next emulator starts.

#include "launch/launch_options.h"
#include "ui/window/modal_window.h"

namespace lumarel {

enum CheatControl : int {
    Label1_Cheats = 400,
    Frame1_Cheats,
    code1,
    code2,
    code3,
    code4,
    code5,
    code6,
    code7,
    code8,
    code9,
    code10,
    Closer,
};

inline constexpr int kLongestCheatCode = 9;

class CheatWindow final : public ModalWindow {
public:
    // Edits `codes` in place: what a box holds when it loses the focus is the code.
    CheatWindow(HINSTANCE instance, Session& session, CheatCodes& codes);

    // The focus-loss handler of every box (code1_LostFocus ... code10_LostFocus), told
    // which box (code1 ... code10).
    void code_LostFocus(int box);
    void Closer_Click();

    HWND Box(int slot) const { return Control(code1 + slot - 1); }

private:
    void Form_Load() override;
    int InitialFocus() const override { return code1; }

    CheatCodes& codes_;
};

}  // namespace lumarel
