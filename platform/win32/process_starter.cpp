#include <windows.h>

#include "platform/long_paths.h"
#include "platform/win32/win32_services.h"
#include "platform/win32/win32_support.h"

namespace lumarel {

OsResult Win32ProcessStarter::Start(const std::wstring& program, const std::wstring& commandLine,
                                    WindowShow show) {
    // Text that holds a NUL would be cut short there: what ran would not be what was checked.
    if (program.empty() || program.find(L'\0') != std::wstring::npos ||
        commandLine.find(L'\0') != std::wstring::npos) {
        return OsResult::Failure(ERROR_BAD_PATHNAME, SystemReason(ERROR_BAD_PATHNAME));
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow =
        static_cast<WORD>(show == WindowShow::Maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    PROCESS_INFORMATION process{};
    // CreateProcessW may write into the command line, so it gets a copy of its own.
    std::wstring mutableLine = commandLine;
    // The program is named, so no search path is walked; it gets the system's error mode,
    // not the quiet one Lumarel runs with.
    if (!CreateProcessW(program.c_str(), mutableLine.data(), nullptr, nullptr, FALSE,
                        CREATE_DEFAULT_ERROR_MODE, nullptr, nullptr, &startup, &process)) {
        return win32::LastError();
    }
    // Lumarel neither waits for the emulator nor watches it.
    const OwnedHandle thread(process.hThread);
    const OwnedHandle started(process.hProcess);
    return OsResult::Success();
}

std::wstring Win32ProcessStarter::SystemProgram(const std::wstring& fileName) {
    const auto inDirectory = [&fileName](UINT(WINAPI * directoryOf)(LPWSTR, UINT)) {
        const std::wstring directory = win32::TextFromGrowingBuffer(
            [directoryOf](wchar_t* buffer, DWORD size) { return directoryOf(buffer, size); });
        return directory.empty() ? directory : JoinPath(directory, fileName);
    };
    const std::wstring inSystem = inDirectory(GetSystemDirectoryW);
    if (!inSystem.empty() && GetFileAttributesW(inSystem.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return inSystem;
    }
    const std::wstring inWindows = inDirectory(GetWindowsDirectoryW);
    return !inWindows.empty() ? inWindows : inSystem;
}

}  // namespace lumarel
