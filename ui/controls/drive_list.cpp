#include "ui/controls/drive_list.h"

#include <cwctype>

#include "ui/controls/list_paths.h"

namespace lumarel {

void DriveList::Attach(HWND comboBox) {
    comboBox_ = comboBox;
    fileSystem_.Drives(drives_);
    SendMessageW(comboBox_, CB_RESETCONTENT, 0, 0);
    for (const DriveInfo& drive : drives_) {
        const std::wstring text = DriveListText(drive);
        SendMessageW(comboBox_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
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
            if (onChange) {
                onChange();
            }
        }
        return;
    }
}

void DriveList::OnCommand(int code) {
    if (code != CBN_SELCHANGE) {
        return;
    }
    const auto index = static_cast<int>(SendMessageW(comboBox_, CB_GETCURSEL, 0, 0));
    if (index >= 0 && static_cast<size_t>(index) < drives_.size()) {
        SetDrive(drives_[static_cast<size_t>(index)].letter);
    }
}

}  // namespace lumarel
