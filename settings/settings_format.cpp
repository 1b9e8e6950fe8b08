#include "settings/settings_format.h"

#include <cmath>

namespace lumarel {

namespace {

using Kind = SettingChange::Kind;

// Keys compare in any letter case; they are plain ASCII, so only ASCII letters fold.
wchar_t AsciiUpper(wchar_t c) {
    return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

std::wstring AsciiUpper(std::wstring text) {
    for (wchar_t& c : text) {
        c = AsciiUpper(c);
    }
    return text;
}

std::wstring OnOff(bool on) {
    return on ? L"True" : L"False";
}

// Items in each drop-down list: a stored index must name one of them, or none (-1).
std::int16_t ItemCount(OptionControl list) {
    switch (list) {
        case OptionControl::Sound_Rate:
            return 8;
        case OptionControl::Joy_Stick_Type:
            return 4;
        case OptionControl::Screen_Resolution:
            return 14;
        case OptionControl::Frame_Rate:
            return 10;
        default:
            return 0;
    }
}

struct LineKind {
    const wchar_t* key;  // the first six characters, upper case
    Kind kind;
    OptionControl on;   // the control a value sets, or the on button of a pair
    OptionControl off;  // the off button of a pair
};

const LineKind kLineKinds[] = {
    {L"SOUND:", Kind::Select, OptionControl::Sound_on, OptionControl::Sound_Off},
    {L"STEREO", Kind::Select, OptionControl::Sound_Stereo, OptionControl::Sound_Mono},
    {L"SOUND ", Kind::ListIndex, OptionControl::Sound_Rate, OptionControl::Sound_Rate},
    {L"TV MOD", Kind::CheckState, OptionControl::tv, OptionControl::tv},
    {L"SCREEN", Kind::ListIndex, OptionControl::Screen_Resolution,
     OptionControl::Screen_Resolution},
    {L"FRAME ", Kind::ListIndex, OptionControl::Frame_Rate, OptionControl::Frame_Rate},
    {L"SUPERF", Kind::Select, OptionControl::SuperFX_on, OptionControl::SuperFX_off},
    {L"16-BIT", Kind::CheckState, OptionControl::cOlOr16, OptionControl::cOlOr16},
    {L"SCALE ", Kind::CheckState, OptionControl::ScaleImg, OptionControl::ScaleImg},
    {L"TRANSP", Kind::CheckState, OptionControl::Trans, OptionControl::Trans},
};

const LineKind kJoystickOnOff = {L"JOYSTI", Kind::Select, OptionControl::Joystick_on,
                                 OptionControl::JoyStick_off};
const LineKind kJoystickType = {L"JOYSTI", Kind::ListIndex, OptionControl::Joy_Stick_Type,
                                OptionControl::Joy_Stick_Type};

// The location starts at the drive letter in front of the first backslash; a path without
// one (a network path) starts at that backslash.
std::optional<SettingChange> ReadLocation(const std::wstring& line) {
    // No file name holds a control character; a NUL would even make the program started
    // differ from the one the emulator check saw.
    for (const wchar_t c : line) {
        if (c < L' ' || c == 0x7F) {
            return std::nullopt;
        }
    }
    const size_t backslash = line.find(L'\\');
    if (backslash == std::wstring::npos) {
        return std::nullopt;
    }
    size_t start = backslash;
    const auto isLetter = [](wchar_t c) {
        return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
    };
    if (backslash >= 2 && line[backslash - 1] == L':' && isLetter(line[backslash - 2])) {
        start = backslash - 2;
    }
    SettingChange change{Kind::Location};
    change.path = line.substr(start);
    return change;
}

std::optional<SettingChange> ReadValue(const LineKind& kind, const std::wstring& value) {
    SettingChange change{kind.kind, kind.on};
    switch (kind.kind) {
        case Kind::Select:
            if (AsciiUpper(value) == L"FALSE") {
                change.control = kind.off;
            }
            return change;
        case Kind::CheckState: {
            const auto state = ReadSettingsNumber(value);
            if (!state || *state < 0 || *state > 2) {
                return std::nullopt;
            }
            change.value = *state;
            return change;
        }
        case Kind::ListIndex: {
            const auto index = ReadSettingsNumber(value);
            if (!index || *index < -1 || *index >= ItemCount(kind.on)) {
                return std::nullopt;
            }
            change.value = *index;
            return change;
        }
        case Kind::Location:
            break;
    }
    return std::nullopt;
}

std::optional<SettingChange> ReadRomForcing(const std::wstring& value) {
    const std::wstring word = AsciiUpper(value);
    SettingChange change{Kind::Select, OptionControl::DontRom};
    if (word == L"LOROM") {
        change.control = OptionControl::LoRom;
    } else if (word == L"HIROM") {
        change.control = OptionControl::HiRom;
    }
    return change;
}

SettingChange SelectChange(OptionControl button) {
    return {Kind::Select, button};
}

}  // namespace

std::wstring SettingsFilePath(const std::wstring& ownDirectory) {
    if (!ownDirectory.empty() && ownDirectory.back() == L'\\') {
        return ownDirectory + kSettingsFileName;
    }
    return ownDirectory + L'\\' + kSettingsFileName;
}

std::vector<std::wstring> SettingsLines(const std::wstring& emulatorPath,
                                        const LaunchOptions& options) {
    const auto number = [](std::int16_t n) { return std::to_wstring(n); };
    std::wstring forcing = L"Don't Force";
    if (options.LoRom) {
        forcing = L"LoRom";
    } else if (options.HiRom) {
        forcing = L"HiRom";
    }
    return {
        L"Location of Snes9x: " + emulatorPath,
        L"Sound: " + OnOff(options.Sound_on),
        L"Stereo Sound: " + OnOff(options.Sound_Stereo),
        L"Sound Rate: " + number(options.Sound_Rate.index),
        L"Joystick: " + OnOff(options.Joystick_on),
        L"Joystick Type: " + number(options.Joy_Stick_Type.index),
        L"Screen Resolution: " + number(options.Screen_Resolution.index),
        L"Frame Rate: " + number(options.Frame_Rate.index),
        L"SuperFX: " + OnOff(options.SuperFX_on),
        L"16-bit Colour: " + number(options.cOlOr16),
        L"Scale Image to Fit: " + number(options.ScaleImg),
        L"Transparent Effects: " + number(options.Trans),
        L"TV Mode: " + number(options.tv),
        L"Rom Forcing: " + forcing,
    };
}

std::wstring SettingsText(const std::wstring& emulatorPath, const LaunchOptions& options) {
    std::wstring text;
    for (const std::wstring& line : SettingsLines(emulatorPath, options)) {
        text += line + L"\r\n";
    }
    return text;
}

std::vector<std::wstring> SplitSettingsLines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    std::wstring line;
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\r' || c == L'\n') {
            // Empty lines say nothing, and a file of millions of line ends must not become
            // millions of lines.
            if (!line.empty()) {
                lines.push_back(std::move(line));
                line.clear();
            }
            if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') {
                ++i;
            }
        } else {
            line += c;
        }
    }
    if (!line.empty()) {
        lines.push_back(std::move(line));
    }
    return lines;
}

bool IsCompleteSettingsText(const std::wstring& text) {
    if (text.size() < 2 || text.compare(text.size() - 2, 2, L"\r\n") != 0) {
        return false;
    }
    size_t lines = 0;
    for (size_t at = text.find(L"\r\n"); at != std::wstring::npos;
         at = text.find(L"\r\n", at + 2)) {
        ++lines;
    }
    return lines == kSettingsLineCount && SplitSettingsLines(text).size() == kSettingsLineCount;
}

std::optional<std::int16_t> ReadSettingsNumber(const std::wstring& value) {
    size_t i = 0;
    bool negative = false;
    if (i < value.size() && (value[i] == L'-' || value[i] == L'+')) {
        negative = value[i] == L'-';
        ++i;
    }
    const auto isDigit = [&](size_t at) {
        return at < value.size() && value[at] >= L'0' && value[at] <= L'9';
    };
    // Past 16 bits the exact digits no longer matter: the value is out of range anyway.
    constexpr double kBeyondRange = 1e6;
    double whole = 0;
    for (; isDigit(i); ++i) {
        if (whole < kBeyondRange) {
            whole = whole * 10 + (value[i] - L'0');
        }
    }
    double fraction = 0;
    if (i < value.size() && value[i] == L'.') {
        double scale = 0.1;
        for (++i; isDigit(i); ++i) {
            fraction += (value[i] - L'0') * scale;
            scale /= 10;
        }
    }
    const double magnitude = whole + fraction;
    double rounded = std::floor(magnitude);
    const double rest = magnitude - rounded;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(rounded, 2.0) != 0)) {
        rounded += 1;
    }
    const double result = negative ? -rounded : rounded;
    if (result < -32768 || result > 32767) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(result);
}

std::optional<SettingChange> ReadSettingsLine(const std::wstring& line) {
    const std::wstring key = AsciiUpper(line.substr(0, 6));
    if (key == L"LOCATI") {
        return ReadLocation(line);
    }
    const LineKind* kind = nullptr;
    bool romForcing = false;
    if (key == L"JOYSTI") {
        kind = line.size() >= 10 && AsciiUpper(line[9]) == L'T' ? &kJoystickType : &kJoystickOnOff;
    } else if (key == L"ROM FO") {
        romForcing = true;
    } else {
        for (const LineKind& candidate : kLineKinds) {
            if (key == candidate.key) {
                kind = &candidate;
            }
        }
        if (kind == nullptr) {
            return std::nullopt;
        }
    }
    const size_t lastSpace = line.rfind(L' ');
    if (lastSpace == std::wstring::npos) {
        return std::nullopt;
    }
    const std::wstring value = line.substr(lastSpace + 1);
    return romForcing ? ReadRomForcing(value) : ReadValue(*kind, value);
}

std::vector<SettingChange> ReadSettings(const std::wstring& text) {
    std::vector<SettingChange> changes;
    for (const std::wstring& line : SplitSettingsLines(text)) {
        if (auto change = ReadSettingsLine(line)) {
            changes.push_back(std::move(*change));
        }
    }
    return changes;
}

std::vector<SettingChange> CompletionChanges(const LaunchOptions& options) {
    std::vector<SettingChange> changes;
    const std::pair<const ListChoice*, OptionControl> lists[] = {
        {&options.Joy_Stick_Type, OptionControl::Joy_Stick_Type},
        {&options.Sound_Rate, OptionControl::Sound_Rate},
        {&options.Screen_Resolution, OptionControl::Screen_Resolution},
        {&options.Frame_Rate, OptionControl::Frame_Rate},
    };
    for (const auto& [list, control] : lists) {
        if (list->index < 0) {
            changes.push_back({Kind::ListIndex, control, 0});
        }
    }
    if (!options.Sound_on && !options.Sound_Off) {
        changes.push_back(SelectChange(OptionControl::Sound_Off));
    }
    if (!options.Sound_Stereo && !options.Sound_Mono) {
        changes.push_back(SelectChange(OptionControl::Sound_Mono));
    }
    if (!options.Joystick_on && !options.JoyStick_off) {
        changes.push_back(SelectChange(OptionControl::JoyStick_off));
    }
    if (!options.SuperFX_on && !options.SuperFX_off) {
        changes.push_back(SelectChange(OptionControl::SuperFX_off));
    }
    if (!options.LoRom && !options.HiRom && !options.DontRom) {
        changes.push_back(SelectChange(OptionControl::DontRom));
    }
    return changes;
}

void ApplySettingChanges(const std::vector<SettingChange>& changes, OptionControls& controls,
                         std::wstring& emulatorPath) {
    for (const SettingChange& change : changes) {
        switch (change.kind) {
            case Kind::Location:
                emulatorPath = change.path;
                break;
            case Kind::Select:
                controls.SelectOption(change.control);
                break;
            case Kind::CheckState:
                controls.SetCheckState(change.control, change.value);
                break;
            case Kind::ListIndex:
                controls.SetListIndex(change.control, change.value);
                break;
        }
    }
}

}  // namespace lumarel
