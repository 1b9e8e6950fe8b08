#include "settings/settings_format.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "launch/option_table.h"
#include "platform/long_paths.h"

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

// The rows of the settings line that a row starts: itself, or its group's buttons.
std::span<const OptionRow> LineRows(std::size_t first) {
    std::size_t end = first + 1;
    while (end < std::size(kOptionRows) && !StartsSettingsLine(end)) {
        ++end;
    }
    return std::span<const OptionRow>(kOptionRows).subspan(first, end - first);
}

// A group's value: that of its first selected button, or its last button's when none is.
std::wstring GroupValue(std::span<const OptionRow> buttons, const LaunchOptions& options) {
    for (const OptionRow& button : buttons) {
        if (options.*button.selected) {
            return button.value;
        }
    }
    return buttons.back().value;
}

bool TenthMatches(TenthCharacter rule, const std::wstring& line) {
    const bool isT = line.size() >= 10 && AsciiUpper(line[9]) == L'T';
    return rule == TenthCharacter::Any || (rule == TenthCharacter::T) == isT;
}

// The location starts at the drive letter in front of the first backslash; a path without
// one (a network path) starts at that backslash.
std::optional<SettingChange> ReadLocation(const std::wstring& line) {
    // No file name holds a control character; a NUL would even make the program started
    // differ from the one the emulator check saw.
    for (const wchar_t c : line) {
        if (c < L' ') {
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

std::optional<SettingChange> ReadValue(std::span<const OptionRow> rows, const std::wstring& value) {
    const OptionRow& row = rows.front();
    switch (row.kind) {
        case OptionKind::Button: {
            const std::wstring word = AsciiUpper(value);
            auto chosen = std::find_if(rows.begin(), rows.end(), [&](const OptionRow& button) {
                return AsciiUpper(button.value) == word;
            });
            if (chosen == rows.end()) {
                chosen = std::find_if(rows.begin(), rows.end(), [](const OptionRow& button) {
                    return button.takesOtherValues;
                });
            }
            return SettingChange{Kind::Select, chosen->control};
        }
        case OptionKind::CheckBox: {
            const auto state = ReadSettingsNumber(value);
            if (!state || *state < 0 || *state > 2) {
                return std::nullopt;
            }
            return SettingChange{Kind::CheckState, row.control, *state};
        }
        case OptionKind::List: {
            // A stored index must name one of the items, or none (-1).
            const auto index = ReadSettingsNumber(value);
            if (!index || *index < -1 || *index >= static_cast<int>(row.items.size())) {
                return std::nullopt;
            }
            return SettingChange{Kind::ListIndex, row.control, *index};
        }
    }
    return std::nullopt;
}

}  // namespace

std::wstring SettingsFilePath(const std::wstring& ownDirectory) {
    return JoinPath(ownDirectory, kSettingsFileName);
}

std::vector<std::wstring> SettingsLines(const std::wstring& emulatorPath,
                                        const LaunchOptions& options) {
    std::vector<std::wstring> lines = {L"Location of Snes9x: " + emulatorPath};
    for (std::size_t i = 0; i < std::size(kOptionRows); ++i) {
        if (!StartsSettingsLine(i)) {
            continue;
        }
        const OptionRow& row = kOptionRows[i];
        std::wstring value;
        switch (row.kind) {
            case OptionKind::Button:
                value = GroupValue(LineRows(i), options);
                break;
            case OptionKind::CheckBox:
                value = std::to_wstring(options.*row.checkState);
                break;
            case OptionKind::List:
                value = std::to_wstring((options.*row.list).index);
                break;
        }
        lines.push_back(row.lineText + value);
    }
    return lines;
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
    for (std::size_t i = 0; i < std::size(kOptionRows); ++i) {
        const OptionRow& row = kOptionRows[i];
        if (!StartsSettingsLine(i) || key != row.readerKey || !TenthMatches(row.tenth, line)) {
            continue;
        }
        const size_t lastSpace = line.rfind(L' ');
        if (lastSpace == std::wstring::npos) {
            return std::nullopt;
        }
        return ReadValue(LineRows(i), line.substr(lastSpace + 1));
    }
    return std::nullopt;
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
    for (const OptionControl list : kListCompletionOrder) {
        if ((options.*OptionRowOf(list).list).index < 0) {
            changes.push_back({Kind::ListIndex, list, 0});
        }
    }
    for (std::size_t i = 0; i < std::size(kOptionRows); ++i) {
        if (!StartsSettingsLine(i) || kOptionRows[i].kind != OptionKind::Button) {
            continue;
        }
        const std::span<const OptionRow> group = LineRows(i);
        const bool anySelected = std::any_of(
            group.begin(), group.end(), [&](const OptionRow& b) { return options.*b.selected; });
        if (!anySelected) {
            const auto fallback = std::find_if(group.begin(), group.end(),
                                               [](const OptionRow& b) { return b.groupDefault; });
            changes.push_back({Kind::Select, fallback->control});
        }
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
