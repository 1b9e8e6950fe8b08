#pragma once
// What a drive list's change does, the same in every window: the directory list follows the
// drive; an unavailable device, or a drive that is gone, sends both lists back to Lumarel's
// own drive and directory.

#include <string>

#include "ui/controls/directory_list.h"
#include "ui/controls/drive_list.h"

namespace lumarel {

class DriveFollower {
public:
    DriveFollower(DriveList& drives, DirectoryList& directories, std::wstring ownDirectory)
        : drives_(drives), directories_(directories), ownDirectory_(std::move(ownDirectory)) {}

    // The drive list's change handler. Any failure other than an unavailable device
    // leaves the directory list where it was. The fallback never runs from itself, so an
    // unavailable own drive cannot make it repeat without end.
    void DriveChanged();

    // Points both lists at a directory; the directory list's change handling runs even
    // when it shows that directory already.
    void PointAt(const std::wstring& directory);

private:
    DriveList& drives_;
    DirectoryList& directories_;
    std::wstring ownDirectory_;
    bool fallingBack_ = false;
};

}  // namespace lumarel
