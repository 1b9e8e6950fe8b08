#include "settings/settings_store.h"

#include "settings/settings_format.h"

namespace lumarel {

namespace {

// FAT keeps a file's last write to 2 s only: a file is newer only beyond that.
constexpr std::uint64_t kLastWriteTolerance = 2 * 10'000'000;

// The settings as the next start finds them: the file in place, and the copy a save leaves
// beside it (".saving") when it cannot give the new file that name.
struct SettingsOnDisk {
    enum class Copy {
        None,     // no copy, or one the next start leaves alone: the file holds settings,
                  // or the copy is incomplete
        Taken,    // a complete copy beside a file holding none: the next start takes it
        Older,    // a complete copy, but the file was emptied after it was left
        Unknown,  // part of the disk could not be looked at or read
    };
    FileFacts placed;
    std::wstring placedText;
    bool placedTooLarge = false;  // no settings file, yet not empty either
    Copy copy = Copy::None;
    std::wstring copyText;  // when Taken or Older
    OsResult failure;       // why Unknown
    std::wstring failedPath;
};

SettingsOnDisk LookAtSettings(TextFiles& files, const std::wstring& path) {
    SettingsOnDisk disk;
    const auto unknown = [&](const OsResult& failure, const std::wstring& where) {
        disk.copy = SettingsOnDisk::Copy::Unknown;
        disk.failure = failure;
        disk.failedPath = where;
        return disk;
    };
    if (const OsResult looked = files.Look(path, disk.placed); !looked.ok) {
        return unknown(looked, path);
    }
    if (disk.placed.exists) {
        if (const OsResult read = files.ReadAll(path, kLargestSettingsFile, disk.placedText);
            read.NotFound()) {
            disk.placed = {};  // removed since the look
        } else if (read.error == OsResult::kFileTooLarge) {
            disk.placedTooLarge = true;
            return disk;
        } else if (!read.ok) {
            return unknown(read, path);
        }
        if (!disk.placedText.empty()) {
            return disk;  // the file's own settings win over any copy
        }
    }
    const std::wstring copyPath = path + kSavingSuffix;
    FileFacts copy;
    if (const OsResult looked = files.Look(copyPath, copy); !looked.ok) {
        return unknown(looked, copyPath);
    }
    if (!copy.exists) {
        return disk;
    }
    if (const OsResult read = files.ReadAll(copyPath, kLargestSettingsFile, disk.copyText);
        !read.ok) {
        return read.NotFound() ? disk : unknown(read, copyPath);
    }
    if (!IsCompleteSettingsText(disk.copyText)) {
        return disk;  // cut off while it was written: the file in place is what there is
    }
    disk.copy = disk.placed.exists && disk.placed.lastWrite > copy.lastWrite + kLastWriteTolerance
                    ? SettingsOnDisk::Copy::Older
                    : SettingsOnDisk::Copy::Taken;
    return disk;
}

// Gives the copy the file's name, over the file when it is there. ReplaceFileW keeps the
// file's attributes and permissions; where it cannot (the file gone meanwhile, a file
// system without it) a rename takes over. The first reason is the telling one.
OsResult PutInPlace(TextFiles& files, const std::wstring& copy, const std::wstring& path,
                    bool placedExists) {
    const OsResult replaced = placedExists ? files.Replace(path, copy) : OsResult{};
    if (placedExists && replaced.ok) {
        return replaced;
    }
    const OsResult renamed = files.Rename(copy, path);
    return renamed.ok || replaced.ok ? renamed : replaced;
}

Message Note(std::wstring text, MessageIcon icon = MessageIcon::Exclamation) {
    return {std::move(text), L"Lumarel", icon};
}

void NotSaved(MessageBoxes& messages, const std::wstring& path, const OsResult& failure,
              const std::wstring& where) {
    messages.Show(Note(L"Lumarel could not save its settings in " + path + L":\n" + failure.reason +
                           L"\n\nThe settings saved before are " + where,
                       MessageIcon::Error));
}

// What the next start finds after the person stopped waiting for the drive during a save: the
// call under way goes on alone and may still finish.
enum class NextStartFinds { SavedBefore, EitherOne, NewOnes };

void TellSaveGivenUp(MessageBoxes& messages, const std::wstring& path, NextStartFinds finds) {
    const wchar_t* found = L"The settings saved before are unchanged.";
    if (finds == NextStartFinds::EitherOne) {
        found =
            L"If the drive still finishes what it was asked, the next start finds the new "
            L"settings; otherwise it finds the settings saved before.";
    } else if (finds == NextStartFinds::NewOnes) {
        found = L"The next start finds the new settings all the same.";
    }
    messages.Show(Note(L"Lumarel did not finish saving its settings in " + path +
                           L": you stopped waiting for the drive to answer.\n\n" + found,
                       MessageIcon::Error));
}

void TellUnreadable(const std::wstring& path, const OsResult& failure, MessageBoxes& messages) {
    if (failure.error == OsResult::kFileTooLarge) {
        messages.Show(Note(L"Lumarel did not read its settings from " + path +
                           L": the file is larger than 1 MB, so it cannot be a settings file of "
                           L"Lumarel's.\n\nLumarel starts with the default options and leaves "
                           L"the file as it is until you save the settings."));
    } else {
        messages.Show(Note(L"Lumarel could not read its settings from " + path + L":\n" +
                           failure.reason + L"\n\nIt starts with the default options."));
    }
}

// After the new file could not take the settings file's name: what the message says is what
// the next start will find. The disk is looked at again rather than the error read, since a
// failed ReplaceFileW may or may not have removed the old file.
void TellWhereTheNewSettingsAre(TextFiles& files, MessageBoxes& messages, const std::wstring& path,
                                const std::wstring& text, const OsResult& placed) {
    const std::wstring copyPath = path + kSavingSuffix;
    const SettingsOnDisk after = LookAtSettings(files, path);
    std::wstring where = L"They are kept in " + copyPath + L".";
    if (after.copy == SettingsOnDisk::Copy::Taken) {
        where = L"They are kept in " + copyPath + L", which Lumarel takes at its next start.";
    } else if (after.copy == SettingsOnDisk::Copy::None && !after.placedText.empty()) {
        if (after.placedText == text) {
            return;  // in place after all
        }
        files.Remove(copyPath);  // beside settings, no start would take it
        NotSaved(messages, path, placed, L"unchanged.");
        return;
    }
    messages.Show(Note(L"Lumarel could not put its new settings in place as " + path + L":\n" +
                           placed.reason + L"\n\n" + where,
                       MessageIcon::Error));
}

}  // namespace

void LoadSettings(const std::wstring& ownDirectory, TextFiles& files, MessageBoxes& messages,
                  OptionControls& controls, std::wstring& emulatorPath) {
    const std::wstring path = SettingsFilePath(ownDirectory);
    const std::wstring copyPath = path + kSavingSuffix;
    const SettingsOnDisk disk = LookAtSettings(files, path);
    std::wstring text = disk.placedText;
    switch (disk.copy) {
        case SettingsOnDisk::Copy::None:
            if (disk.placedTooLarge) {
                TellUnreadable(path, OsResult::Failure(OsResult::kFileTooLarge, L""), messages);
            } else if (!disk.placed.exists) {
                // In a read-only directory this fails: Lumarel starts with the defaults.
                files.EnsureExists(path);
            }
            break;
        case SettingsOnDisk::Copy::Taken:
            // Put in place by a rename, never rewritten: until the rename, the copy is the
            // only one. No empty file is made beside it, which would look newer.
            text = disk.copyText;
            if (const OsResult placed = PutInPlace(files, copyPath, path, disk.placed.exists);
                !placed.ok) {
                messages.Show(Note(L"Lumarel took its settings from " + copyPath +
                                   L", where a save left them, but could not put them in place "
                                   L"as " +
                                   path + L":\n" + placed.reason +
                                   L"\n\nThey stay where they are, and Lumarel takes them again "
                                   L"at its next start."));
            }
            break;
        case SettingsOnDisk::Copy::Older:
            messages.Show(Note(
                path + L" is empty, so Lumarel starts with the default options.\n\n" + copyPath +
                    L" holds the settings of an earlier save that did not finish; it "
                    L"is older than the emptied file, so Lumarel leaves it as it is. "
                    L"The next time you save the settings, it is replaced.",
                MessageIcon::Information));
            break;
        case SettingsOnDisk::Copy::Unknown:
            TellUnreadable(disk.failedPath, disk.failure, messages);
            break;
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
    const std::wstring copyPath = path + kSavingSuffix;
    const std::wstring writingPath = path + kWritingSuffix;
    const SettingsOnDisk before = LookAtSettings(files, path);
    if (before.copy == SettingsOnDisk::Copy::Unknown) {
        if (before.failure.GivenUp()) {
            TellSaveGivenUp(messages, path, NextStartFinds::SavedBefore);
        } else {
            NotSaved(messages, path, before.failure, L"unchanged.");
        }
        return;
    }
    // Written under a name no start reads, and only once it is whole on the disk given the
    // copy's name, which replaces in one step any copy there, the only one perhaps: no
    // complete file is ever emptied to make room.
    const std::wstring text = SettingsText(emulatorPath, controls.TakeLaunchOptions());
    OsResult stored = files.WriteWhole(writingPath, text);
    const bool written = stored.ok;
    if (stored.ok) {
        stored = files.Rename(writingPath, copyPath);
    }
    // A start takes the copy only beside a file that holds no settings.
    const bool copyIsTaken = !before.placedTooLarge && before.placedText.empty();
    if (stored.GivenUp()) {
        // Until the rename, no start reads what was written.
        TellSaveGivenUp(
            messages, path,
            written && copyIsTaken ? NextStartFinds::EitherOne : NextStartFinds::SavedBefore);
        return;
    }
    if (!stored.ok) {
        files.Remove(writingPath);  // part of a file, or one no start reads
        NotSaved(messages, path, stored, L"unchanged.");
        return;
    }
    if (const OsResult placed = PutInPlace(files, copyPath, path, before.placed.exists);
        placed.GivenUp()) {
        TellSaveGivenUp(messages, path,
                        copyIsTaken ? NextStartFinds::NewOnes : NextStartFinds::EitherOne);
    } else if (!placed.ok) {
        TellWhereTheNewSettingsAre(files, messages, path, text, placed);
    }
}

}  // namespace lumarel
