#pragma once
// Small helpers every Win32 service shares: the last error as an OsResult, and texts that
// the system fills into buffers of a size it names.

#include <windows.h>

#include <string>

#include "platform/os_result.h"
#include "platform/owned.h"

namespace lumarel::win32 {

// The calling thread's last error, with the system's words for it.
OsResult LastError();

// Calls a function that fills a text buffer and, when the buffer is too small, says how
// large it must be; the text may grow between two calls, so it asks a few times.
template <typename Fill>
std::wstring TextFromGrowingBuffer(Fill fill) {
    std::wstring buffer(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 4; ++attempt) {
        const DWORD length = fill(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        buffer.assign(length, L'\0');
    }
    return {};
}

// The root directory of a drive, "C:\".
inline std::wstring DriveRoot(wchar_t letter) {
    return {letter, L':', L'\\'};
}

}  // namespace lumarel::win32
