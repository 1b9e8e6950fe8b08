#pragma once
// A drive list, a directory list and a file list that follow each other, the same in every
// window that has them: the directory list follows the drive, the file list the directory,
// and an unavailable drive sends both back to Lumarel's own drive and directory. The lists
// tell their changes through the window's wiring, whose handlers each do the browser's shared
// part and then their own.

#include <windows.h>

#include <string>

#include "platform/services.h"
#include "ui/controls/control_table.h"
#include "ui/browser/directory_list.h"
#include "ui/browser/drive_list.h"
#include "ui/browser/file_list.h"

namespace lumarel {

// The three lists' identifiers in the window's control table.
struct BrowserControls {
    int drives;
    int directories;
    int files;
};

class Browser {
public:
    // `filePatterns` are the file list's wildcards; `ownDirectory` is where an unavailable
    // drive falls back to.
    Browser(FileSystem& fileSystem, std::wstring filePatterns, std::wstring ownDirectory);
    Browser(const Browser&) = delete;
    Browser& operator=(const Browser&) = delete;

    // Takes over the window's three lists, with their notifications, and fills the drive
    // list.
    void Attach(ControlSet& controls, BrowserControls ids, UINT dpi);

    DriveList& Drives() { return drives_; }
    DirectoryList& Directories() { return directories_; }
    FileList& Files() { return files_; }

    // The shared part of a drive change: the directory list goes to the drive. Any failure
    // but an unavailable or gone drive leaves it where it was. The fallback never runs from
    // itself, so an unavailable own drive cannot make it repeat without end.
    void FollowDrive();
    // The shared part of a directory change: the file list shows the same directory.
    void FollowDirectory();
    // Points the drive and directory lists at a directory, which is read once: the drive's
    // own current directory is not listed on the way. The directory change runs even when
    // the directory cannot be read.
    void PointAt(const std::wstring& directory);

    void SetDpi(UINT dpi);

private:
    DriveList drives_;
    DirectoryList directories_;
    FileList files_;
    std::wstring ownDirectory_;
    bool fallingBack_ = false;
    bool pointing_ = false;  // a drive change on the way to a named directory
};

}  // namespace lumarel
