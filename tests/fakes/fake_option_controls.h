#pragma once
// Option controls kept in a LaunchOptions record, with the main window's group rules.

#include "launch/launch_options.h"

namespace lumarel::testing {

class FakeOptionControls final : public OptionControls {
public:
    LaunchOptions TakeLaunchOptions() const override { return options; }

    void SelectOption(OptionControl option) override {
        using O = OptionControl;
        auto& o = options;
        switch (option) {
            case O::Sound_on:
            case O::Sound_Off:
                o.Sound_on = option == O::Sound_on;
                o.Sound_Off = !o.Sound_on;
                break;
            case O::Sound_Stereo:
            case O::Sound_Mono:
                o.Sound_Stereo = option == O::Sound_Stereo;
                o.Sound_Mono = !o.Sound_Stereo;
                break;
            case O::Joystick_on:
            case O::JoyStick_off:
                o.Joystick_on = option == O::Joystick_on;
                o.JoyStick_off = !o.Joystick_on;
                break;
            case O::SuperFX_on:
            case O::SuperFX_off:
                o.SuperFX_on = option == O::SuperFX_on;
                o.SuperFX_off = !o.SuperFX_on;
                break;
            case O::HiRom:
            case O::LoRom:
            case O::DontRom:
                o.HiRom = option == O::HiRom;
                o.LoRom = option == O::LoRom;
                o.DontRom = option == O::DontRom;
                break;
            default:
                break;
        }
    }

    void SetCheckState(OptionControl option, std::int16_t state) override {
        using O = OptionControl;
        (option == O::cOlOr16    ? options.cOlOr16
         : option == O::ScaleImg ? options.ScaleImg
         : option == O::Trans    ? options.Trans
                                 : options.tv) = state;
    }

    void SetListIndex(OptionControl option, std::int16_t index) override {
        using O = OptionControl;
        (option == O::Sound_Rate          ? options.Sound_Rate
         : option == O::Joy_Stick_Type    ? options.Joy_Stick_Type
         : option == O::Screen_Resolution ? options.Screen_Resolution
                                          : options.Frame_Rate)
            .index = index;
    }

    LaunchOptions options;
};

}  // namespace lumarel::testing
