#include "platform/win32/file_calls.h"

namespace lumarel::win32 {

HANDLE FileCalls::Open(const wchar_t* path, DWORD access, DWORD share, DWORD disposition) {
    return CreateFileW(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

BOOL FileCalls::Write(HANDLE file, const void* data, DWORD size, DWORD* written) {
    return WriteFile(file, data, size, written, nullptr);
}

BOOL FileCalls::Flush(HANDLE file) {
    return FlushFileBuffers(file);
}

BOOL FileCalls::Read(HANDLE file, void* buffer, DWORD size, DWORD* read) {
    return ReadFile(file, buffer, size, read, nullptr);
}

BOOL FileCalls::Size(HANDLE file, LARGE_INTEGER* size) {
    return GetFileSizeEx(file, size);
}

BOOL FileCalls::Replace(const wchar_t* replaced, const wchar_t* replacement) {
    // No backup name: with one, a failure may leave the old file under that name instead.
    return ReplaceFileW(replaced, replacement, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                        nullptr);
}

BOOL FileCalls::Move(const wchar_t* from, const wchar_t* to, DWORD flags) {
    return MoveFileExW(from, to, flags);
}

BOOL FileCalls::Delete(const wchar_t* path) {
    return DeleteFileW(path);
}

BOOL FileCalls::Attributes(const wchar_t* path, WIN32_FILE_ATTRIBUTE_DATA* data) {
    return GetFileAttributesExW(path, GetFileExInfoStandard, data);
}

FileCalls& SystemFileCalls() {
    static FileCalls calls;
    return calls;
}

}  // namespace lumarel::win32
