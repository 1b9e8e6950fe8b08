#include "settings/settings_store.h"

#include "launch/run_action.h"
#include "settings/settings_format.h"

namespace lumarel {

void LoadSettings(const std::wstring& ownDirectory, TextFiles& files, MessageBoxes& messages,
                  OptionControls& controls, std::wstring& emulatorPath) {
    const std::wstring path = SettingsFilePath(ownDirectory);
    files.EnsureExists(path);  // a read-only directory: Lumarel starts with the defaults
    std::wstring text;
    const OsResult read = files.ReadAll(path, text);
    if (!read.ok) {
        text.clear();
        if (!read.NotFound()) {
            messages.Show({L"Lumarel could not read its settings from " + path + L":\n" +
                               read.reason + L"\n\nIt starts with the default options.",
                           L"Lumarel", MessageIcon::Exclamation});
        }
    }
    ApplySettingChanges(ReadSettings(text), controls, emulatorPath);
    ApplySettingChanges(CompletionChanges(controls.TakeLaunchOptions()), controls, emulatorPath);
}

void SaveSettings(const std::wstring& ownDirectory, TextFiles& files, MessageBoxes& messages,
                  const OptionControls& controls, const std::wstring& emulatorPath) {
    if (emulatorPath.empty()) {
        messages.Show(
            {L"Please select the location of Snes9x!", kHumanError, MessageIcon::Exclamation});
        return;
    }
    const std::wstring path = SettingsFilePath(ownDirectory);
    const OsResult saved =
        files.ReplaceWhole(path, SettingsText(emulatorPath, controls.TakeLaunchOptions()));
    if (!saved.ok) {
        messages.Show({L"Lumarel could not save its settings in " + path + L":\n" + saved.reason +
                           L"\n\nThe settings saved before are unchanged.",
                       L"Lumarel", MessageIcon::Error});
    }
}

}  // namespace lumarel
