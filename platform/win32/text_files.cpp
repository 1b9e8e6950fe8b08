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

bool Exists(win32::FileCalls& calls, const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    return calls.Attributes(path.c_str(), &data) != FALSE;
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
OsResult MoveIntoPlace(win32::FileCalls& calls, const std::wstring& temporary,
                       const std::wstring& path) {
    if (Exists(calls, path)) {
        if (calls.Replace(path.c_str(), temporary.c_str())) {
            return OsResult::Success();
        }
        const OsResult replaced = LastError();
        // The old file is gone and the new one still waits under its own name.
        if (replaced.error == ERROR_UNABLE_TO_MOVE_REPLACEMENT) {
            if (calls.Move(temporary.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH)) {
                return OsResult::Success();
            }
            return OsResult::Failure(OsResult::kSavedBesideTheFile, LastError().reason);
        }
        if (calls.Move(temporary.c_str(), path.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return OsResult::Success();
        }
        calls.Delete(temporary.c_str());
        return replaced;
    }
    if (calls.Move(temporary.c_str(), path.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return OsResult::Success();
    }
    const OsResult moved = LastError();
    calls.Delete(temporary.c_str());
    return moved;
}

}  // namespace

OsResult Win32TextFiles::AppendLine(const std::wstring& path, const std::wstring& line) {
    UniqueHandle file(calls_.Open(path.c_str(), FILE_APPEND_DATA,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_ALWAYS));
    if (file.get() == INVALID_HANDLE_VALUE) {
        return LastError();
    }
    const std::string bytes = ToAnsi(line) + "\r\n";
    DWORD written = 0;
    if (!calls_.Write(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written)) {
        return LastError();
    }
    return written == bytes.size() ? OsResult::Success() : DiskFull();
}

OsResult Win32TextFiles::EnsureExists(const std::wstring& path) {
    UniqueHandle file(calls_.Open(path.c_str(), FILE_APPEND_DATA,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_ALWAYS));
    return file.get() == INVALID_HANDLE_VALUE ? LastError() : OsResult::Success();
}

OsResult Win32TextFiles::ReadAll(const std::wstring& path, std::size_t largest,
                                 std::wstring& text) {
    text.clear();
    UniqueHandle file(
        calls_.Open(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING));
    if (file.get() == INVALID_HANDLE_VALUE) {
        return LastError();
    }
    LARGE_INTEGER size{};
    if (!calls_.Size(file.get(), &size)) {
        return LastError();
    }
    if (size.QuadPart < 0 || static_cast<unsigned long long>(size.QuadPart) > largest) {
        return OsResult::Failure(OsResult::kFileTooLarge, SystemReason(OsResult::kFileTooLarge));
    }
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    size_t filled = 0;
    while (filled < bytes.size()) {
        DWORD read = 0;
        if (!calls_.Read(file.get(), bytes.data() + filled,
                         static_cast<DWORD>(bytes.size() - filled), &read)) {
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
        UniqueHandle file(calls_.Open(temporary.c_str(), GENERIC_WRITE, 0, CREATE_ALWAYS));
        if (file.get() == INVALID_HANDLE_VALUE) {
            return LastError();
        }
        const std::string bytes = FileBytes(text);
        DWORD written = 0;
        const bool complete =
            calls_.Write(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written) &&
            written == bytes.size() && calls_.Flush(file.get());
        if (!complete) {
            OsResult failure = LastError();
            if (failure.error == ERROR_SUCCESS) {
                failure = DiskFull();
            }
            file.reset();
            calls_.Delete(temporary.c_str());
            return failure;
        }
    }
    return MoveIntoPlace(calls_, temporary, path);
}

}  // namespace lumarel
