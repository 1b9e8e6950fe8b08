#include "ui/controls/drive_fallback.h"

#include "ui/controls/list_paths.h"

namespace lumarel {

void DriveFollower::DriveChanged() {
    const wchar_t letter = drives_.Drive();
    const OsResult opened = directories_.SetDirectory(std::wstring{letter, L':'});
    if (opened.ok || fallingBack_) {
        return;
    }
    // A drive whose root is gone is as unavailable as an empty one; a folder missing on a
    // drive that is there is not.
    const bool unavailable =
        opened.DeviceUnavailable() || (opened.NotFound() && !drives_.IsPresent(letter));
    if (!unavailable) {
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
