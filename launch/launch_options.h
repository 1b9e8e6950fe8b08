#pragma once
// The emulator options of the main window as plain values, and the cheat codes.

#include <array>
#include <cstdint>
#include <string>

namespace lumarel {

// A drop-down list's value: the selected index (-1 when nothing is selected) and its text.
struct ListChoice {
    std::int16_t index = -1;
    std::wstring text;
};

// Check box states; a greyed box only comes from a stored setting and counts as on.
enum CheckState : std::int16_t { Unchecked = 0, Checked = 1, Greyed = 2 };

// The option controls as they stand at the moment of use, one entry per control.
struct LaunchOptions {
    bool Sound_on = false;
    bool Sound_Off = false;
    bool Sound_Stereo = false;
    bool Sound_Mono = false;
    bool Joystick_on = false;
    bool JoyStick_off = false;
    bool SuperFX_on = false;
    bool SuperFX_off = false;
    bool HiRom = false;
    bool LoRom = false;
    bool DontRom = false;
    std::int16_t cOlOr16 = Unchecked;
    std::int16_t ScaleImg = Unchecked;
    std::int16_t Trans = Unchecked;
    std::int16_t tv = Unchecked;
    ListChoice Sound_Rate;
    ListChoice Joy_Stick_Type;
    ListChoice Screen_Resolution;
    ListChoice Frame_Rate;
    std::wstring Extra;
};

// Every option control of the main window, and at once its control identifier there. The
// order is the settings file's; launch/option_table.h describes each one.
enum OptionControl : int {
    Sound_on = 200,
    Sound_Off,
    Sound_Stereo,
    Sound_Mono,
    Sound_Rate,
    Joystick_on,
    JoyStick_off,
    Joy_Stick_Type,
    Screen_Resolution,
    Frame_Rate,
    SuperFX_on,
    SuperFX_off,
    cOlOr16,
    ScaleImg,
    Trans,
    tv,
    LoRom,
    HiRom,
    DontRom,
};

inline constexpr int kFirstOptionControl = Sound_on;
inline constexpr int kOptionControlCount = DontRom - Sound_on + 1;

// The main window's option controls, the only store of the options while Lumarel runs.
class OptionControls {
public:
    virtual ~OptionControls() = default;
    // The options as the controls hold them now; reading changes nothing.
    virtual LaunchOptions TakeLaunchOptions() const = 0;
    // Setting a single option; nothing else reacts to it.
    virtual void SelectOption(OptionControl option) = 0;  // deselects the rest of its group
    virtual void SetCheckState(OptionControl option, std::int16_t state) = 0;
    virtual void SetListIndex(OptionControl option, std::int16_t index) = 0;
};

// Slot K (1 to 10) is element K - 1; every slot starts empty.
using CheatCodes = std::array<std::wstring, 10>;

// The values that live for the whole run and that the windows share.
struct SharedValues {
    std::wstring EmulatorPath;  // empty until the settings or the location window give one
    CheatCodes cheatCodes;      // held in memory only, never stored
};

}  // namespace lumarel
