#pragma once
// The emulator command line, built from values alone.

#include <cstddef>
#include <optional>
#include <string>

#include "launch/launch_options.h"
#include "platform/long_paths.h"

namespace lumarel {

// Lines longer than this draw a warning (they are still passed on whole).
inline constexpr std::size_t kLongestQuietCommandLine = 127;

// The directory part of a full file path, without a trailing backslash except for a drive's
// root directory ("C:\GAMES\lumarel.exe" gives "C:\GAMES", "C:\lumarel.exe" gives "C:\").
std::wstring DirectoryOf(const std::wstring& filePath);

// The run action accepts an emulator only when the path's last three characters are EXE
// in any letter case.
bool IsAcceptedEmulatorPath(const std::wstring& path);

// A short path normally holds no blank; on volumes without 8.3 names it can, and then it
// must be quoted or the emulator would receive it split in two. A path without blank, tab or
// double quote, and an empty one, is passed unchanged.
//
// The program name: inside quotes it runs to the next double quote, without escapes, so it
// cannot carry a double quote (no file name holds one).
std::wstring QuotedProgramArgument(const std::wstring& path);

// A later argument: the backslashes before a double quote, and before the closing quote, are
// doubled and the double quote is escaped, so that it reads back as exactly this path.
std::wstring QuotedArgument(const std::wstring& path);

// The whole command line: both paths, then the option pieces, the nine-character cheat
// codes and the extra text, in their fixed order.
std::wstring AssembleCommandLine(const std::wstring& shortEmulatorPath,
                                 const std::wstring& shortRomPath, const LaunchOptions& options,
                                 const CheatCodes& cheatCodes);

// The warning shown for a line of 128 characters or more, or nothing for a shorter one.
std::optional<std::wstring> LengthWarning(const std::wstring& commandLine);

}  // namespace lumarel
