#include "ui/browser/browser.h"

#include "ui/browser/list_paths.h"

namespace lumarel {

Browser::Browser(FileSystem& fileSystem, std::wstring filePatterns, std::wstring ownDirectory)
    : drives_(fileSystem),
      directories_(fileSystem),
      files_(fileSystem, std::move(filePatterns)),
      ownDirectory_(std::move(ownDirectory)) {}

void Browser::Attach(ControlSet& controls, BrowserControls ids, UINT dpi) {
    controls.HandNotificationsTo(ids.drives, drives_);
    controls.HandNotificationsTo(ids.directories, directories_);
    controls.HandNotificationsTo(ids.files, files_);
    drives_.Attach(controls.Hwnd(ids.drives));
    directories_.Attach(controls.Hwnd(ids.directories), dpi);
    files_.Attach(controls.Hwnd(ids.files));
}

void Browser::FollowDrive() {
    if (pointing_) {
        return;  // the directory named with the drive is the one to show: read only that
    }
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
    PointAt(ownDirectory_);
    fallingBack_ = false;
}

void Browser::FollowDirectory() {
    files_.ShowDirectory(directories_.Directory(), directories_.Entries());
}

void Browser::PointAt(const std::wstring& directory) {
    if (const wchar_t drive = DriveLetterOf(directory)) {
        // The drive follows without listing its current directory, which nobody would see.
        pointing_ = true;
        struct Reset {
            bool& flag;
            ~Reset() { flag = false; }
        } reset{pointing_};
        drives_.SetDrive(drive);
    }
    if (directories_.SetDirectory(directory).ok) {
        return;
    }
    // Unreadable: the drive's current directory, as a change of drive shows it, and the
    // file list in step with whatever the directory list shows.
    FollowDrive();
    directories_.Tell(kListChange);
}

void Browser::SetDpi(UINT dpi) {
    directories_.SetDpi(dpi);
}

}  // namespace lumarel
