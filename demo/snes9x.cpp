// Lumarel's demonstration emulator, in Snes9x's place in the folder `make run` prepares: it
// shows the command line it was started with, each argument with what it names, and ends
// when its window is closed.

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "demo/emulator_report.h"
#include "platform/owned.h"
#include "platform/win32/system_libraries.h"
#include "platform/win32/win32_services.h"
#include "ui/window/modal_window.h"

namespace lumarel::demo {

namespace {

enum DemoControl : int { Report = 600, Close_Button };

const FontDesign kReportFont = {L"Courier New", 9};

// clang-format off
const ControlDesign kControls[] = {
    // id, name, kind, caption, hover text, {left, top, width, height} in twips, frame, items, font
    {Report, L"Report", ControlKind::ReadOnlyText, nullptr, nullptr, {120, 120, 10560, 3840}, 0, {}, &kReportFont, L"What the emulator received"},
    {Close_Button, L"Close_Button", ControlKind::PushButton, L"Close", nullptr, {4920, 4080, 975, 375}},
};
// clang-format on

class EmulatorWindow final : public ModalWindow {
public:
    EmulatorWindow(HINSTANCE instance, Session& session, std::wstring report);
    void Close_Button_Click() { Close(); }

private:
    void Form_Load() override {
        CentreOnScreen();
        SetWindowTextW(Control(Report), report_.c_str());
    }
    int InitialFocus() const override { return Close_Button; }

    std::wstring report_;
};

// Close, Enter and Esc end it.
const Wire kWiring[] = {
    {Close_Button, BN_CLICKED, Run<&EmulatorWindow::Close_Button_Click>},
    {IDOK, kChosen, Run<&EmulatorWindow::Close_Button_Click>},
    {IDCANCEL, kChosen, Run<&EmulatorWindow::Close_Button_Click>},
};

EmulatorWindow::EmulatorWindow(HINSTANCE instance, Session& session, std::wstring report)
    : ModalWindow(instance, session,
                  {L"Snes9x - Lumarel's demonstration", 10800, 4575, kControls, kWiring}),
      report_(std::move(report)) {}

std::vector<std::wstring> Arguments() {
    int count = 0;
    wchar_t** split = CommandLineToArgvW(GetCommandLineW(), &count);
    const OwnedLocalMemory allocated(split);
    std::vector<std::wstring> arguments;
    if (split != nullptr) {
        arguments.assign(split, split + count);
    }
    return arguments;
}

FileOnDisk LookUp(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return {};
    }
    // A short path names the file by its long name, as the user knows it.
    std::wstring full(GetLongPathNameW(path.c_str(), nullptr, 0), L'\0');
    const DWORD length =
        GetLongPathNameW(path.c_str(), full.data(), static_cast<DWORD>(full.size()));
    full.resize(length != 0 && length < full.size() ? length : 0);
    if (full.empty()) {
        full = path;
    }
    return {true, full.substr(full.find_last_of(L"\\/") + 1),
            (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow};
}

int Run(HINSTANCE instance, int show) {
    Win32Session session;
    EmulatorWindow window(
        instance, session,
        EmulatorReport(GetCommandLineW(), Arguments(), show == SW_SHOWMAXIMIZED, LookUp));
    if (!window.Create(nullptr)) {
        MessageBoxW(nullptr,
                    (L"The demonstration emulator could not open its window:\n" +
                     SystemReason(GetLastError()))
                        .c_str(),
                    L"Snes9x", MB_OK | MB_ICONERROR);
        return 1;
    }
    window.ShowModal();
    return 0;
}

}  // namespace

}  // namespace lumarel::demo

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    lumarel::LoadLibrariesFromSystemOnly();
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    try {
        return lumarel::demo::Run(instance, show);
    } catch (...) {
        MessageBoxW(nullptr, L"The demonstration emulator ran out of memory and ends.", L"Snes9x",
                    MB_OK | MB_ICONERROR);
        return 1;
    }
}
