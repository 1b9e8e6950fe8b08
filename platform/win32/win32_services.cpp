#include "platform/win32/win32_services.h"

#include <windows.h>

#include <memory>

namespace lumarel {

namespace {

// Owns a kernel handle for the length of one call.
struct HandleCloser {
    void operator()(HANDLE handle) const {
        if (handle != nullptr && handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
        }
    }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

OsResult LastError() {
    const DWORD error = GetLastError();
    return OsResult::Failure(error, SystemReason(error));
}

UINT IconStyle(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Exclamation:
            return MB_ICONEXCLAMATION;
        case MessageIcon::Information:
            return MB_ICONINFORMATION;
        case MessageIcon::Error:
            return MB_ICONERROR;
        case MessageIcon::None:
            break;
    }
    return 0;
}

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

}  // namespace

std::wstring SystemReason(unsigned long error) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring reason;
    if (length != 0 && buffer != nullptr) {
        reason.assign(buffer, length);
    }
    LocalFree(buffer);
    while (!reason.empty() &&
           (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L' ')) {
        reason.pop_back();
    }
    if (reason.empty()) {
        reason = L"Error " + std::to_wstring(error) + L".";
    }
    return reason;
}

std::string ToAnsi(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int length = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(length > 0 ? length : 0), '\0');
    if (length > 0) {
        WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), ansi.data(),
                            length, nullptr, nullptr);
    }
    return ansi;
}

std::wstring FromAnsi(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    const int length =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) {
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                            length);
    }
    return wide;
}

namespace Code {

std::wstring ShortPath(const std::wstring& path) {
    return TextFromGrowingBuffer([&path](wchar_t* buffer, DWORD size) {
        return GetShortPathNameW(path.c_str(), buffer, size);
    });
}

}  // namespace Code

// The window a message belongs to: the active one, or, when Lumarel is not in front, the
// last window the user worked in. An owner keeps the box modal: without one the main window
// would take clicks while the message is up.
static HWND MessageOwner() {
    if (HWND active = GetActiveWindow()) {
        return active;
    }
    HWND owner = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM found) -> BOOL {
            if (IsWindowVisible(window) && GetWindow(window, GW_OWNER) == nullptr) {
                *reinterpret_cast<HWND*>(found) = GetLastActivePopup(window);
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&owner));
    return owner;
}

void Win32MessageBoxes::Show(const Message& message) {
    MessageBoxW(MessageOwner(), message.text.c_str(), message.title.c_str(),
                MB_OK | IconStyle(message.icon));
}

OsResult Win32ProcessStarter::Start(const std::wstring& commandLine, WindowShow show) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow =
        static_cast<WORD>(show == WindowShow::Maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    PROCESS_INFORMATION process{};
    // CreateProcessW may write into the command line, so it gets a copy of its own.
    std::wstring mutableLine = commandLine;
    // The started program gets the system's error mode, not the quiet one Lumarel runs with.
    if (!CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE,
                        CREATE_DEFAULT_ERROR_MODE, nullptr, nullptr, &startup, &process)) {
        return LastError();
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return OsResult::Success();
}

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
    if (written != bytes.size()) {
        return OsResult::Failure(ERROR_DISK_FULL, SystemReason(ERROR_DISK_FULL));
    }
    return OsResult::Success();
}

OsResult Win32TextFiles::EnsureExists(const std::wstring& path) {
    UniqueHandle file(CreateFileW(path.c_str(), FILE_APPEND_DATA,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.get() == INVALID_HANDLE_VALUE ? LastError() : OsResult::Success();
}

OsResult Win32TextFiles::ReadAll(const std::wstring& path, std::wstring& text) {
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
    // A settings file is a few hundred bytes; anything past this is not one.
    constexpr LONGLONG kLargestTextFile = 64LL * 1024 * 1024;
    if (size.QuadPart > kLargestTextFile) {
        return OsResult::Failure(ERROR_FILE_TOO_LARGE, SystemReason(ERROR_FILE_TOO_LARGE));
    }
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() &&
        !ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
        return LastError();
    }
    bytes.resize(read);
    text = FromAnsi(bytes);
    return OsResult::Success();
}

OsResult Win32TextFiles::ReplaceWhole(const std::wstring& path, const std::wstring& text) {
    // The new content goes to a file of its own beside the old one, which it replaces
    // only once it is complete on disk: a failure at any point leaves the old file as it was.
    const std::wstring temporary = path + L".saving";
    {
        UniqueHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.get() == INVALID_HANDLE_VALUE) {
            return LastError();
        }
        const std::string bytes = ToAnsi(text);
        DWORD written = 0;
        const bool complete = WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                        &written, nullptr) &&
                              written == bytes.size() && FlushFileBuffers(file.get());
        if (!complete) {
            OsResult failure = LastError();
            if (failure.error == ERROR_SUCCESS) {
                failure = OsResult::Failure(ERROR_DISK_FULL, SystemReason(ERROR_DISK_FULL));
            }
            file.reset();
            DeleteFileW(temporary.c_str());
            return failure;
        }
    }
    if (!MoveFileExW(temporary.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const OsResult failure = LastError();
        DeleteFileW(temporary.c_str());
        return failure;
    }
    return OsResult::Success();
}

ScreenSize Win32Session::PrimaryScreen() {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

std::wstring Win32Session::DecimalSeparator() {
    wchar_t separator[8] = L"";
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) == 0) {
        return L".";
    }
    return separator;
}

void Win32Session::ExitNow() {
    ExitProcess(0);
}

OsResult Win32FileSystem::List(const std::wstring& directory,
                               std::vector<DirectoryEntry>& entries) {
    entries.clear();
    std::wstring pattern = directory;
    if (pattern.empty() || pattern.back() != L'\\') {
        pattern += L'\\';
    }
    pattern += L'*';
    WIN32_FIND_DATAW found;
    UniqueHandle search(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                         FindExSearchNameMatch, nullptr,
                                         FIND_FIRST_EX_LARGE_FETCH));
    if (search.get() == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        // An empty root directory has not even "." to list.
        if (error == ERROR_FILE_NOT_FOUND) {
            return OsResult::Success();
        }
        return OsResult::Failure(error, SystemReason(error));
    }
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") {
            continue;
        }
        DirectoryEntry entry;
        entry.name = name;
        entry.isDirectory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.isHidden = (found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0;
        entry.isSystem = (found.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM) != 0;
        entry.size = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        entries.push_back(std::move(entry));
    } while (FindNextFileW(search.get(), &found));
    const DWORD error = GetLastError();
    if (error != ERROR_NO_MORE_FILES) {
        return OsResult::Failure(error, SystemReason(error));
    }
    return OsResult::Success();
}

namespace {

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
    static const auto connection = reinterpret_cast<ConnectionFn>(
        reinterpret_cast<void*>(GetProcAddress(LoadLibraryW(L"mpr.dll"), "WNetGetConnectionW")));
    const wchar_t device[] = {letter, L':', L'\0'};
    wchar_t share[MAX_PATH] = L"";
    DWORD length = MAX_PATH;
    if (connection != nullptr && connection(device, share, &length) == NO_ERROR) {
        return share;
    }
    return {};
}

}  // namespace

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
        const wchar_t root[] = {drive.letter, L':', L'\\', L'\0'};
        drive.kind = KindOf(GetDriveTypeW(root));
        if (drive.kind == DriveKind::Remote) {
            drive.label = NetworkShareOf(drive.letter);
        }
        drives.push_back(std::move(drive));
    }
    return OsResult::Success();
}

std::wstring Win32FileSystem::VolumeLabel(wchar_t letter) {
    const wchar_t root[] = {letter, L':', L'\\', L'\0'};
    wchar_t label[MAX_PATH + 1] = L"";
    if (!GetVolumeInformationW(root, label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0)) {
        return {};
    }
    return label;
}

bool Win32FileSystem::DriveIsPresent(wchar_t letter) {
    const wchar_t root[] = {letter, L':', L'\\', L'\0'};
    if (GetDriveTypeW(root) == DRIVE_NO_ROOT_DIR) {
        return false;
    }
    if (GetFileAttributesW(root) != INVALID_FILE_ATTRIBUTES) {
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
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        return LastError();
    }
    size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return OsResult::Success();
}

std::wstring Win32FileSystem::FullPath(const std::wstring& path) {
    return TextFromGrowingBuffer([&path](wchar_t* buffer, DWORD size) {
        return GetFullPathNameW(path.c_str(), size, buffer, nullptr);
    });
}

std::wstring Win32FileSystem::WorkingDirectory() {
    return TextFromGrowingBuffer(
        [](wchar_t* buffer, DWORD size) { return GetCurrentDirectoryW(size, buffer); });
}

}  // namespace lumarel
