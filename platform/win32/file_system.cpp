#include <windows.h>

#include <cstddef>
#include <string_view>

#include "platform/long_paths.h"
#include "platform/win32/system_libraries.h"
#include "platform/win32/win32_services.h"
#include "platform/win32/win32_support.h"

namespace lumarel {

namespace {

using win32::DriveRoot;
using win32::LastError;

// How much of a directory one call reads.
constexpr DWORD kListingBufferBytes = 64 * 1024;

DriveKind KindOf(UINT type) {
    switch (type) {
        case DRIVE_REMOVABLE:
            return DriveKind::Removable;
        case DRIVE_FIXED:
            return DriveKind::Fixed;
        case DRIVE_REMOTE:
            return DriveKind::Remote;
        case DRIVE_CDROM:
            return DriveKind::Optical;
        case DRIVE_RAMDISK:
            return DriveKind::RamDisk;
        default:
            return DriveKind::Unknown;
    }
}

// The share a network drive is connected to, as Windows remembers it: no network traffic.
std::wstring NetworkShareOf(wchar_t letter) {
    using ConnectionFn = DWORD(WINAPI*)(LPCWSTR, LPWSTR, LPDWORD);
    // Loaded only when there is a network drive, to keep start-up lean.
    static const auto connection =
        FunctionOf<ConnectionFn>(LoadSystemLibrary(L"mpr.dll"), "WNetGetConnectionW");
    const wchar_t device[] = {letter, L':', L'\0'};
    wchar_t share[MAX_PATH] = L"";
    DWORD length = MAX_PATH;
    if (connection != nullptr && connection(device, share, &length) == NO_ERROR) {
        return share;
    }
    return {};
}

}  // namespace

OsResult Win32FileSystem::List(const std::wstring& directory, DirectoryListing& listing) {
    listing.Clear();
    OwnedHandle folder(CreateFileW(ExtendedLengthPath(directory).c_str(), FILE_LIST_DIRECTORY,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (folder.Get() == INVALID_HANDLE_VALUE) {
        return LastError();
    }
    // Whole buffers of entries at a time, read where they lie: FindNextFileW copies each
    // entry into a structure of its own first, which under Wine made a listing of 100,000
    // files a fifth slower. LONGLONG keeps the entries' 8-byte alignment.
    std::vector<LONGLONG> buffer(kListingBufferBytes / sizeof(LONGLONG));
    while (GetFileInformationByHandleEx(folder.Get(), FileFullDirectoryInfo, buffer.data(),
                                        kListingBufferBytes)) {
        const auto* at = reinterpret_cast<const std::byte*>(buffer.data());
        for (;;) {
            const auto& info = *reinterpret_cast<const FILE_FULL_DIR_INFO*>(at);
            const std::wstring_view name(info.FileName, info.FileNameLength / sizeof(wchar_t));
            if (name != L"." && name != L"..") {
                listing.Add(name, {0, 0, (info.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                                   (info.FileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0,
                                   (info.FileAttributes & FILE_ATTRIBUTE_SYSTEM) != 0,
                                   static_cast<std::uint64_t>(info.EndOfFile.QuadPart)});
            }
            if (info.NextEntryOffset == 0) {
                break;
            }
            at += info.NextEntryOffset;
        }
    }
    const DWORD error = GetLastError();
    // An empty root directory has not even "." to list.
    if (error != ERROR_NO_MORE_FILES && error != ERROR_FILE_NOT_FOUND) {
        return OsResult::Failure(error, SystemReason(error));
    }
    return OsResult::Success();
}

OsResult Win32FileSystem::Drives(std::vector<DriveInfo>& drives) {
    drives.clear();
    const DWORD mask = GetLogicalDrives();
    if (mask == 0) {
        return LastError();
    }
    for (int index = 0; index < 26; ++index) {
        if ((mask & (1u << index)) == 0) {
            continue;
        }
        DriveInfo drive;
        drive.letter = static_cast<wchar_t>(L'A' + index);
        drive.kind = KindOf(GetDriveTypeW(DriveRoot(drive.letter).c_str()));
        if (drive.kind == DriveKind::Remote) {
            drive.label = NetworkShareOf(drive.letter);
        }
        drives.push_back(std::move(drive));
    }
    return OsResult::Success();
}

std::wstring Win32FileSystem::VolumeLabel(wchar_t letter) {
    wchar_t label[MAX_PATH + 1] = L"";
    if (!GetVolumeInformationW(DriveRoot(letter).c_str(), label, MAX_PATH + 1, nullptr, nullptr,
                               nullptr, nullptr, 0)) {
        return {};
    }
    return label;
}

bool Win32FileSystem::DriveIsPresent(wchar_t letter) {
    const std::wstring root = DriveRoot(letter);
    if (GetDriveTypeW(root.c_str()) == DRIVE_NO_ROOT_DIR) {
        return false;
    }
    if (GetFileAttributesW(root.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return true;
    }
    // A drive that is there but not ready (an empty card reader) is still present.
    const DWORD error = GetLastError();
    return error != ERROR_PATH_NOT_FOUND && error != ERROR_FILE_NOT_FOUND &&
           error != ERROR_INVALID_DRIVE && error != ERROR_BAD_NETPATH &&
           error != ERROR_BAD_NET_NAME;
}

OsResult Win32FileSystem::FileSize(const std::wstring& path, std::uint64_t& size) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(ExtendedLengthPath(path).c_str(), GetFileExInfoStandard, &data)) {
        return LastError();
    }
    size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return OsResult::Success();
}

std::wstring Win32FileSystem::FullPath(const std::wstring& path) {
    return win32::TextFromGrowingBuffer([&path](wchar_t* buffer, DWORD size) {
        return GetFullPathNameW(path.c_str(), size, buffer, nullptr);
    });
}

std::wstring Win32FileSystem::WorkingDirectory() {
    return win32::TextFromGrowingBuffer(
        [](wchar_t* buffer, DWORD size) { return GetCurrentDirectoryW(size, buffer); });
}

}  // namespace lumarel
