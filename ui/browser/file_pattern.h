#pragma once
// Which file names a file list shows: plain functions, no window.

#include <cstddef>
#include <string>
#include <vector>

#include "platform/services.h"

namespace lumarel {

// "*.SMC;*.SFC" as its separate wildcard patterns.
std::vector<std::wstring> SplitPatternList(const std::wstring& patternList);

// Wildcard match of a whole name ("*" any run, "?" one character), ignoring letter case.
bool MatchesWildcard(const std::wstring& name, const std::wstring& pattern);

// What a file list shows, as positions in the listing: plain files (no directories, hidden or
// system files) that match any of the patterns, sorted by name without regard to letter case.
std::vector<std::size_t> ListedFiles(const DirectoryListing& listing,
                                     const std::vector<std::wstring>& patterns);

}  // namespace lumarel
