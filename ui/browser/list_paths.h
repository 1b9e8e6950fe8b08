#pragma once
// What the drive and directory lists show: plain functions, no window.

#include <string>
#include <vector>

#include "platform/services.h"

namespace lumarel {

// A drive as a drive list shows it: "c: [SYSTEM]", or "c:" when it has no label.
std::wstring DriveListText(const DriveInfo& drive);

// One line of a directory list's path part.
struct ChainEntry {
    std::wstring path;     // the directory the line opens
    std::wstring display;  // what the line shows
};

// The directory and its ancestors, root first: "C:\A\B" gives "C:\", "C:\A", "C:\A\B",
// shown as "C:\", "A", "B". A network path's root is its share ("\\server\share\").
std::vector<ChainEntry> DirectoryChain(const std::wstring& directory);

// The drive letter a path begins with, upper case; 0 when it has none.
wchar_t DriveLetterOf(const std::wstring& path);

}  // namespace lumarel
