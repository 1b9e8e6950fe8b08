#pragma once
// The settings file "Lumarel.ini": fourteen lines of key text and value. Plain functions
// from values to lines and from lines to changes, no file and no window.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "launch/launch_options.h"

namespace lumarel {

inline constexpr wchar_t kSettingsFileName[] = L"Lumarel.ini";
// Where a save's complete new file waits to replace the old one; a start takes it from there
// when the old one is empty or missing.
inline constexpr wchar_t kSavingSuffix[] = L".saving";
// Where a save writes the new file, before it is complete: no start reads it.
inline constexpr wchar_t kWritingSuffix[] = L".writing";
inline constexpr std::size_t kSettingsLineCount = 14;
// A settings file is a few hundred bytes; a file larger than this is not one of Lumarel's.
inline constexpr std::size_t kLargestSettingsFile = 1024 * 1024;

// The settings file beside the executable, without a doubled backslash at a drive's root.
std::wstring SettingsFilePath(const std::wstring& ownDirectory);

// The fourteen lines, in the order the writer writes them, without line ends.
std::vector<std::wstring> SettingsLines(const std::wstring& emulatorPath,
                                        const LaunchOptions& options);

// The file's whole text: every line ended by CR LF.
std::wstring SettingsText(const std::wstring& emulatorPath, const LaunchOptions& options);

// What one line, or the completion step, does.
struct SettingChange {
    enum class Kind { Location, Select, CheckState, ListIndex };
    Kind kind = Kind::Select;
    OptionControl control{};  // none for the location
    std::int16_t value = 0;   // the check state or list index
    std::wstring path;        // the location

    friend bool operator==(const SettingChange&, const SettingChange&) = default;
};

// A file's text as lines: each ends at CR, CR LF or a lone LF; a last line without an end
// is still a line. Empty lines are left out.
std::vector<std::wstring> SplitSettingsLines(const std::wstring& text);

// Whether a text is a whole file as a save writes it: fourteen lines, each ended by CR LF.
bool IsCompleteSettingsText(const std::wstring& text);

// The change one line makes, or nothing for a line that is skipped (unknown key, empty
// line, a value outside the control's range, no character for the value rule to find, a
// location holding a control character).
std::optional<SettingChange> ReadSettingsLine(const std::wstring& line);

// The changes a whole file makes, in file order: a later line overrides an earlier one.
std::vector<SettingChange> ReadSettings(const std::wstring& text);

// A number as the file holds it: optional sign, digits, optional fraction, up to the first
// other character, rounded half to even; no number gives 0. Nothing when out of 16 bits.
std::optional<std::int16_t> ReadSettingsNumber(const std::wstring& value);

// What the completion step sets: lists without a selection get their first item, option
// groups without a selected button get their default. Check boxes are left alone.
std::vector<SettingChange> CompletionChanges(const LaunchOptions& options);

// Applies changes in order to the controls and the emulator location.
void ApplySettingChanges(const std::vector<SettingChange>& changes, OptionControls& controls,
                         std::wstring& emulatorPath);

}  // namespace lumarel
