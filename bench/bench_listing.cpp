// Directories of many ROM images, shown by the real main window, against the bare system
// enumeration of the same directory. All are timed in turn within this one process.
//
//   bench_listing RUNS ROM_COUNT...
//
// Prints for each ROM count "listing_ms ROM_COUNT LUMAREL BARE" (medians over RUNS runs each)
// and "rom_count ROM_COUNT LISTED ok|wrong", LISTED being what Lumarel's list held, then
// "listing_parts ROM_COUNT READ MATCH FILL": where Lumarel's time goes, each part alone.

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_clock.h"
#include "launch/launch_options.h"
#include "platform/win32/win32_services.h"
#include "ui/controls/file_pattern.h"
#include "ui/main/main_layout.h"
#include "ui/main/main_window.h"

namespace {

using lumarel::bench::Median;
using lumarel::bench::Stopwatch;
using lumarel::bench::TempDirectory;

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

// Made once for each ROM count and kept in the temp folder: creating the files costs more
// than the benchmark.
bool EnsureRomDirectory(const std::wstring& directory, int romCount) {
    CreateDirectoryW(directory.c_str(), nullptr);
    if (CountEntries(directory) == romCount + 2) {
        return true;
    }
    std::fwprintf(stderr, L"bench_listing: creating %d ROM files in %ls (once)\n", romCount,
                  directory.c_str());
    for (int number = 1; number <= romCount; ++number) {
        wchar_t name[32];
        std::swprintf(name, 32, L"\\Game %06d.smc", number);
        HANDLE file = CreateFileW((directory + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            std::fwprintf(stderr, L"bench_listing: cannot create %ls%ls (error %lu)\n",
                          directory.c_str(), name, GetLastError());
            return false;
        }
        CloseHandle(file);
    }
    return CountEntries(directory) == romCount + 2;
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

// A listing's three parts, each timed alone: reading the directory, choosing and sorting the
// ROMs, and filling a list box of the ROM list's kind with their names, redraw off.
struct ListingParts {
    std::vector<double> readMs, matchMs, fillMs;
};

void TimeListingParts(const std::wstring& directory, HWND listBox, ListingParts& parts) {
    lumarel::Win32FileSystem files;
    std::vector<lumarel::DirectoryEntry> entries;
    Stopwatch read;
    files.List(directory, entries);
    parts.readMs.push_back(read.Milliseconds());

    const auto patterns = lumarel::SplitPatternList(lumarel::kRomPatterns);
    Stopwatch match;
    const std::vector<std::size_t> listed = lumarel::ListedFiles(entries, patterns);
    parts.matchMs.push_back(match.Milliseconds());

    SendMessageW(listBox, LB_RESETCONTENT, 0, 0);
    Stopwatch fill;
    SendMessageW(listBox, WM_SETREDRAW, FALSE, 0);
    for (const std::size_t entry : listed) {
        SendMessageW(listBox, LB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(entries[entry].name.c_str()));
    }
    SendMessageW(listBox, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(listBox, nullptr, TRUE);
    parts.fillMs.push_back(fill.Milliseconds());
}

struct RomDirectory {
    int romCount = 0;
    std::wstring path;
    std::vector<double> lumarelMs;
    std::vector<double> bareMs;
    ListingParts parts;
    int listed = 0;
    bool complete = true;
};

// Whether the list, the list box and the count all hold the directory's ROMs.
bool ListIsComplete(lumarel::MainWindow& window, RomDirectory& directory) {
    directory.listed = window.RomList().Count();
    const auto shown =
        static_cast<int>(SendMessageW(window.RomList().Hwnd(), LVM_GETITEMCOUNT, 0, 0));
    const std::wstring counted = TextOf(window.Control(lumarel::numberofroms));
    if (directory.listed == directory.romCount && shown == directory.romCount &&
        counted == std::to_wstring(directory.romCount)) {
        return true;
    }
    std::fwprintf(stderr,
                  L"bench_listing: expected %d ROMs; the list has %d, the list box %d, "
                  L"the count reads \"%ls\"\n",
                  directory.romCount, directory.listed, shown, counted.c_str());
    return false;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fwprintf(stderr, L"usage: bench_listing RUNS ROM_COUNT...\n");
        return 2;
    }
    const int runs = std::max(1, _wtoi(argv[1]));

    const std::wstring temp = TempDirectory();
    std::vector<RomDirectory> directories;
    for (int index = 2; index < argc; ++index) {
        RomDirectory directory;
        directory.romCount = _wtoi(argv[index]);
        directory.path = temp + L"\\lumarel-bench-roms-" + std::to_wstring(directory.romCount);
        if (directory.romCount <= 0) {
            std::fwprintf(stderr, L"bench_listing: %ls is not a ROM count\n", argv[index]);
            return 2;
        }
        if (!EnsureRomDirectory(directory.path, directory.romCount)) {
            std::fwprintf(stderr, L"bench_listing: %ls does not hold %ls ROM files\n",
                          directory.path.c_str(), argv[index]);
            return 1;
        }
        directories.push_back(directory);
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

        // One untimed round first, to warm the caches for all.
        for (int run = -1; run < runs; ++run) {
            for (RomDirectory& directory : directories) {
                for (int turn = 0; turn < 2; ++turn) {
                    if ((run + 2 + turn) % 2 == 0) {
                        // Away first, so that every timed change is a real change of directory.
                        window.Directories().SetDirectory(ownDirectory);
                        DrainMessages();
                        const Stopwatch clock;
                        const bool ok = window.Directories().SetDirectory(directory.path).ok;
                        const double ms = clock.Milliseconds();
                        if (!ok) {
                            std::fwprintf(stderr, L"bench_listing: Lumarel could not open %ls\n",
                                          directory.path.c_str());
                            directory.complete = false;
                        } else if (!ListIsComplete(window, directory)) {
                            directory.complete = false;
                        } else if (run >= 0) {
                            directory.lumarelMs.push_back(ms);
                        }
                    } else {
                        const Stopwatch clock;
                        const int count = CountEntries(directory.path);
                        const double ms = clock.Milliseconds();
                        if (count != directory.romCount + 2) {
                            directory.complete = false;
                        } else if (run >= 0) {
                            directory.bareMs.push_back(ms);
                        }
                    }
                    DrainMessages();
                }
            }
        }

        // The parts, in a list box of the ROM list's kind, font and place, over it.
        RECT place{};
        GetWindowRect(window.RomList().Hwnd(), &place);
        MapWindowPoints(nullptr, window.Hwnd(), reinterpret_cast<POINT*>(&place), 2);
        HWND listBox = CreateWindowExW(
            WS_EX_CLIENTEDGE, WC_LISTBOXW, L"",
            WS_CHILD | WS_VISIBLE | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
            place.left, place.top, place.right - place.left, place.bottom - place.top,
            window.Hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
        if (listBox != nullptr) {
            SendMessageW(listBox, WM_SETFONT,
                         SendMessageW(window.RomList().Hwnd(), WM_GETFONT, 0, 0), FALSE);
            SetWindowPos(listBox, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        }
        for (int run = -1; run < runs && listBox != nullptr; ++run) {
            for (RomDirectory& directory : directories) {
                ListingParts warm;
                TimeListingParts(directory.path, listBox, run >= 0 ? directory.parts : warm);
            }
        }
        if (listBox != nullptr) {
            DestroyWindow(listBox);
        }

        for (const RomDirectory& directory : directories) {
            if (!directory.complete) {
                status = 1;
            }
            std::printf("listing_ms %d %.1f %.1f\n", directory.romCount,
                        Median(directory.lumarelMs), Median(directory.bareMs));
            std::printf("rom_count %d %d %ls\n", directory.romCount, directory.listed,
                        directory.complete ? L"ok" : L"wrong");
            if (!directory.parts.readMs.empty()) {
                std::printf("listing_parts %d %.1f %.1f %.1f\n", directory.romCount,
                            Median(directory.parts.readMs), Median(directory.parts.matchMs),
                            Median(directory.parts.fillMs));
            }
        }
    }
    RemoveWithFiles(ownDirectory);
    return status;
}
