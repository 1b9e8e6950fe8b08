#include <windows.h>

#include "platform/text_encoding.h"
#include "platform/win32/win32_services.h"
#include "platform/win32/win32_support.h"

namespace lumarel {

namespace {

using win32::LastError;

OsResult DiskFull() {
    return OsResult::Failure(ERROR_DISK_FULL, SystemReason(ERROR_DISK_FULL));
}

// The bytes a whole file gets: those of earlier versions when the ANSI code page holds every
// character, else UTF-8 with a byte-order mark, so that no character is changed on the way.
std::string FileBytes(const std::wstring& text) {
    // Half a surrogate pair (NTFS takes one in a name) has no UTF-8 form: UTF-16 keeps it.
    if (HoldsLoneSurrogate(text)) {
        return Utf16LeBytes(text, true);
    }
    // ANSI bytes that happen to form UTF-8 ("PokÃ©mon" in 1252) would be read back as
    // UTF-8: only bytes that read back as the same text are kept.
    if (auto ansi = ToAnsiExactly(text)) {
        if (DecodeText(*ansi, [](std::string_view bytes) { return FromAnsi(bytes); }).text ==
            text) {
            return std::move(*ansi);
        }
    }
    return Utf8Bytes(text, true);
}

OsResult Done(BOOL done) {
    return done ? OsResult::Success() : LastError();
}

}  // namespace

OsResult Win32TextFiles::AppendLine(const std::wstring& path, const std::wstring& line) {
    OwnedHandle file(calls_.Open(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 OPEN_ALWAYS));
    if (file.Get() == INVALID_HANDLE_VALUE) {
        return LastError();
    }
    const std::string bytes = ToAnsi(line) + "\r\n";
    DWORD written = 0;
    if (!calls_.Write(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written)) {
        return LastError();
    }
    return written == bytes.size() ? OsResult::Success() : DiskFull();
}

OsResult Win32TextFiles::EnsureExists(const std::wstring& path) {
    OwnedHandle file(calls_.Open(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 OPEN_ALWAYS));
    return file.Get() == INVALID_HANDLE_VALUE ? LastError() : OsResult::Success();
}

OsResult Win32TextFiles::ReadAll(const std::wstring& path, std::size_t largest,
                                 std::wstring& text) {
    text.clear();
    OwnedHandle file(
        calls_.Open(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING));
    if (file.Get() == INVALID_HANDLE_VALUE) {
        return LastError();
    }
    LARGE_INTEGER size{};
    if (!calls_.Size(file.Get(), &size)) {
        return LastError();
    }
    if (size.QuadPart < 0 || static_cast<unsigned long long>(size.QuadPart) > largest) {
        return OsResult::Failure(OsResult::kFileTooLarge, SystemReason(OsResult::kFileTooLarge));
    }
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    size_t filled = 0;
    while (filled < bytes.size()) {
        DWORD read = 0;
        if (!calls_.Read(file.Get(), bytes.data() + filled,
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

OsResult Win32TextFiles::Look(const std::wstring& path, FileFacts& facts) {
    facts = {};
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!calls_.Attributes(path.c_str(), &data)) {
        // Only the file is missing; a missing folder means the drive went (a stick pulled
        // out), which is no answer about the file.
        const OsResult looked = LastError();
        return looked.error == ERROR_FILE_NOT_FOUND ? OsResult::Success() : looked;
    }
    facts.exists = true;
    facts.size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    facts.lastWrite = (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                      data.ftLastWriteTime.dwLowDateTime;
    return OsResult::Success();
}

OsResult Win32TextFiles::WriteWhole(const std::wstring& path, const std::wstring& text) {
    OwnedHandle file(calls_.Open(path.c_str(), GENERIC_WRITE, 0, CREATE_ALWAYS));
    if (file.Get() == INVALID_HANDLE_VALUE) {
        return LastError();
    }
    const std::string bytes = FileBytes(text);
    DWORD written = 0;
    if (!calls_.Write(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written)) {
        return LastError();
    }
    if (written != bytes.size()) {
        return DiskFull();
    }
    // On the disk before anything is renamed to it, so that no power cut leaves a name on
    // a file whose content never arrived.
    return Done(calls_.Flush(file.Get()));
}

OsResult Win32TextFiles::Replace(const std::wstring& path, const std::wstring& replacement) {
    return Done(calls_.Replace(path.c_str(), replacement.c_str()));
}

OsResult Win32TextFiles::Rename(const std::wstring& from, const std::wstring& to) {
    return Done(
        calls_.Move(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
}

OsResult Win32TextFiles::Remove(const std::wstring& path) {
    return Done(calls_.Delete(path.c_str()));
}

}  // namespace lumarel
