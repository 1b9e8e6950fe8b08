#pragma once
// Every option control of the main window, described once: what it is, what it shows, where
// LaunchOptions keeps it and how the settings file stores it. The settings reader and writer,
// their completion step, the main window's option controls and the tests' fakes all run from
// this table; the checks at the end make a row that does not fit fail to compile.
//
// Plain data: no window, no file.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "launch/launch_options.h"

namespace lumarel {

enum class OptionKind { Button, CheckBox, List };

// The option buttons that exclude each other; None for check boxes and lists.
enum class OptionGroup { None, Sound, Stereo, Joystick, SuperFX, RomForcing };

// The two joystick lines share their reader key; the tenth character of the line tells them
// apart ("Joystick Type: " has its T there).
enum class TenthCharacter { Any, T, NotT };

struct OptionRow {
    OptionControl control;
    const wchar_t* name;  // the identifier the control is known by
    OptionKind kind;
    const wchar_t* caption = nullptr;            // nullptr: none
    const wchar_t* tooltip = nullptr;            // nullptr: none
    std::span<const wchar_t* const> items = {};  // a list's items, in order

    OptionGroup group = OptionGroup::None;
    // Selected by the completion step when no button of its group is.
    bool groupDefault = false;

    // The settings line: its text before the value, and the reader key (its first six
    // characters in upper case). The buttons of one group share one line.
    const wchar_t* lineText = nullptr;
    const wchar_t* readerKey = nullptr;
    TenthCharacter tenth = TenthCharacter::Any;
    // A button's value on its line: written when it is the first selected button of its
    // group (the group's last button when none is), read back in any letter case.
    const wchar_t* value = nullptr;
    // The button that a value naming no button of the group selects.
    bool takesOtherValues = false;

    // Where LaunchOptions keeps the control: the member for its kind.
    bool LaunchOptions::*selected = nullptr;
    std::int16_t LaunchOptions::*checkState = nullptr;
    ListChoice LaunchOptions::*list = nullptr;
};

inline constexpr const wchar_t* kSoundRates[] = {L"Default",  L"8192 Hz",  L"11025 Hz",
                                                 L"16500 Hz", L"22050 Hz", L"29300 Hz",
                                                 L"36600 Hz", L"44000 Hz"};
inline constexpr const wchar_t* kJoystickTypes[] = {L"Auto Detect", L"4 Button", L"6 Button",
                                                    L"8 Button"};
inline constexpr const wchar_t* kScreenResolutions[] = {
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
inline constexpr const wchar_t* kFrameRates[] = {L"Auto", L"1", L"2", L"3", L"4",
                                                 L"5",    L"6", L"7", L"8", L"9"};

namespace option_rows {

using K = OptionKind;
using G = OptionGroup;
using L = LaunchOptions;

// In OptionControl order, which is the order of the settings file's lines.
// clang-format off
inline constexpr OptionRow kRows[] = {
    {.control = Sound_on, .name = L"Sound_on", .kind = K::Button, .caption = L"On", .tooltip = L"Sound On",
     .group = G::Sound, .lineText = L"Sound: ", .readerKey = L"SOUND:", .value = L"True", .takesOtherValues = true,
     .selected = &L::Sound_on},
    {.control = Sound_Off, .name = L"Sound_Off", .kind = K::Button, .caption = L"Off", .tooltip = L"Sound Off",
     .group = G::Sound, .groupDefault = true, .lineText = L"Sound: ", .readerKey = L"SOUND:", .value = L"False",
     .selected = &L::Sound_Off},
    {.control = Sound_Stereo, .name = L"Sound_Stereo", .kind = K::Button, .caption = L"Stereo", .tooltip = L"Stereo Sound",
     .group = G::Stereo, .lineText = L"Stereo Sound: ", .readerKey = L"STEREO", .value = L"True", .takesOtherValues = true,
     .selected = &L::Sound_Stereo},
    {.control = Sound_Mono, .name = L"Sound_Mono", .kind = K::Button, .caption = L"Mono", .tooltip = L"Mono Sound",
     .group = G::Stereo, .groupDefault = true, .lineText = L"Stereo Sound: ", .readerKey = L"STEREO", .value = L"False",
     .selected = &L::Sound_Mono},
    {.control = Sound_Rate, .name = L"Sound_Rate", .kind = K::List, .tooltip = L"Pick a sound rate", .items = kSoundRates,
     .lineText = L"Sound Rate: ", .readerKey = L"SOUND ", .list = &L::Sound_Rate},
    {.control = Joystick_on, .name = L"Joystick_on", .kind = K::Button, .caption = L"On", .tooltip = L"Joystick On",
     .group = G::Joystick, .lineText = L"Joystick: ", .readerKey = L"JOYSTI", .tenth = TenthCharacter::NotT,
     .value = L"True", .takesOtherValues = true, .selected = &L::Joystick_on},
    {.control = JoyStick_off, .name = L"JoyStick_off", .kind = K::Button, .caption = L"Off", .tooltip = L"Joystick Off",
     .group = G::Joystick, .groupDefault = true, .lineText = L"Joystick: ", .readerKey = L"JOYSTI",
     .tenth = TenthCharacter::NotT, .value = L"False", .selected = &L::JoyStick_off},
    {.control = Joy_Stick_Type, .name = L"Joy_Stick_Type", .kind = K::List, .tooltip = L"Pick a joystick type",
     .items = kJoystickTypes, .lineText = L"Joystick Type: ", .readerKey = L"JOYSTI", .tenth = TenthCharacter::T,
     .list = &L::Joy_Stick_Type},
    {.control = Screen_Resolution, .name = L"Screen_Resolution", .kind = K::List, .tooltip = L"Pick a screen resolution",
     .items = kScreenResolutions, .lineText = L"Screen Resolution: ", .readerKey = L"SCREEN",
     .list = &L::Screen_Resolution},
    {.control = Frame_Rate, .name = L"Frame_Rate", .kind = K::List, .tooltip = L"Pick a frame rate", .items = kFrameRates,
     .lineText = L"Frame Rate: ", .readerKey = L"FRAME ", .list = &L::Frame_Rate},
    {.control = SuperFX_on, .name = L"SuperFX_on", .kind = K::Button, .caption = L"On", .tooltip = L"-i2 option On",
     .group = G::SuperFX, .lineText = L"SuperFX: ", .readerKey = L"SUPERF", .value = L"True", .takesOtherValues = true,
     .selected = &L::SuperFX_on},
    {.control = SuperFX_off, .name = L"SuperFX_off", .kind = K::Button, .caption = L"Off", .tooltip = L"-i2 option Off",
     .group = G::SuperFX, .groupDefault = true, .lineText = L"SuperFX: ", .readerKey = L"SUPERF", .value = L"False",
     .selected = &L::SuperFX_off},
    // The box says "16 Bit Colour", its hover text "16-bit Colour".
    {.control = cOlOr16, .name = L"cOlOr16", .kind = K::CheckBox, .caption = L"16 Bit Colour", .tooltip = L"16-bit Colour",
     .lineText = L"16-bit Colour: ", .readerKey = L"16-BIT", .checkState = &L::cOlOr16},
    {.control = ScaleImg, .name = L"ScaleImg", .kind = K::CheckBox, .caption = L"Scale Image to Screen",
     .tooltip = L"Scale image to current screen resolution", .lineText = L"Scale Image to Fit: ", .readerKey = L"SCALE ",
     .checkState = &L::ScaleImg},
    {.control = Trans, .name = L"Trans", .kind = K::CheckBox, .caption = L"Transparent Effects",
     .tooltip = L"Turn on transparent effects", .lineText = L"Transparent Effects: ", .readerKey = L"TRANSP",
     .checkState = &L::Trans},
    // The only option control without a hover text.
    {.control = tv, .name = L"tv", .kind = K::CheckBox, .caption = L"TV Support", .lineText = L"TV Mode: ",
     .readerKey = L"TV MOD", .checkState = &L::tv},
    // LoRom is tested before HiRom when the line is written.
    {.control = LoRom, .name = L"LoRom", .kind = K::Button, .caption = L"Lo Rom", .tooltip = L"Lo Rom format",
     .group = G::RomForcing, .lineText = L"Rom Forcing: ", .readerKey = L"ROM FO", .value = L"LoRom",
     .selected = &L::LoRom},
    {.control = HiRom, .name = L"HiRom", .kind = K::Button, .caption = L"Hi Rom", .tooltip = L"Hi-Rom format",
     .group = G::RomForcing, .lineText = L"Rom Forcing: ", .readerKey = L"ROM FO", .value = L"HiRom",
     .selected = &L::HiRom},
    {.control = DontRom, .name = L"DontRom", .kind = K::Button, .caption = L"Don't Force",
     .tooltip = L"Don't force the rom format", .group = G::RomForcing, .groupDefault = true, .lineText = L"Rom Forcing: ",
     .readerKey = L"ROM FO", .value = L"Don't Force", .takesOtherValues = true, .selected = &L::DontRom},
};
// clang-format on

}  // namespace option_rows

inline constexpr const auto& kOptionRows = option_rows::kRows;

// The completion step selects the first item of lists without a selection in this order.
inline constexpr OptionControl kListCompletionOrder[] = {Joy_Stick_Type, Sound_Rate,
                                                         Screen_Resolution, Frame_Rate};

constexpr const OptionRow& OptionRowOf(OptionControl control) {
    return kOptionRows[static_cast<std::size_t>(control - kFirstOptionControl)];
}

// Whether a row starts its settings line (a group's buttons share the first one's line).
constexpr bool StartsSettingsLine(std::size_t index) {
    return index == 0 || kOptionRows[index].group == OptionGroup::None ||
           kOptionRows[index].group != kOptionRows[index - 1].group;
}

namespace option_table_checks {

constexpr bool SameText(const wchar_t* a, const wchar_t* b) {
    return a != nullptr && b != nullptr && std::wstring_view(a) == std::wstring_view(b);
}

constexpr bool RowsFollowTheControls() {
    for (std::size_t i = 0; i < std::size(kOptionRows); ++i) {
        if (kOptionRows[i].control != kFirstOptionControl + static_cast<int>(i)) {
            return false;
        }
    }
    return std::size(kOptionRows) == kOptionControlCount;
}

// A row names the member of its kind and no other, and has what its kind needs.
constexpr bool RowsAreWhole() {
    for (const OptionRow& row : kOptionRows) {
        const bool button = row.selected != nullptr && row.checkState == nullptr &&
                            row.list == nullptr && row.group != OptionGroup::None &&
                            row.value != nullptr && row.items.empty();
        const bool check = row.checkState != nullptr && row.selected == nullptr &&
                           row.list == nullptr && row.group == OptionGroup::None;
        const bool list = row.list != nullptr && row.selected == nullptr &&
                          row.checkState == nullptr && row.group == OptionGroup::None &&
                          !row.items.empty();
        const bool fits = row.kind == OptionKind::Button     ? button
                          : row.kind == OptionKind::CheckBox ? check
                                                             : list;
        if (!fits || row.lineText == nullptr || row.readerKey == nullptr ||
            std::wstring_view(row.readerKey).size() != 6) {
            return false;
        }
    }
    return true;
}

// The buttons of a group follow each other and share one line; each group has exactly one
// default and one button for values that name none.
constexpr bool GroupsAreWhole() {
    for (std::size_t first = 0; first < std::size(kOptionRows); ++first) {
        if (!StartsSettingsLine(first) || kOptionRows[first].group == OptionGroup::None) {
            continue;
        }
        int defaults = 0;
        int others = 0;
        std::size_t end = first;
        for (; end < std::size(kOptionRows) && kOptionRows[end].group == kOptionRows[first].group;
             ++end) {
            defaults += kOptionRows[end].groupDefault ? 1 : 0;
            others += kOptionRows[end].takesOtherValues ? 1 : 0;
            if (!SameText(kOptionRows[end].lineText, kOptionRows[first].lineText) ||
                !SameText(kOptionRows[end].readerKey, kOptionRows[first].readerKey)) {
                return false;
            }
        }
        for (std::size_t later = end; later < std::size(kOptionRows); ++later) {
            if (kOptionRows[later].group == kOptionRows[first].group) {
                return false;  // the group is split
            }
        }
        if (defaults != 1 || others != 1) {
            return false;
        }
    }
    return true;
}

constexpr bool CompletionCoversEveryList() {
    std::size_t lists = 0;
    for (const OptionRow& row : kOptionRows) {
        lists += row.kind == OptionKind::List ? 1 : 0;
    }
    for (const OptionControl control : kListCompletionOrder) {
        if (OptionRowOf(control).kind != OptionKind::List) {
            return false;
        }
    }
    return lists == std::size(kListCompletionOrder);
}

constexpr std::size_t SettingsLines() {
    std::size_t lines = 0;
    for (std::size_t i = 0; i < std::size(kOptionRows); ++i) {
        lines += StartsSettingsLine(i) ? 1 : 0;
    }
    return lines;
}

static_assert(RowsFollowTheControls(), "one row per option control, in OptionControl order");
static_assert(RowsAreWhole(), "a row names the LaunchOptions member of its kind, and its line");
static_assert(GroupsAreWhole(), "a group's buttons follow each other and share one line");
static_assert(CompletionCoversEveryList(), "the completion order names every list once");
static_assert(SettingsLines() == 13, "the options take thirteen lines after the location");

}  // namespace option_table_checks

}  // namespace lumarel
