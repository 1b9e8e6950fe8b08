// Start-up from outside: starts a program, waits until its window is shown and it waits for
// input, then reads its peak working set and closes it. Two programs are measured in turn,
// so that both see the same machine at the same moment.
//
//   bench_runner RUNS PROGRAM_A PROGRAM_B
//
// Prints "startup_ms A B" and "peak_working_set_kib A B", medians over RUNS runs each.

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "bench/bench_clock.h"

namespace {

using lumarel::bench::Median;
using lumarel::bench::Stopwatch;

constexpr DWORD kShowLimitMs = 15000;
constexpr DWORD kExitLimitMs = 5000;

struct Sample {
    double startupMs = 0.0;
    double peakKib = 0.0;
};

struct WindowSearch {
    DWORD processId = 0;
    HWND found = nullptr;
};

HWND VisibleTopLevel(DWORD processId) {
    WindowSearch search{processId, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<WindowSearch*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s->processId && IsWindowVisible(window)) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

DWORD Remaining(const Stopwatch& clock, DWORD limitMs) {
    const double elapsed = clock.Milliseconds();
    return elapsed >= limitMs ? 0 : static_cast<DWORD>(limitMs - elapsed);
}

std::wstring DirectoryOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

bool Measure(const std::wstring& program, Sample& sample) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    std::wstring commandLine = L"\"" + program + L"\"";
    // Each program starts in its own directory, where it keeps its files.
    const std::wstring directory = DirectoryOf(program);

    const Stopwatch clock;
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &startup, &info)) {
        std::fwprintf(stderr, L"bench_runner: cannot start %ls (error %lu)\n", program.c_str(),
                      GetLastError());
        return false;
    }

    // Idle once, then the window must be visible, then idle again: the window is shown and
    // nothing is left to do.
    HWND window = nullptr;
    bool ready = WaitForInputIdle(info.hProcess, Remaining(clock, kShowLimitMs)) == 0;
    while (ready && (window = VisibleTopLevel(info.dwProcessId)) == nullptr) {
        const DWORD left = Remaining(clock, kShowLimitMs);
        if (left == 0 ||
            WaitForSingleObject(info.hProcess, std::min<DWORD>(left, 1)) != WAIT_TIMEOUT) {
            ready = false;
        }
    }
    ready = ready && WaitForInputIdle(info.hProcess, Remaining(clock, kShowLimitMs)) == 0;
    sample.startupMs = clock.Milliseconds();

    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    if (ready && GetProcessMemoryInfo(info.hProcess, &counters, sizeof(counters))) {
        sample.peakKib = static_cast<double>(counters.PeakWorkingSetSize) / 1024.0;
    }

    wchar_t className[64] = L"";
    if (window != nullptr) {
        GetClassNameW(window, className, 64);
    }
    if (!ready) {
        std::fwprintf(stderr, L"bench_runner: %ls showed no window within %lu ms\n",
                      program.c_str(), kShowLimitMs);
    } else if (std::wcscmp(className, L"#32770") == 0) {
        std::fwprintf(stderr, L"bench_runner: %ls showed a dialog, not its main window\n",
                      program.c_str());
        ready = false;
    }

    if (window != nullptr) {
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(info.hProcess, kExitLimitMs) != WAIT_OBJECT_0) {
        std::fwprintf(stderr, L"bench_runner: %ls did not end on WM_CLOSE; ended it\n",
                      program.c_str());
        TerminateProcess(info.hProcess, 99);
        WaitForSingleObject(info.hProcess, kExitLimitMs);
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return ready;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        std::fwprintf(stderr, L"usage: bench_runner RUNS PROGRAM_A PROGRAM_B\n");
        return 2;
    }
    const int runs = std::max(1, _wtoi(argv[1]));
    const std::wstring programs[2] = {argv[2], argv[3]};

    // One start of each first: the first start in a session pays for the system's own
    // processes and cold caches.
    Sample sample;
    for (const std::wstring& program : programs) {
        if (!Measure(program, sample)) {
            return 1;
        }
    }

    std::vector<double> startup[2];
    std::vector<double> peak[2];
    for (int run = 0; run < runs; ++run) {
        // Alternating the order keeps either program from always following the other.
        for (int turn = 0; turn < 2; ++turn) {
            const int which = (run + turn) % 2;
            if (!Measure(programs[which], sample)) {
                return 1;
            }
            startup[which].push_back(sample.startupMs);
            peak[which].push_back(sample.peakKib);
        }
    }
    std::printf("startup_ms %.1f %.1f\n", Median(startup[0]), Median(startup[1]));
    std::printf("peak_working_set_kib %.0f %.0f\n", Median(peak[0]), Median(peak[1]));
    return 0;
}
