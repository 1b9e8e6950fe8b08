#pragma once
// Paths as plain functions: a name joined to its directory, and paths of 260 characters or
// more, which the classic file calls refuse unless they carry the "\\?\" prefix (the Win32
// layer applies that around its calls).

#include <functional>
#include <string>

namespace lumarel {

// A name in a directory: "C:\" and "C:\ROMS" both take one backslash before it.
std::wstring JoinPath(const std::wstring& directory, const std::wstring& name);

// The classic limit of a path, its terminating NUL included.
inline constexpr std::size_t kClassicPathLimit = 260;

// A full path too long for the classic calls, with the extended-length prefix ("C:\..." as
// "\\?\C:\...", "\\server\share\..." as "\\?\UNC\server\share\..."). Shorter, relative and
// already prefixed paths come back unchanged.
std::wstring ExtendedLengthPath(const std::wstring& path);

// The path as users know it, without an extended-length prefix.
std::wstring WithoutExtendedLengthPrefix(const std::wstring& path);

// The device a path reaches, as one name for every path on it: "C:" for "c:\roms\a.smc",
// "\\server\share" for a share's paths, with or without the extended-length prefix; empty
// for a relative path.
std::wstring DeviceOf(const std::wstring& path);

// The short form of a path by the system's conversion, which gets the path with the prefix
// when it is long: the short form without the prefix; the path itself when it exists but has
// no short form; empty when it does not exist.
std::wstring ShortFormOf(const std::wstring& path,
                         const std::function<std::wstring(const std::wstring&)>& convert,
                         const std::function<bool(const std::wstring&)>& exists);

}  // namespace lumarel
