#include "ui/controls/drive_fallback.h"

#include "ui/controls/list_paths.h"

namespace lumarel {

void DriveFollower::DriveChanged() {
    const std::wstring drive{drives_.Drive(), L':'};
    const OsResult opened = directories_.SetDirectory(drive);
    if (opened.ok || !opened.DeviceUnavailable() || fallingBack_) {
        return;
    }
    fallingBack_ = true;
    if (const wchar_t own = DriveLetterOf(ownDirectory_)) {
        drives_.SetDrive(own);
    }
    directories_.SetDirectory(ownDirectory_);
    fallingBack_ = false;
}

void DriveFollower::PointAt(const std::wstring& directory) {
    if (const wchar_t drive = DriveLetterOf(directory)) {
        drives_.SetDrive(drive);
    }
    if (!directories_.SetDirectory(directory).ok && directories_.onChange) {
        directories_.onChange();
    }
}

}  // namespace lumarel
