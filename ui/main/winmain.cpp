// Lumarel's entry point: the main window and the message loop.

#include <windows.h>
#include <commctrl.h>

#include "launch/command_line.h"
#include "platform/win32/system_libraries.h"
#include "platform/win32/win32_services.h"
#include "ui/window/handler_guard.h"
#include "ui/window/message_loop.h"
#include "ui/main/main_window.h"

namespace {

std::wstring ExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

int Run(HINSTANCE instance, int show) {
    // Never destroyed: a call the person gave up may still be using it as the process ends.
    lumarel::Win32Platform& win32 = *new lumarel::Win32Platform;
    lumarel::SharedValues shared;
    lumarel::MainWindow main(instance, win32.Services(), shared,
                             lumarel::DirectoryOf(ExecutablePath()));
    main.ShowWhenCreated(show);
    if (!main.Create()) {
        const DWORD error = GetLastError();
        MessageBoxW(
            nullptr,
            (L"Lumarel could not open its window:\n" + lumarel::SystemReason(error)).c_str(),
            L"Lumarel", MB_OK | MB_ICONERROR);
        return 1;
    }
    main.EndRunWhenClosed();
    lumarel::PumpMessagesUntil([] { return false; });
    return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    // Before anything is loaded: libraries come from the system folder, never from beside
    // Lumarel or from the working directory.
    lumarel::LoadLibrariesFromSystemOnly();
    // No system box asks for a disk: an empty card reader or floppy drive in a list is the
    // browser's to handle, quietly.
    SetErrorMode(GetErrorMode() | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    INITCOMMONCONTROLSEX controls{sizeof(controls),
                                  ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    // The start-up runs outside any window procedure: what it throws is caught here.
    try {
        return Run(instance, show);
    } catch (...) {
        lumarel::TellEscapedFailure(std::current_exception(), 0, lumarel::AfterFailure::Closes);
        return 1;
    }
}
