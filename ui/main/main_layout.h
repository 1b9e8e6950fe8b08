#pragma once
// The main window's controls, as data.

#include <span>

#include "launch/launch_options.h"
#include "ui/controls/control_table.h"

namespace lumarel {

// Control identifiers of the main window, named as the controls are known. The option
// controls are identified by their OptionControl (launch/launch_options.h).
enum MainControl : int {
    Main_Frame = 100,
    Rom_Select_Frame,
    Screen_Res_Frame,
    Frame_Rate_Frame,
    Sound_Frame,
    Stereo_Mono_Frame,
    Sound_Rate_Frame,
    Frame1,
    JoyStick_onoff,
    Frame2,
    SuperFX_Frame,
    Frame3,
    Frame4,
    Label4,
    romlabel,
    numberofroms,
    Label3,
    Label1,
    Label2,
    StatBar,
    Go_Button,
    Drive1,
    Dir1,
    File1,
    Extra,
};
static_assert(Extra < kFirstOptionControl, "window and option identifiers stay apart");

inline constexpr wchar_t kMainCaption[] = L"Lumarel v1.5";

// The client area in twips: the frame above, the status bar along the bottom.
inline constexpr int kMainClientWidthTwips = 6975;
inline constexpr int kMainClientHeightTwips = 6525;

// The ROM list shows only these.
inline constexpr wchar_t kRomPatterns[] = L"*.SMC;*.SFC;*.058;*.SWC;*.FIG;*.1;*.ZIP";

// The status bar's two panels, in twips (their widths are kept in hundredths of a millimetre:
// 7064 and 5159).
inline constexpr int kLocationPanelTwips = 4005;
inline constexpr int kSizePanelTwips = 2925;
inline constexpr wchar_t kLocationPanelPrefix[] = L"Location of Snes9x: ";
inline constexpr wchar_t kSizePanelPrefix[] = L"Rom Size: ";

std::span<const ControlDesign> MainControls();

}  // namespace lumarel
