#include "tests/e2e/robot.h"

#include <thread>

namespace lumarel::robot {

std::wstring WindowsPath(const char* buildPath) {
    std::wstring path(buildPath, buildPath + std::char_traits<char>::length(buildPath));
    if (!path.empty() && path.front() == L'/') {
        path = L"Z:" + path;  // Wine's drive for the Linux root
    }
    for (wchar_t& c : path) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    return path;
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

Process::~Process() {
    Kill();
}

bool Process::Start(const std::wstring& commandLine, const std::wstring& workingDirectory) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    std::wstring line = commandLine;
    return CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          workingDirectory.empty() ? nullptr : workingDirectory.c_str(), &startup,
                          &info_) != FALSE;
}

bool Process::WaitForExit(std::chrono::milliseconds limit, DWORD* exitCode) {
    if (info_.hProcess == nullptr ||
        WaitForSingleObject(info_.hProcess, static_cast<DWORD>(limit.count())) != WAIT_OBJECT_0) {
        return false;
    }
    if (exitCode != nullptr) {
        GetExitCodeProcess(info_.hProcess, exitCode);
    }
    return true;
}

void Process::Kill() {
    if (info_.hProcess != nullptr) {
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(info_.hProcess, 99);
            WaitForSingleObject(info_.hProcess, 5000);
        }
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
        info_ = {};
    }
}

std::wstring TextOf(HWND window) {
    wchar_t text[1024] = L"";
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        2000, nullptr);
    return text;
}

HWND FindTopLevel(DWORD processId, const std::wstring& caption, std::chrono::milliseconds limit) {
    struct Search {
        DWORD processId;
        const std::wstring* caption;
        HWND found;
    } search{processId, &caption, nullptr};
    WaitUntil(
        [&] {
            EnumWindows(
                [](HWND window, LPARAM data) -> BOOL {
                    auto* s = reinterpret_cast<Search*>(data);
                    DWORD owner = 0;
                    GetWindowThreadProcessId(window, &owner);
                    if (owner == s->processId && IsWindowVisible(window) &&
                        TextOf(window) == *s->caption) {
                        s->found = window;
                        return FALSE;
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        limit);
    return search.found;
}

}  // namespace lumarel::robot
