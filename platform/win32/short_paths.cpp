#include <windows.h>

#include "platform/long_paths.h"
#include "platform/win32/win32_services.h"
#include "platform/win32/win32_support.h"

namespace lumarel {

std::wstring Win32ShortPaths::ShortPath(const std::wstring& path) {
    const auto convert = [](const std::wstring& systemPath) {
        return win32::TextFromGrowingBuffer([&systemPath](wchar_t* buffer, DWORD size) {
            return GetShortPathNameW(systemPath.c_str(), buffer, size);
        });
    };
    const auto exists = [](const std::wstring& systemPath) {
        return GetFileAttributesW(systemPath.c_str()) != INVALID_FILE_ATTRIBUTES;
    };
    // The prefix turns off the system's tidying of "." and "..": a long path is made full
    // first.
    const std::wstring full =
        path.size() < kClassicPathLimit
            ? path
            : win32::TextFromGrowingBuffer([&path](wchar_t* buffer, DWORD size) {
                  return GetFullPathNameW(path.c_str(), size, buffer, nullptr);
              });
    return ShortFormOf(full.empty() ? path : full, convert, exists);
}

}  // namespace lumarel
