// A stand-in for the emulator, for tests only: it appends the command line it was started
// with to "received.txt" beside itself, as one line ended by CR LF, and ends.

#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t own[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, own, MAX_PATH * 4);
    if (length == 0 || length >= MAX_PATH * 4) {
        return 2;
    }
    std::wstring record(own, length);
    record.erase(record.rfind(L'\\') + 1);
    record += L"received.txt";

    const std::wstring line = std::wstring(GetCommandLineW()) + L"\r\n";
    const int size = WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), bytes.data(), size,
                        nullptr, nullptr);

    HANDLE file = CreateFileW(record.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 1;
    }
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok ? 0 : 1;
}
