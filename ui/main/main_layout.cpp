#include "ui/main/main_layout.h"

#include <array>

namespace lumarel {

namespace {

using K = ControlKind;

constexpr const wchar_t* kSoundRates[] = {L"Default",  L"8192 Hz",  L"11025 Hz", L"16500 Hz",
                                          L"22050 Hz", L"29300 Hz", L"36600 Hz", L"44000 Hz"};
constexpr const wchar_t* kJoystickTypes[] = {L"Auto Detect", L"4 Button", L"6 Button", L"8 Button"};
constexpr const wchar_t* kScreenResolutions[] = {
    L"Default",
    L"320x240, ModeX 8-bit, slow",
    L"320x200 8-bit, faster but clips",
    L"256x256 8-bit",
    L"640x480 8-bit, auto-detect 1",
    L"640x480 8-bit, auto-detect 2",
    L"640x480 8-bit, auto-detect 3",
    L"640x480 8-bit, auto-detect 4",
    L"640x400 8-bit",
    L"800x600 8-bit",
    L"320x240 16-bit",
    L"640x480 16-bit",
    L"640x400 16-bit",
    L"800x600 16-bit",
};
constexpr const wchar_t* kFrameRates[] = {L"Auto", L"1", L"2", L"3", L"4",
                                          L"5",    L"6", L"7", L"8", L"9"};

// Frames and labels first, then the focusable controls in keyboard order.
// clang-format off
const ControlSpec kMainControls[] = {
    // id, name, kind, caption, hover text, {left, top, width, height} in twips, frame, items
    {Main_Frame, L"Main_Frame", K::Frame, nullptr, nullptr, {0, 0, 6975, 6135}},
    {Rom_Select_Frame, L"Rom_Select_Frame", K::Frame, L"Rom Select", nullptr, {120, 240, 2175, 5775}},
    {Screen_Res_Frame, L"Screen_Res_Frame", K::Frame, L"Screen Resolution", nullptr, {2520, 240, 3015, 735}, Main_Frame},
    {Frame_Rate_Frame, L"Frame_Rate_Frame", K::Frame, L"Frame Rate", nullptr, {5640, 240, 1215, 735}, Main_Frame},
    {Sound_Frame, L"Sound_Frame", K::Frame, L"Sound On/Off", nullptr, {2520, 1080, 1935, 615}, Main_Frame},
    {Stereo_Mono_Frame, L"Stereo_Mono_Frame", K::Frame, L"Sound Stereo/Mono", nullptr, {4560, 1080, 2295, 615}, Main_Frame},
    {Sound_Rate_Frame, L"Sound_Rate_Frame", K::Frame, L"Sound Rate", nullptr, {2520, 1800, 1815, 735}, Main_Frame},
    {Frame1, L"Frame1", K::Frame, L"JoyStick Type", nullptr, {4440, 1800, 1935, 735}, Main_Frame},
    {JoyStick_onoff, L"JoyStick_onoff", K::Frame, L"JoyStick On/Off", nullptr, {2520, 2640, 1935, 615}, Main_Frame},
    {Frame2, L"Frame2", K::Frame, L"Other Graphic Options", nullptr, {4560, 2640, 2295, 1695}, Main_Frame},
    {SuperFX_Frame, L"SuperFX_Frame", K::Frame, L"SuperFX On/Off", nullptr, {2520, 3360, 1935, 615}, Main_Frame},
    {Frame3, L"Frame3", K::Frame, L"Rom Settings", nullptr, {2520, 4080, 1935, 915}, Main_Frame},
    {Frame4, L"Frame4", K::Frame, L"Extra Command Line Parameters", nullptr, {2520, 5100, 2655, 735}, Main_Frame},
    {Label4, L"Label4", K::Label, L"Click to Run!", nullptr, {5640, 5640, 915, 195}, Main_Frame},
    {romlabel, L"romlabel", K::Label, L"Number of Roms:", nullptr, {240, 2520, 1230, 195}, Rom_Select_Frame},
    {numberofroms, L"numberofroms", K::Label, L"0", nullptr, {1560, 2520, 450, 195}, Rom_Select_Frame},
    {Label3, L"Label3", K::CentredLabel, L"File Spec Supported:", nullptr, {360, 5040, 1485, 195}, Rom_Select_Frame},
    {Label1, L"Label1", K::CentredLabel, L"*.SMC *.SFC *.SWC *.FIG", nullptr, {120, 5280, 1830, 195}, Rom_Select_Frame},
    {Label2, L"Label2", K::CentredLabel, L"*.058 *.1 *.ZIP", nullptr, {510, 5520, 1035, 195}, Rom_Select_Frame},
    {StatBar, L"StatBar", K::StatusBar, nullptr, nullptr, {0, 6150, 6975, 375}},

    // The run button shows only its picture; its text is what screen readers announce.
    {Go_Button, L"Go_Button", K::PictureButton, L"Run the Emulator", L"Run the Emulator", {5280, 4440, 1575, 1155}, Main_Frame},
    {Screen_Resolution, L"Screen_Resolution", K::DropDownList, nullptr, L"Pick a screen resolution", {240, 240, 2535, 315}, Screen_Res_Frame, kScreenResolutions},
    {Sound_on, L"Sound_on", K::OptionButton, L"On", L"Sound On", {240, 240, 615, 255}, Sound_Frame},
    {Sound_Off, L"Sound_Off", K::OptionButton, L"Off", L"Sound Off", {1200, 240, 615, 255}, Sound_Frame},
    {Sound_Stereo, L"Sound_Stereo", K::OptionButton, L"Stereo", L"Stereo Sound", {240, 240, 855, 255}, Stereo_Mono_Frame},
    {Sound_Mono, L"Sound_Mono", K::OptionButton, L"Mono", L"Mono Sound", {1320, 240, 735, 255}, Stereo_Mono_Frame},
    {Sound_Rate, L"Sound_Rate", K::DropDownList, nullptr, L"Pick a sound rate", {240, 240, 1335, 315}, Sound_Rate_Frame, kSoundRates},
    {Drive1, L"Drive1", K::DriveList, nullptr, L"drives", {120, 240, 1935, 315}, Rom_Select_Frame},
    {Dir1, L"Dir1", K::DirectoryList, nullptr, L"Directories", {120, 720, 1935, 1665}, Rom_Select_Frame},
    {File1, L"File1", K::FileList, nullptr, L"Roms in current directory", {120, 2760, 1935, 2235}, Rom_Select_Frame},
    {Frame_Rate, L"Frame_Rate", K::DropDownList, nullptr, L"Pick a frame rate", {240, 240, 735, 315}, Frame_Rate_Frame, kFrameRates},
    {Joy_Stick_Type, L"Joy_Stick_Type", K::DropDownList, nullptr, L"Pick a joystick type", {240, 240, 1455, 315}, Frame1, kJoystickTypes},
    {Joystick_on, L"Joystick_on", K::OptionButton, L"On", L"Joystick On", {240, 240, 615, 255}, JoyStick_onoff},
    {JoyStick_off, L"JoyStick_off", K::OptionButton, L"Off", L"Joystick Off", {1200, 240, 615, 255}, JoyStick_onoff},
    {SuperFX_on, L"SuperFX_on", K::OptionButton, L"On", L"-i2 option On", {240, 240, 615, 255}, SuperFX_Frame},
    {SuperFX_off, L"SuperFX_off", K::OptionButton, L"Off", L"-i2 option Off", {1200, 240, 615, 255}, SuperFX_Frame},
    {ScaleImg, L"ScaleImg", K::CheckBox, L"Scale Image to Screen", L"Scale image to current screen resolution", {120, 600, 1935, 255}, Frame2},
    {Trans, L"Trans", K::CheckBox, L"Transparent Effects", L"Turn on transparent effects", {120, 960, 1935, 255}, Frame2},
    {HiRom, L"HiRom", K::OptionButton, L"Hi Rom", L"Hi-Rom format", {120, 240, 855, 255}, Frame3},
    {LoRom, L"LoRom", K::OptionButton, L"Lo Rom", L"Lo Rom format", {960, 240, 855, 255}, Frame3},
    {DontRom, L"DontRom", K::OptionButton, L"Don't Force", L"Don't force the rom format", {120, 540, 1155, 255}, Frame3},
    {cOlOr16, L"cOlOr16", K::CheckBox, L"16 Bit Colour", L"16-bit Colour", {120, 240, 1935, 255}, Frame2},
    {Extra, L"Extra", K::TextBox, nullptr, L"Enter extra parameters", {120, 240, 2415, 285}, Frame4},
    {tv, L"tv", K::CheckBox, L"TV Support", nullptr, {120, 1320, 1155, 255}, Frame2},
};
// clang-format on

}  // namespace

std::span<const ControlSpec> MainControls() {
    return kMainControls;
}

MainControl ControlOf(OptionControl option) {
    static constexpr std::array kControls = {
        Sound_on,     Sound_Off,      Sound_Stereo,      Sound_Mono, Joystick_on,
        JoyStick_off, SuperFX_on,     SuperFX_off,       HiRom,      LoRom,
        DontRom,      cOlOr16,        ScaleImg,          Trans,      tv,
        Sound_Rate,   Joy_Stick_Type, Screen_Resolution, Frame_Rate,
    };
    return kControls[static_cast<size_t>(option)];
}

}  // namespace lumarel
