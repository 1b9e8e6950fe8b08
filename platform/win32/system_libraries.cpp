#include "platform/win32/system_libraries.h"

#include <string>

#include "platform/long_paths.h"
#include "platform/win32/win32_support.h"

namespace lumarel {

void LoadLibrariesFromSystemOnly() {
    using SetDirectoriesFn = BOOL(WINAPI*)(DWORD);
    const auto setDefaultDirectories =
        FunctionOf<SetDirectoriesFn>(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
    if (setDefaultDirectories != nullptr) {
        setDefaultDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
}

HMODULE LoadSystemLibrary(const wchar_t* fileName) {
    if (HMODULE module = LoadLibraryExW(fileName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        return module;
    }
    // Without the search flags (Windows 7 before its update) the call fails with
    // ERROR_INVALID_PARAMETER: name the file in the system folder instead.
    std::wstring path = win32::TextFromGrowingBuffer(
        [](wchar_t* buffer, DWORD size) { return GetSystemDirectoryW(buffer, size); });
    if (path.empty()) {
        return nullptr;
    }
    return LoadLibraryExW(JoinPath(path, fileName).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace lumarel
