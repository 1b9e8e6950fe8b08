// Start-up from outside: starts a program, waits until its window is shown and it waits for
// input, then reads its peak working set and closes it. The programs are measured in turn,
// so that all see the same machine at the same moment.
//
//   bench_runner RUNS PROGRAM...
//
// Prints "startup_ms" and "peak_working_set_kib" with one median over RUNS runs for each
// program, in the order given, and from the first start of each "child_windows" and
// "tooltip_tools" (what its window holds at idle), so that a floor can be seen to match.
// "folder_ms" is the bare enumeration of each program's directory, timed in the same turns:
// what reading the folder a program starts in costs by itself.

#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "bench/bench_clock.h"

namespace {

using lumarel::bench::CountEntries;
using lumarel::bench::Median;
using lumarel::bench::Stopwatch;

constexpr DWORD kShowLimitMs = 15000;
constexpr DWORD kExitLimitMs = 5000;

struct Sample {
    double startupMs = 0.0;
    double peakKib = 0.0;
    int childWindows = 0;
    int tooltipTools = 0;
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

int ChildWindowCount(HWND window) {
    int count = 0;
    EnumChildWindows(
        window,
        [](HWND, LPARAM data) -> BOOL {
            ++*reinterpret_cast<int*>(data);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

struct ToolSearch {
    DWORD processId = 0;
    int tools = 0;
};

// The tools of every tooltip control the process has.
int TooltipToolCount(DWORD processId) {
    ToolSearch search{processId, 0};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<ToolSearch*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            wchar_t className[64] = L"";
            if (owner == s->processId && GetClassNameW(window, className, 64) > 0 &&
                std::wcscmp(className, TOOLTIPS_CLASSW) == 0) {
                DWORD_PTR tools = 0;
                if (SendMessageTimeoutW(window, TTM_GETTOOLCOUNT, 0, 0, SMTO_ABORTIFHUNG, 1000,
                                        &tools) != 0) {
                    s->tools += static_cast<int>(tools);
                }
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.tools;
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
    if (ready) {
        sample.childWindows = ChildWindowCount(window);
        sample.tooltipTools = TooltipToolCount(info.dwProcessId);
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

void PrintRow(const char* key, const std::vector<double>& values, int decimals) {
    std::printf("%s", key);
    for (const double value : values) {
        std::printf(" %.*f", decimals, value);
    }
    std::printf("\n");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fwprintf(stderr, L"usage: bench_runner RUNS PROGRAM...\n");
        return 2;
    }
    const int runs = std::max(1, _wtoi(argv[1]));
    const std::vector<std::wstring> programs(argv + 2, argv + argc);
    const size_t count = programs.size();

    // One start of each first: the first start in a session pays for the system's own
    // processes and cold caches.
    std::vector<double> childWindows;
    std::vector<double> tooltipTools;
    Sample sample;
    for (const std::wstring& program : programs) {
        if (!Measure(program, sample)) {
            return 1;
        }
        childWindows.push_back(sample.childWindows);
        tooltipTools.push_back(sample.tooltipTools);
    }

    std::vector<std::vector<double>> startup(count);
    std::vector<std::vector<double>> peak(count);
    std::vector<std::vector<double>> folder(count);
    for (int run = 0; run < runs; ++run) {
        // Rotating the order keeps any program from always following the same other.
        for (size_t turn = 0; turn < count; ++turn) {
            const size_t which = (static_cast<size_t>(run) + turn) % count;
            if (!Measure(programs[which], sample)) {
                return 1;
            }
            startup[which].push_back(sample.startupMs);
            peak[which].push_back(sample.peakKib);
            const Stopwatch listing;
            CountEntries(DirectoryOf(programs[which]));
            folder[which].push_back(listing.Milliseconds());
        }
    }
    std::vector<double> startupMedians;
    std::vector<double> peakMedians;
    std::vector<double> folderMedians;
    for (size_t which = 0; which < count; ++which) {
        startupMedians.push_back(Median(startup[which]));
        peakMedians.push_back(Median(peak[which]));
        folderMedians.push_back(Median(folder[which]));
    }
    PrintRow("startup_ms", startupMedians, 1);
    PrintRow("peak_working_set_kib", peakMedians, 0);
    PrintRow("folder_ms", folderMedians, 1);
    PrintRow("child_windows", childWindows, 0);
    PrintRow("tooltip_tools", tooltipTools, 0);
    return 0;
}
