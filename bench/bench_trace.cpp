// Where a start of the main window spends its time, phase by phase: each run is a process
// of its own, as a real start is, and the medians over the runs are printed.
//
//   bench_trace RUNS [DIRECTORY]
//
// DIRECTORY is the folder the traced window starts in, as Lumarel starts in its own (a
// folder of ROMs, say); by default a new empty one.
// Prints "trace PHASE MS" for each phase, in the order start-up reaches them. The trace is
// for finding the cost; it is not a test.

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <map>
#include <string>
#include <vector>

#include "bench/bench_clock.h"
#include "platform/win32/win32_services.h"
#include "ui/main/main_window.h"

namespace {

using lumarel::bench::Median;
using lumarel::bench::MillisecondsBetween;
using lumarel::bench::TempDirectory;

// One start, in this process: prints "phase PHASE MS" lines.
int TraceOnce(std::wstring own) {
    LARGE_INTEGER entered{};
    QueryPerformanceCounter(&entered);
    INITCOMMONCONTROLSEX controls{sizeof(controls),
                                  ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    // A directory of its own, as Lumarel's: its settings file and its listing.
    const bool madeHere = own.empty();
    if (madeHere) {
        own = TempDirectory() + L"\\lumarel-bench-trace-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(own.c_str(), nullptr);
    }
    int status = 0;
    {
        lumarel::Win32Platform win32;
        lumarel::SharedValues shared;
        lumarel::MainWindow window(GetModuleHandleW(nullptr), win32.Services(), shared, own);
        if (!window.Create()) {
            status = 1;
        } else {
            ShowWindow(window.Hwnd(), SW_SHOWNORMAL);
            UpdateWindow(window.Hwnd());
            LARGE_INTEGER painted{};
            QueryPerformanceCounter(&painted);
            const auto& marks = window.Trace().Marks();
            std::printf("phase %ls %.2f\n", L"common controls",
                        MillisecondsBetween(entered, marks[0].at));
            for (size_t i = 1; i < marks.size(); ++i) {
                std::printf("phase %ls %.2f\n", marks[i].phase,
                            MillisecondsBetween(marks[i - 1].at, marks[i].at));
            }
            std::printf("phase %ls %.2f\n", L"first paint",
                        MillisecondsBetween(marks.back().at, painted));
        }
    }
    if (madeHere) {
        DeleteFileW((own + L"\\Lumarel.ini").c_str());
        RemoveDirectoryW(own.c_str());
    }
    return status;
}

// Runs this program once with --once and collects its phases.
bool RunChild(const std::wstring& self, const std::wstring& directory,
              std::vector<std::pair<std::string, double>>& phases) {
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
        return false;
    }
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    std::wstring line = L"\"" + self + L"\" --once";
    if (!directory.empty()) {
        line += L" \"" + directory + L"\"";
    }
    const BOOL started = CreateProcessW(self.c_str(), line.data(), nullptr, nullptr, TRUE, 0,
                                        nullptr, nullptr, &startup, &process);
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(readEnd);
        return false;
    }
    std::string output;
    char buffer[512];
    DWORD read = 0;
    while (ReadFile(readEnd, buffer, sizeof(buffer), &read, nullptr) && read > 0) {
        output.append(buffer, read);
    }
    CloseHandle(readEnd);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    phases.clear();
    size_t at = 0;
    while ((at = output.find("phase ", at)) != std::string::npos) {
        const size_t end = output.find('\n', at);
        const std::string entry = output.substr(at + 6, end - at - 6);
        const size_t lastSpace = entry.rfind(' ');
        phases.emplace_back(entry.substr(0, lastSpace), std::atof(entry.c_str() + lastSpace + 1));
        at = end == std::string::npos ? output.size() : end;
    }
    return !phases.empty();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 2 && std::wstring(argv[1]) == L"--once") {
        return TraceOnce(argc >= 3 ? argv[2] : L"");
    }
    const int runs = argc >= 2 ? std::max(1, _wtoi(argv[1])) : 9;
    const std::wstring directory = argc >= 3 ? argv[2] : L"";
    wchar_t self[MAX_PATH * 2] = L"";
    GetModuleFileNameW(nullptr, self, MAX_PATH * 2);
    std::vector<std::string> order;
    std::map<std::string, std::vector<double>> samples;
    for (int run = -1; run < runs; ++run) {  // one untimed start first, for the disk caches
        std::vector<std::pair<std::string, double>> phases;
        if (!RunChild(self, directory, phases)) {
            std::fprintf(stderr, "bench_trace: a traced start gave no phases\n");
            return 1;
        }
        if (run < 0) {
            continue;
        }
        for (const auto& [phase, ms] : phases) {
            if (samples.count(phase) == 0) {
                order.push_back(phase);
            }
            samples[phase].push_back(ms);
        }
    }
    for (const std::string& phase : order) {
        std::printf("trace %s %.1f\n", phase.c_str(), Median(samples[phase]));
    }
    return 0;
}
