#pragma once
// A drive list: a pick-only drop-down of the machine's drives ("c: [SYSTEM]").

#include <windows.h>

#include <set>
#include <vector>

#include "platform/services.h"
#include "ui/controls/decoding_control.h"

namespace lumarel {

class DriveList final : public DecodingControl {
public:
    explicit DriveList(FileSystem& fileSystem) : fileSystem_(fileSystem) {}

    // Takes over a drop-down list that the window created and fills it with the drives.
    void Attach(HWND comboBox);
    HWND Hwnd() const { return comboBox_; }

    // The selected drive's letter, upper case; 0 when none is selected.
    wchar_t Drive() const { return drive_; }
    // Selects a drive; a change is told (kListChange) before this returns. Unknown letters are
    // ignored.
    void SetDrive(wchar_t letter);
    // Whether the drive's root is there at all.
    bool IsPresent(wchar_t letter) { return fileSystem_.DriveIsPresent(letter); }

    // Lists the drives anew (drives come and go while Lumarel runs), reading the volume
    // labels of fixed drives when `withLabels` says so. The selected drive stays selected,
    // and nothing below the list changes.
    void Refresh(bool withLabels);

    // Opening the list refreshes it; a drive picked is told.
    std::optional<LRESULT> OnNotification(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Fill();

    FileSystem& fileSystem_;
    HWND comboBox_ = nullptr;
    std::vector<DriveInfo> drives_;
    std::set<wchar_t> labelsAsked_;  // each fixed drive is asked for its label once
    wchar_t drive_ = 0;
};

}  // namespace lumarel
