// Directories of many ROM images, shown by the real main window up to its painted window,
// against the bare system enumeration of the same directory and the fastest read found. All
// are timed in turn within this one process.
//
//   bench_listing RUNS ROM_COUNT...
//
// Prints for each ROM count "listing_ms ROM_COUNT LUMAREL BARE FASTEST" (medians over RUNS
// runs each), "rom_count ROM_COUNT LISTED ok|wrong", LISTED being what Lumarel's list held,
// and "listing_parts ROM_COUNT READ CHANGE PAINT MATCH": where Lumarel's time goes inside the
// real listing (reading the directory, the rest of the change, painting), and matching and
// sorting alone for comparison; and "typing_ms ROM_COUNT FIRST NEXT": a key typed into the
// list that matches no name, the first after the listing (which folds every name once) and
// the next.

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_clock.h"
#include "launch/launch_options.h"
#include "platform/win32/win32_services.h"
#include "ui/browser/file_pattern.h"
#include "ui/main/main_layout.h"
#include "ui/main/main_window.h"

namespace {

using lumarel::bench::CountEntries;
using lumarel::bench::Median;
using lumarel::bench::Stopwatch;
using lumarel::bench::TempDirectory;

// The fastest way found to read a directory: whole buffers of entries at once, with no
// copy of each entry into a structure of its own. "." and ".." included.
int CountEntriesFast(const std::wstring& directory) {
    HANDLE folder = CreateFileW(directory.c_str(), FILE_LIST_DIRECTORY,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder == INVALID_HANDLE_VALUE) {
        return 0;
    }
    std::vector<LONGLONG> buffer(64 * 1024 / sizeof(LONGLONG));
    int count = 0;
    while (GetFileInformationByHandleEx(folder, FileFullDirectoryInfo, buffer.data(),
                                        static_cast<DWORD>(buffer.size() * sizeof(LONGLONG)))) {
        const auto* at = reinterpret_cast<const std::byte*>(buffer.data());
        for (;;) {
            const auto* info = reinterpret_cast<const FILE_FULL_DIR_INFO*>(at);
            ++count;
            if (info->NextEntryOffset == 0) {
                break;
            }
            at += info->NextEntryOffset;
        }
    }
    CloseHandle(folder);
    return count;
}

// Lumarel's own directory listings, each timed where it happens: inside the real listing.
class TimedFileSystem final : public lumarel::FileSystem {
public:
    lumarel::OsResult List(const std::wstring& directory,
                           lumarel::DirectoryListing& entries) override {
        const Stopwatch clock;
        const lumarel::OsResult listed = real_.List(directory, entries);
        lastListMs = clock.Milliseconds();
        return listed;
    }
    lumarel::OsResult Drives(std::vector<lumarel::DriveInfo>& drives) override {
        return real_.Drives(drives);
    }
    std::wstring VolumeLabel(wchar_t letter) override { return real_.VolumeLabel(letter); }
    bool DriveIsPresent(wchar_t letter) override { return real_.DriveIsPresent(letter); }
    lumarel::OsResult FileSize(const std::wstring& path, std::uint64_t& size) override {
        return real_.FileSize(path, size);
    }
    std::wstring FullPath(const std::wstring& path) override { return real_.FullPath(path); }
    std::wstring WorkingDirectory() override { return real_.WorkingDirectory(); }

    double lastListMs = 0.0;

private:
    lumarel::Win32FileSystem real_;
};

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

// Where a listing's time goes, inside the real one: reading the directory, the rest of the
// change (choosing and sorting the ROMs, telling the lists and the count), and painting the
// window. Matching and sorting alone is timed apart, on the same entries.
struct ListingParts {
    std::vector<double> readMs, changeMs, paintMs, matchMs;
};

struct RomDirectory {
    int romCount = 0;
    std::wstring path;
    std::vector<double> lumarelMs;
    std::vector<double> bareMs;
    std::vector<double> fastestMs;
    ListingParts parts;
    std::vector<double> firstKeyMs, nextKeyMs;
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
    // Lumarel's own directory holds its settings file: a fresh one, removed afterwards. Wine
    // numbers the processes of a new session alike, so one left by an interrupted run is
    // removed first.
    const std::wstring ownDirectory =
        temp + L"\\lumarel-bench-own-" + std::to_wstring(GetCurrentProcessId());
    RemoveWithFiles(ownDirectory);
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
        TimedFileSystem timed;
        // Carried as the program's are, so that the hand-off between threads counts.
        lumarel::CarriedFileSystem carried(timed, win32.carrier);
        const lumarel::Platform services{
            win32.messages, win32.carriedShortPaths, win32.carriedProcesses, win32.carriedTextFiles,
            carried,        win32.session,           win32.carrier};
        lumarel::SharedValues shared;
        lumarel::MainWindow window(GetModuleHandleW(nullptr), services, shared, ownDirectory);
        if (!window.Create()) {
            std::fwprintf(stderr, L"bench_listing: the main window was not created (error %lu)\n",
                          GetLastError());
            RemoveWithFiles(ownDirectory);
            return 1;
        }
        ShowWindow(window.Hwnd(), SW_SHOWNORMAL);
        UpdateWindow(window.Hwnd());
        DrainMessages();
        const auto patterns = lumarel::SplitPatternList(lumarel::kRomPatterns);

        // Lumarel's change of directory up to the painted window, the bare enumeration and
        // the fastest read, in rotating order; one untimed round first, to warm the caches.
        for (int run = -1; run < runs; ++run) {
            for (RomDirectory& directory : directories) {
                for (int turn = 0; turn < 3; ++turn) {
                    const int which = (run + 3 + turn) % 3;
                    if (which == 0) {
                        // Away first, so that every timed change is a real change of directory.
                        window.Directories().SetDirectory(ownDirectory);
                        UpdateWindow(window.Hwnd());
                        DrainMessages();
                        const Stopwatch clock;
                        const bool ok = window.Directories().SetDirectory(directory.path).ok;
                        const double changed = clock.Milliseconds();
                        UpdateWindow(window.Hwnd());
                        const double ms = clock.Milliseconds();
                        if (!ok) {
                            std::fwprintf(stderr, L"bench_listing: Lumarel could not open %ls\n",
                                          directory.path.c_str());
                            directory.complete = false;
                        } else if (!ListIsComplete(window, directory)) {
                            directory.complete = false;
                        } else if (run >= 0) {
                            directory.lumarelMs.push_back(ms);
                            directory.parts.readMs.push_back(timed.lastListMs);
                            directory.parts.changeMs.push_back(changed - timed.lastListMs);
                            directory.parts.paintMs.push_back(ms - changed);
                            const Stopwatch match;
                            lumarel::ListedFiles(*window.Directories().Entries(), patterns);
                            directory.parts.matchMs.push_back(match.Milliseconds());
                        }
                    } else {
                        const Stopwatch clock;
                        const int count = which == 1 ? CountEntries(directory.path)
                                                     : CountEntriesFast(directory.path);
                        const double ms = clock.Milliseconds();
                        if (count != directory.romCount + 2) {
                            directory.complete = false;
                        } else if (run >= 0) {
                            (which == 1 ? directory.bareMs : directory.fastestMs).push_back(ms);
                        }
                    }
                    DrainMessages();
                }
            }
        }

        // Keys typed into the list after a listing, apart from the timed listings: a key
        // that no name starts with reads every name.
        for (int run = 0; run < runs; ++run) {
            for (RomDirectory& directory : directories) {
                window.Directories().SetDirectory(directory.path);
                DrainMessages();
                for (auto* keyMs : {&directory.firstKeyMs, &directory.nextKeyMs}) {
                    const Stopwatch key;
                    SendMessageW(window.RomList().Hwnd(), WM_CHAR, L'q', 1);
                    keyMs->push_back(key.Milliseconds());
                }
            }
        }

        for (const RomDirectory& directory : directories) {
            if (!directory.complete) {
                status = 1;
            }
            std::printf("listing_ms %d %.1f %.1f %.1f\n", directory.romCount,
                        Median(directory.lumarelMs), Median(directory.bareMs),
                        Median(directory.fastestMs));
            std::printf("rom_count %d %d %ls\n", directory.romCount, directory.listed,
                        directory.complete ? L"ok" : L"wrong");
            std::printf("listing_parts %d %.1f %.1f %.1f %.1f\n", directory.romCount,
                        Median(directory.parts.readMs), Median(directory.parts.changeMs),
                        Median(directory.parts.paintMs), Median(directory.parts.matchMs));
            std::printf("typing_ms %d %.1f %.1f\n", directory.romCount,
                        Median(directory.firstKeyMs), Median(directory.nextKeyMs));
        }
    }
    RemoveWithFiles(ownDirectory);
    return status;
}
