#pragma once
// A drive list: a pick-only drop-down of the machine's drives ("c: [SYSTEM]").

#include <windows.h>

#include <functional>
#include <vector>

#include "platform/services.h"

namespace lumarel {

class DriveList {
public:
    explicit DriveList(FileSystem& fileSystem) : fileSystem_(fileSystem) {}

    // Takes over a drop-down list that the window created and fills it with the drives.
    void Attach(HWND comboBox);
    HWND Hwnd() const { return comboBox_; }

    // The selected drive's letter, upper case; 0 when none is selected.
    wchar_t Drive() const { return drive_; }
    // Selects a drive; a change runs onChange before this returns. Unknown letters are
    // ignored.
    void SetDrive(wchar_t letter);

    // The window's share of WM_COMMAND for this control.
    void OnCommand(int code);

    std::function<void()> onChange;

private:
    FileSystem& fileSystem_;
    HWND comboBox_ = nullptr;
    std::vector<DriveInfo> drives_;
    wchar_t drive_ = 0;
};

}  // namespace lumarel
