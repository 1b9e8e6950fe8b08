#include "ui/main/main_layout.h"

#include "launch/option_table.h"
#include "resources/resource_ids.h"

namespace lumarel {

namespace {

using K = ControlKind;

constexpr ControlKind KindOf(OptionKind kind) {
    switch (kind) {
        case OptionKind::Button:
            return ControlKind::OptionButton;
        case OptionKind::CheckBox:
            return ControlKind::CheckBox;
        case OptionKind::List:
            break;
    }
    return ControlKind::DropDownList;
}

// An option control's row: what it is and shows comes from the option table, where it sits
// from here.
constexpr ControlDesign Option(OptionControl option, TwipsRect rect, int frame) {
    const OptionRow& row = OptionRowOf(option);
    return {option, row.name, KindOf(row.kind), row.caption, row.tooltip, rect, frame, row.items};
}

const PictureDesign kRunPicture = {{IDB_GO_BUTTON, IDB_GO_BUTTON_150, IDB_GO_BUTTON_200},
                                   IDC_GO_POINTER};

// Frames and labels first, then the focusable controls in keyboard order.
// clang-format off
const ControlDesign kMainControls[] = {
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
    {Go_Button, L"Go_Button", K::PictureButton, L"Run the Emulator", L"Run the Emulator", {5280, 4440, 1575, 1155}, Main_Frame, {}, nullptr, nullptr, &kRunPicture},
    Option(Screen_Resolution, {240, 240, 2535, 315}, Screen_Res_Frame),
    Option(Sound_on, {240, 240, 615, 255}, Sound_Frame),
    Option(Sound_Off, {1200, 240, 615, 255}, Sound_Frame),
    Option(Sound_Stereo, {240, 240, 855, 255}, Stereo_Mono_Frame),
    Option(Sound_Mono, {1320, 240, 735, 255}, Stereo_Mono_Frame),
    Option(Sound_Rate, {240, 240, 1335, 315}, Sound_Rate_Frame),
    {Drive1, L"Drive1", K::DriveList, nullptr, L"drives", {120, 240, 1935, 315}, Rom_Select_Frame},
    {Dir1, L"Dir1", K::DirectoryList, nullptr, L"Directories", {120, 720, 1935, 1665}, Rom_Select_Frame},
    {File1, L"File1", K::FileList, nullptr, L"Roms in current directory", {120, 2760, 1935, 2235}, Rom_Select_Frame},
    Option(Frame_Rate, {240, 240, 735, 315}, Frame_Rate_Frame),
    Option(Joy_Stick_Type, {240, 240, 1455, 315}, Frame1),
    Option(Joystick_on, {240, 240, 615, 255}, JoyStick_onoff),
    Option(JoyStick_off, {1200, 240, 615, 255}, JoyStick_onoff),
    Option(SuperFX_on, {240, 240, 615, 255}, SuperFX_Frame),
    Option(SuperFX_off, {1200, 240, 615, 255}, SuperFX_Frame),
    Option(ScaleImg, {120, 600, 1935, 255}, Frame2),
    Option(Trans, {120, 960, 1935, 255}, Frame2),
    Option(HiRom, {120, 240, 855, 255}, Frame3),
    Option(LoRom, {960, 240, 855, 255}, Frame3),
    Option(DontRom, {120, 540, 1155, 255}, Frame3),
    Option(cOlOr16, {120, 240, 1935, 255}, Frame2),
    {Extra, L"Extra", K::TextBox, nullptr, L"Enter extra parameters", {120, 240, 2415, 285}, Frame4},
    Option(tv, {120, 1320, 1155, 255}, Frame2),
};
// clang-format on

}  // namespace

std::span<const ControlDesign> MainControls() {
    return kMainControls;
}

}  // namespace lumarel
