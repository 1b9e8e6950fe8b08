#include "settings/settings_store.h"

#include "launch/run_action.h"
#include "settings/settings_format.h"

namespace lumarel {

namespace {

// A save cut off between writing its new file and putting it in place (a stick pulled out of
// a FAT drive) leaves the complete new file beside an empty or missing one: that is the one
// to take.
std::wstring InterruptedSave(const std::wstring& path, TextFiles& files) {
    std::wstring saving;
    if (!files.ReadAll(path + kSavingSuffix, kLargestSettingsFile, saving).ok ||
        !IsCompleteSettingsText(saving)) {
        return {};
    }
    return saving;
}

}  // namespace

void LoadSettings(const std::wstring& ownDirectory, TextFiles& files, MessageBoxes& messages,
                  OptionControls& controls, std::wstring& emulatorPath) {
    const std::wstring path = SettingsFilePath(ownDirectory);
    files.EnsureExists(path);  // a read-only directory: Lumarel starts with the defaults
    std::wstring text;
    const OsResult read = files.ReadAll(path, kLargestSettingsFile, text);
    if (!read.ok) {
        text.clear();
        if (read.error == OsResult::kFileTooLarge) {
            messages.Show({L"Lumarel did not read its settings from " + path +
                               L": the file is larger than 1 MB, so it cannot be a settings "
                               L"file of Lumarel's.\n\nLumarel starts with the default options "
                               L"and leaves the file as it is until you save the settings.",
                           L"Lumarel", MessageIcon::Exclamation});
        } else if (!read.NotFound()) {
            messages.Show({L"Lumarel could not read its settings from " + path + L":\n" +
                               read.reason + L"\n\nIt starts with the default options.",
                           L"Lumarel", MessageIcon::Exclamation});
        }
    }
    if ((read.ok && text.empty()) || read.NotFound()) {
        text = InterruptedSave(path, files);
        // Put in place, so that emptying the file later still means the defaults.
        if (!text.empty()) {
            files.ReplaceWhole(path, text);
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
    if (saved.error == OsResult::kSavedBesideTheFile) {
        messages.Show({L"Lumarel could not put its new settings in place as " + path + L":\n" +
                           saved.reason + L"\n\nThey are kept in " + path + kSavingSuffix +
                           L", which Lumarel takes at its next start.",
                       L"Lumarel", MessageIcon::Error});
    } else if (!saved.ok) {
        messages.Show({L"Lumarel could not save its settings in " + path + L":\n" + saved.reason +
                           L"\n\nThe settings saved before are unchanged.",
                       L"Lumarel", MessageIcon::Error});
    }
}

}  // namespace lumarel
