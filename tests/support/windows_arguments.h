#pragma once
// A Windows command line read back into its arguments by the C runtime's documented rules,
// written apart from the quoting in launch/ so that each can check the other.

#include <string>
#include <string_view>
#include <vector>

namespace lumarel::testing {

// The first argument is the program name: double quotes only group and are dropped, and
// backslashes are plain. The later ones follow the backslash and double quote rules. Blanks
// and tabs separate arguments; the first argument is there even when empty.
std::vector<std::wstring> SplitWindowsCommandLine(std::wstring_view line);

}  // namespace lumarel::testing
