#include <windows.h>

#include "platform/text_encoding.h"
#include "platform/win32/win32_services.h"
#include "platform/win32/win32_support.h"

namespace lumarel {

namespace {

using win32::LastError;
using win32::UniqueHandle;

OsResult DiskFull() {
    return OsResult::Failure(ERROR_DISK_FULL, SystemReason(ERROR_DISK_FULL));
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The bytes a whole file gets: those of earlier versions when the ANSI code page holds every
// character, else UTF-8 with a byte-order mark, so that no character is changed on the way.
std::string FileBytes(const std::wstring& text) {
    // ANSI bytes that happen to form UTF-8 ("PokÃ©mon" in 1252) would be read back as UTF-8:
    // only bytes that read back as the same text are kept.
    if (auto ansi = ToAnsiExactly(text)) {
        if (DecodeText(*ansi, [](std::string_view bytes) { return FromAnsi(bytes); }).text ==
            text) {
            return std::move(*ansi);
        }
    }
    return Utf8Bytes(text, true);
}

// Moves the complete new file over the old one. ReplaceFileW keeps the old file's
// attributes and permissions; where it cannot be used (no old file, or a file system that
// does not offer it) the file is moved into place.
OsResult MoveIntoPlace(const std::wstring& temporary, const std::wstring& path) {
    if (Exists(path)) {
        if (ReplaceFileW(path.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                         nullptr, nullptr)) {
            return OsResult::Success();
        }
        const OsResult replaced = LastError();
        // The old file is gone and the new one still waits under its own name.
        if (replaced.error == ERROR_UNABLE_TO_MOVE_REPLACEMENT) {
            if (MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH)) {
                return OsResult::Success();
            }
            return OsResult::Failure(OsResult::kSavedBesideTheFile, LastError().reason);
        }
        if (MoveFileExW(temporary.c_str(), path.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return OsResult::Success();
        }
        DeleteFileW(temporary.c_str());
        return replaced;
    }
    if (MoveFileExW(temporary.c_str(), path.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return OsResult::Success();
    }
    const OsResult moved = LastError();
    DeleteFileW(temporary.c_str());
    return moved;
}

}  // namespace

OsResult Win32TextFiles::AppendLine(const std::wstring& path, const std::wstring& line) {
    UniqueHandle file(CreateFileW(path.c_str(), FILE_APPEND_DATA,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        return LastError();
    }
    const std::string bytes = ToAnsi(line) + "\r\n";
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
        return LastError();
    }
    return written == bytes.size() ? OsResult::Success() : DiskFull();
}

OsResult Win32TextFiles::EnsureExists(const std::wstring& path) {
    UniqueHandle file(CreateFileW(path.c_str(), FILE_APPEND_DATA,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.get() == INVALID_HANDLE_VALUE ? LastError() : OsResult::Success();
}

OsResult Win32TextFiles::ReadAll(const std::wstring& path, std::size_t largest,
                                 std::wstring& text) {
    text.clear();
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        return LastError();
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) {
        return LastError();
    }
    if (size.QuadPart < 0 || static_cast<unsigned long long>(size.QuadPart) > largest) {
        return OsResult::Failure(OsResult::kFileTooLarge, SystemReason(OsResult::kFileTooLarge));
    }
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    size_t filled = 0;
    while (filled < bytes.size()) {
        DWORD read = 0;
        if (!ReadFile(file.get(), bytes.data() + filled, static_cast<DWORD>(bytes.size() - filled),
                      &read, nullptr)) {
            return LastError();
        }
        if (read == 0) {
            break;  // the file became shorter meanwhile
        }
        filled += read;
    }
    bytes.resize(filled);
    text = DecodeText(bytes, [](std::string_view ansi) { return FromAnsi(ansi); }).text;
    return OsResult::Success();
}

OsResult Win32TextFiles::ReplaceWhole(const std::wstring& path, const std::wstring& text) {
    // The new content goes to a file of its own beside the old one, which it replaces only
    // once it is complete on disk: a failure at any point leaves the old file as it was, and
    // a save cut off in between leaves a complete new file that the next start can take.
    const std::wstring temporary = path + L".saving";
    {
        UniqueHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.get() == INVALID_HANDLE_VALUE) {
            return LastError();
        }
        const std::string bytes = FileBytes(text);
        DWORD written = 0;
        const bool complete = WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                        &written, nullptr) &&
                              written == bytes.size() && FlushFileBuffers(file.get());
        if (!complete) {
            OsResult failure = LastError();
            if (failure.error == ERROR_SUCCESS) {
                failure = DiskFull();
            }
            file.reset();
            DeleteFileW(temporary.c_str());
            return failure;
        }
    }
    return MoveIntoPlace(temporary, path);
}

}  // namespace lumarel
