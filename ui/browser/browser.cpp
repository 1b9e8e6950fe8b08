#include "ui/browser/browser.h"

#include "ui/browser/list_paths.h"

namespace lumarel {

Browser::Browser(FileSystem& fileSystem, std::wstring filePatterns, std::wstring ownDirectory)
    : drives_(fileSystem),
      directories_(fileSystem),
      files_(fileSystem, std::move(filePatterns)),
      ownDirectory_(std::move(ownDirectory)) {}

void Browser::Attach(const ControlSet& controls, BrowserControls ids, UINT dpi,
                     BrowserHandlers handlers) {
    ids_ = ids;
    drives_.Attach(controls.Hwnd(ids.drives));
    directories_.Attach(controls.Hwnd(ids.directories), dpi);
    files_.Attach(controls.Hwnd(ids.files));
    drives_.onChange = std::move(handlers.driveChange);
    directories_.onChange = std::move(handlers.directoryChange);
    files_.onClick = std::move(handlers.fileClick);
    files_.onDoubleClick = std::move(handlers.fileDoubleClick);
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
    if (directories_.onChange) {
        directories_.onChange();
    }
}

bool Browser::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    const int id = LOWORD(wParam);
    if (message == WM_DRAWITEM && id == ids_.directories) {
        directories_.OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        result = TRUE;
        return true;
    }
    if (message == WM_NOTIFY && id == ids_.files) {
        result = files_.OnNotify(*reinterpret_cast<NMHDR*>(lParam));
        return true;
    }
    if (message != WM_COMMAND || lParam == 0) {
        return false;
    }
    const int code = HIWORD(wParam);
    if (id == ids_.drives) {
        drives_.OnCommand(code);
    } else if (id == ids_.directories) {
        directories_.OnCommand(code);
    } else {
        return false;
    }
    result = 0;
    return true;
}

void Browser::SetDpi(UINT dpi) {
    directories_.SetDpi(dpi);
}

}  // namespace lumarel
