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
    return ShortFormOf(path, convert, exists);
}

}  // namespace lumarel
