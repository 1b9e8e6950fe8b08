// A directory of 20,000 ROM images, shown by the real main window, against the bare system
// enumeration of the same directory. Both are timed in turn within this one process.
//
//   bench_listing RUNS
//
// Prints "listing_ms LUMAREL BARE" (medians over RUNS runs each) and "rom_count N".

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_clock.h"
#include "launch/launch_options.h"
#include "platform/win32/win32_services.h"
#include "ui/main/main_layout.h"
#include "ui/main/main_window.h"

namespace {

using lumarel::bench::Median;
using lumarel::bench::Stopwatch;

constexpr int kRomCount = 20000;

std::wstring TempDirectory() {
    wchar_t path[MAX_PATH + 1] = L"";
    const DWORD length = GetTempPathW(MAX_PATH + 1, path);
    std::wstring temp(path, length);
    if (!temp.empty() && temp.back() == L'\\') {
        temp.pop_back();
    }
    return temp;
}

// The bare enumeration Lumarel is measured against; "." and ".." included.
int CountEntries(const std::wstring& directory) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileExW((directory + L"\\*").c_str(), FindExInfoBasic, &found,
                                     FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) {
        return 0;
    }
    int count = 0;
    do {
        ++count;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return count;
}

// Made once and kept in the temp folder: creating 20,000 files costs more than the benchmark.
bool EnsureRomDirectory(const std::wstring& directory) {
    CreateDirectoryW(directory.c_str(), nullptr);
    if (CountEntries(directory) == kRomCount + 2) {
        return true;
    }
    std::fwprintf(stderr, L"bench_listing: creating %d ROM files in %ls (once)\n", kRomCount,
                  directory.c_str());
    for (int number = 1; number <= kRomCount; ++number) {
        wchar_t name[32];
        std::swprintf(name, 32, L"\\Game %05d.smc", number);
        HANDLE file = CreateFileW((directory + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            std::fwprintf(stderr, L"bench_listing: cannot create %ls%ls (error %lu)\n",
                          directory.c_str(), name, GetLastError());
            return false;
        }
        CloseHandle(file);
    }
    return CountEntries(directory) == kRomCount + 2;
}

void RemoveWithFiles(const std::wstring& directory) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((directory + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                DeleteFileW((directory + L"\\" + found.cFileName).c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(directory.c_str());
}

void DrainMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

std::wstring TextOf(HWND window) {
    wchar_t text[64] = L"";
    GetWindowTextW(window, text, 64);
    return text;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fwprintf(stderr, L"usage: bench_listing RUNS\n");
        return 2;
    }
    const int runs = std::max(1, _wtoi(argv[1]));

    const std::wstring temp = TempDirectory();
    const std::wstring romDirectory = temp + L"\\lumarel-bench-roms";
    if (!EnsureRomDirectory(romDirectory)) {
        std::fwprintf(stderr, L"bench_listing: %ls does not hold %d ROM files\n",
                      romDirectory.c_str(), kRomCount);
        return 1;
    }
    // Lumarel's own directory holds its settings file: a fresh one, removed afterwards.
    const std::wstring ownDirectory =
        temp + L"\\lumarel-bench-own-" + std::to_wstring(GetCurrentProcessId());
    if (!CreateDirectoryW(ownDirectory.c_str(), nullptr)) {
        std::fwprintf(stderr, L"bench_listing: cannot create %ls\n", ownDirectory.c_str());
        return 1;
    }

    INITCOMMONCONTROLSEX controls{sizeof(controls),
                                  ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    int status = 0;
    {
        lumarel::Win32Platform win32;
        lumarel::SharedValues shared;
        lumarel::MainWindow window(GetModuleHandleW(nullptr), win32.Services(), shared,
                                   ownDirectory);
        if (!window.Create()) {
            std::fwprintf(stderr, L"bench_listing: the main window was not created (error %lu)\n",
                          GetLastError());
            RemoveWithFiles(ownDirectory);
            return 1;
        }
        ShowWindow(window.Hwnd(), SW_SHOWNORMAL);
        UpdateWindow(window.Hwnd());
        DrainMessages();

        std::vector<double> lumarelMs;
        std::vector<double> bareMs;
        // One untimed round first, to warm the caches for both.
        for (int run = -1; run < runs; ++run) {
            for (int turn = 0; turn < 2; ++turn) {
                if ((run + 2 + turn) % 2 == 0) {
                    // Away first, so that every timed change is a real change of directory.
                    window.Directories().SetDirectory(ownDirectory);
                    DrainMessages();
                    const Stopwatch clock;
                    const bool ok = window.Directories().SetDirectory(romDirectory).ok;
                    const double ms = clock.Milliseconds();
                    if (!ok) {
                        std::fwprintf(stderr, L"bench_listing: Lumarel could not open %ls\n",
                                      romDirectory.c_str());
                        status = 1;
                    } else if (run >= 0) {
                        lumarelMs.push_back(ms);
                    }
                } else {
                    const Stopwatch clock;
                    const int count = CountEntries(romDirectory);
                    const double ms = clock.Milliseconds();
                    if (count != kRomCount + 2) {
                        status = 1;
                    } else if (run >= 0) {
                        bareMs.push_back(ms);
                    }
                }
                DrainMessages();
            }
        }

        const int listed = window.RomList().Count();
        const auto shown =
            static_cast<int>(SendMessageW(window.RomList().Hwnd(), LB_GETCOUNT, 0, 0));
        const std::wstring counted = TextOf(window.Control(lumarel::numberofroms));
        if (listed != kRomCount || shown != kRomCount || counted != std::to_wstring(kRomCount)) {
            std::fwprintf(stderr,
                          L"bench_listing: expected %d ROMs; the list has %d, the list box %d, "
                          L"the count reads \"%ls\"\n",
                          kRomCount, listed, shown, counted.c_str());
            status = 1;
        }
        std::printf("listing_ms %.1f %.1f\n", Median(lumarelMs), Median(bareMs));
        std::printf("rom_count %d %ls\n", listed, status == 0 ? L"ok" : L"wrong");
    }
    RemoveWithFiles(ownDirectory);
    return status;
}
