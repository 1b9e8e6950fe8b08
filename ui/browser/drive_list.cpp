#include "ui/browser/drive_list.h"

#include <algorithm>
#include <cwctype>

#include "platform/win32/live_wait.h"
#include "ui/browser/list_paths.h"

namespace lumarel {

namespace {

// Only fixed and RAM drives are asked for their labels: a removable or optical drive
// without its medium would keep the list waiting.
bool LabelMayBeRead(DriveKind kind) {
    return kind == DriveKind::Fixed || kind == DriveKind::RamDisk;
}

}  // namespace

void DriveList::Attach(HWND comboBox) {
    comboBox_ = comboBox;
    fileSystem_.Drives(drives_);
    Fill();
}

void DriveList::Refresh(bool withLabels) {
    std::vector<DriveInfo> drives;
    if (!fileSystem_.Drives(drives).ok) {
        return;  // the list keeps what it showed
    }
    // A letter that has gone is asked again when a drive comes back under it.
    std::erase_if(labelsAsked_, [&](wchar_t letter) {
        return std::none_of(drives.begin(), drives.end(),
                            [letter](const DriveInfo& d) { return d.letter == letter; });
    });
    for (DriveInfo& drive : drives) {
        if (!LabelMayBeRead(drive.kind)) {
            continue;
        }
        const auto known = std::find_if(drives_.begin(), drives_.end(), [&](const DriveInfo& d) {
            return d.letter == drive.letter && d.kind == drive.kind;
        });
        if (known != drives_.end()) {
            drive.label = known->label;
        }
        // Read once, the first time the list opens: a drive without a label is not asked again.
        if (withLabels && labelsAsked_.insert(drive.letter).second) {
            drive.label = fileSystem_.VolumeLabel(drive.letter);
        }
    }
    // A selected drive that has gone stays in the list, so that the selection stays too.
    const auto gone = std::find_if(drives_.begin(), drives_.end(),
                                   [this](const DriveInfo& d) { return d.letter == drive_; });
    if (gone != drives_.end() &&
        std::none_of(drives.begin(), drives.end(),
                     [this](const DriveInfo& d) { return d.letter == drive_; })) {
        drives.insert(std::upper_bound(drives.begin(), drives.end(), *gone,
                                       [](const DriveInfo& a, const DriveInfo& b) {
                                           return a.letter < b.letter;
                                       }),
                      *gone);
    }
    const bool same = drives.size() == drives_.size() &&
                      std::equal(drives.begin(), drives.end(), drives_.begin(),
                                 [](const DriveInfo& a, const DriveInfo& b) {
                                     return a.letter == b.letter && a.label == b.label;
                                 });
    drives_ = std::move(drives);
    if (!same) {
        Fill();
    }
}

void DriveList::Fill() {
    SendMessageW(comboBox_, CB_RESETCONTENT, 0, 0);
    int selected = -1;
    for (const DriveInfo& drive : drives_) {
        const std::wstring text = DriveListText(drive);
        const auto index = static_cast<int>(
            SendMessageW(comboBox_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
        if (drive.letter == drive_) {
            selected = index;
        }
    }
    SendMessageW(comboBox_, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void DriveList::SetDrive(wchar_t letter) {
    letter = static_cast<wchar_t>(std::towupper(letter));
    for (size_t index = 0; index < drives_.size(); ++index) {
        if (drives_[index].letter != letter) {
            continue;
        }
        SendMessageW(comboBox_, CB_SETCURSEL, index, 0);
        if (drive_ != letter) {
            drive_ = letter;
            Tell(kListChange);
        }
        return;
    }
}

std::optional<LRESULT> DriveList::OnNotification(UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_COMMAND) {
        return std::nullopt;
    }
    if (HIWORD(wParam) == CBN_DROPDOWN) {
        // Opened by another program while a handler waits for a drive: as the list stands.
        if (!win32::WaitUnderWay()) {
            Refresh(true);
        }
    } else if (HIWORD(wParam) == CBN_SELCHANGE) {
        const auto index = static_cast<int>(SendMessageW(comboBox_, CB_GETCURSEL, 0, 0));
        if (index >= 0 && static_cast<size_t>(index) < drives_.size()) {
            SetDrive(drives_[static_cast<size_t>(index)].letter);
        }
    }
    return 0;
}

}  // namespace lumarel
