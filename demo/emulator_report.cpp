#include "demo/emulator_report.h"

#include <algorithm>
#include <span>

#include "launch/option_table.h"

namespace lumarel::demo {

namespace {

// The pieces Lumarel gives for its options, named as its main window names them.
struct Flag {
    const wchar_t* flag;
    const wchar_t* names;
};
constexpr Flag kFlags[] = {
    {L"-ns", L"Sound On/Off: Off"},    {L"-sc", L"Scale Image to Screen"},
    {L"-j", L"JoyStick On/Off: Off"},  {L"-st", L"Sound Stereo/Mono: Stereo"},
    {L"-lr", L"Rom Settings: Lo Rom"}, {L"-hr", L"Rom Settings: Hi Rom"},
    {L"-tr", L"Transparent Effects"},  {L"-i2", L"SuperFX On/Off: On"},
    {L"-16", L"16 Bit Colour"},        {L"-y", L"TV Support"},
};

// The pieces followed by a number that picks an item of one of Lumarel's lists.
struct ListFlag {
    const wchar_t* flag;
    const wchar_t* list;
    std::span<const wchar_t* const> items;
    int firstItem;  // the item the number 0 picks
};
const ListFlag kListFlags[] = {
    {L"-m", L"Screen Resolution", kScreenResolutions, 1},
    {L"-r", L"Sound Rate", kSoundRates, 0},
    {L"-f", L"Frame Rate", kFrameRates, 0},
};

constexpr wchar_t kGameGenie[] = L"-gg";
constexpr std::size_t kWidestArgumentColumn = 48;

bool IsPath(const std::wstring& argument) {
    return argument.find_first_of(L"\\/:") != std::wstring::npos;
}

std::wstring Sized(const FileOnDisk& file) {
    return file.name + L", " + std::to_wstring(file.size) + L" bytes";
}

// The item a number picks, or nothing when it is no number of that list.
std::wstring ItemNamed(const ListFlag& list, const std::wstring& number) {
    if (number.empty() || number.size() > 3 ||
        !std::all_of(number.begin(), number.end(),
                     [](wchar_t c) { return c >= L'0' && c <= L'9'; })) {
        return {};
    }
    const std::size_t item = std::stoul(number) + static_cast<std::size_t>(list.firstItem);
    return item < list.items.size() ? list.items[item] : std::wstring();
}

NamedArgument NameOption(const std::vector<std::wstring>& arguments, std::size_t& index) {
    const std::wstring& argument = arguments[index];
    for (const Flag& flag : kFlags) {
        if (argument == flag.flag) {
            return {argument, std::wstring(L"option ") + flag.names};
        }
    }
    // "-4", "-6", "-8": a joystick type by its first character.
    for (std::size_t type = 1; type < std::size(kJoystickTypes); ++type) {
        if (argument == std::wstring(L"-") + kJoystickTypes[type][0]) {
            return {argument, std::wstring(L"option JoyStick Type: ") + kJoystickTypes[type]};
        }
    }
    const bool valueFollows = index + 1 < arguments.size();
    for (const ListFlag& list : kListFlags) {
        if (argument == list.flag && valueFollows) {
            const std::wstring item = ItemNamed(list, arguments[index + 1]);
            if (!item.empty()) {
                ++index;
                return {argument + L" " + arguments[index],
                        std::wstring(L"option ") + list.list + L": " + item};
            }
        }
    }
    if (argument == kGameGenie && valueFollows) {
        ++index;
        return {argument + L" " + arguments[index], L"Game Genie code " + arguments[index]};
    }
    return {argument, L"none of Lumarel's options: passed on as typed"};
}

}  // namespace

std::vector<NamedArgument> NameArguments(const std::vector<std::wstring>& arguments,
                                         const FileLookup& lookUp) {
    std::vector<NamedArgument> named;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::wstring& argument = arguments[index];
        if (index == 0) {
            const FileOnDisk self = lookUp(argument);
            named.push_back({argument, self.exists ? L"this program, " + Sized(self)
                                                   : std::wstring(L"this program")});
        } else if (IsPath(argument)) {
            const FileOnDisk file = lookUp(argument);
            named.push_back({argument, file.exists ? L"the file " + Sized(file) : L"no such file"});
        } else {
            named.push_back(NameOption(arguments, index));
        }
    }
    return named;
}

std::wstring EmulatorReport(const std::wstring& commandLine,
                            const std::vector<std::wstring>& arguments, bool maximisedAsked,
                            const FileLookup& lookUp) {
    const std::vector<NamedArgument> named = NameArguments(arguments, lookUp);
    std::size_t column = 0;
    for (const NamedArgument& line : named) {
        column = std::max(column, std::min(line.argument.size(), kWidestArgumentColumn));
    }
    std::wstring text = L"Lumarel started this program with the command line\r\n\r\n  " +
                        commandLine + L"\r\n\r\nEach argument, and what it names:\r\n\r\n";
    for (const NamedArgument& line : named) {
        const std::size_t padding =
            line.argument.size() < column ? column - line.argument.size() : 0;
        text += L"  " + line.argument + std::wstring(padding + 3, L' ') + line.names + L"\r\n";
    }
    text += maximisedAsked ? L"\r\nLumarel asked for a maximised window.\r\n"
                           : L"\r\nLumarel asked for a window of the usual size.\r\n";
    text +=
        L"\r\nThis is Lumarel's demonstration emulator: it plays no game. To start games in the "
        L"real Snes9x, choose its snes9x.exe under Options > File Locations in Lumarel, then "
        L"Options > Save Settings.\r\n";
    return text;
}

}  // namespace lumarel::demo
