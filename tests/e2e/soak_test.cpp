// One running lumarel.exe through thousands of directory changes, emulator runs and openings of
// every secondary window, its memory and handles read as it goes: what keeps growing fails.
// make test runs a short soak; LUMAREL_SOAK=full (make soak) runs the long one.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "tests/e2e/world.h"
#include "ui/cheats/cheat_window.h"
#include "ui/help/help_windows.h"
#include "ui/location/location_window.h"
#include "ui/main/main_layout.h"
#include "ui/main/main_menu.h"

namespace lumarel {
namespace {

using namespace e2e;

// A round goes back and forth between many ROMs and a few, runs the emulator on a ROM of the
// many after each stretch of changes, and then opens and closes each secondary window once.
struct SoakPlan {
    int rounds;
    int runsPerRound;
    int changesBeforeRun;  // an even number: each stretch ends among the many ROMs
    int readingEvery;      // actions; the first reading after the start is the settled one
};

// 10,000 directory changes, 1,000 runs and 200 openings of each window: 11,800 actions.
constexpr SoakPlan kFullSoak{200, 5, 10, 1000};
// Five rounds of 48 actions, read after each: a leak of some KiB per action shows.
constexpr SoakPlan kShortSoak{5, 4, 10, 48};

// From the reading after the first thousand actions (the first round in the short soak) to
// the end. Until then Lumarel grows for good reasons: the heap to its largest listing, the
// first opening of each window, COM for the screen readers' names.
constexpr std::size_t kMemoryGrowthLimit = 1024 * 1024;
// Handles are counted one by one with Lumarel at rest, so a steady Lumarel ends with the
// handles it had once settled. The slack leaves room for a library of Wine's that opens one
// late; a handle lost by any kind of action still exceeds it, since each kind is done at
// least four more times after the settled reading (some 180 times in the full soak).
constexpr unsigned long kHandleSlack = 3;

constexpr int kManyRoms = 2000;
const wchar_t* const kFewRoms[] = {L"first.smc", L"second.sfc", L"third.fig"};

struct Secondary {
    MenuItem command;
    const wchar_t* caption;
    int closeButton;
};
const Secondary kSecondaries[] = {
    {MenuItem::locations, L"Location of Snes9x", Close_Button},
    {MenuItem::game_genie, L"Game Genie Codes", Closer},
    {MenuItem::KeyBoard, L"Snes9x Keyboard Reference", btnClose},
    {MenuItem::About, L"About Lumarel", cmdAbout},
};

SoakPlan ChosenPlan() {
    wchar_t mode[16] = L"";
    GetEnvironmentVariableW(L"LUMAREL_SOAK", mode, 16);
    return std::wstring(mode) == L"full" ? kFullSoak : kShortSoak;
}

class SoakTest : public World {
protected:
    void SetUp() override {
        World::SetUp();
        if (!HasFatalFailure()) {
            MakeRomDirectories();
        }
    }

    // The ROM directories outlive the run: under Wine each new file is looked for through its
    // whole directory, so 2,000 of them cost seconds.
    void MakeRomDirectories() {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        const std::wstring soak = std::wstring(temp) + L"lumarel soak";
        many = soak + L"\\many roms";
        few = many + L"\\few roms";
        for (const std::wstring& dir : {soak, many, few}) {
            ASSERT_TRUE(CreateDirectoryW(dir.c_str(), nullptr) ||
                        GetLastError() == ERROR_ALREADY_EXISTS)
                << Ascii(dir);
        }
        for (int i = 1; i <= kManyRoms; ++i) {
            wchar_t name[32];
            swprintf(name, 32, L"\\game %04d.smc", i);
            ASSERT_TRUE(MakeRom(many + name));
        }
        for (const wchar_t* name : kFewRoms) {
            ASSERT_TRUE(MakeRom(few + L"\\" + name));
        }
    }
    static bool MakeRom(const std::wstring& path) {
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return GetLastError() == ERROR_FILE_EXISTS;
        }
        CloseHandle(file);
        return true;
    }

    HWND Item(int id) { return GetDlgItem(main, id); }
    std::wstring LineText(HWND list, int index) {
        wchar_t text[MAX_PATH] = L"";
        if (SendMessageW(list, LB_GETTEXTLEN, index, 0) < MAX_PATH) {
            SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
        }
        return text;
    }

    // The directory list's line with this text opened with Enter; done once the list shows it
    // and the ROM count is the directory's, or, when no count is given, once its lines are
    // others than before (the window answers while it lists).
    void OpenDirectory(const std::wstring& line, const std::wstring& romCount) {
        HWND dirs = Item(Dir1);
        const int count = static_cast<int>(SendMessageW(dirs, LB_GETCOUNT, 0, 0));
        int index = 0;
        while (index < count && LineText(dirs, index) != line) {
            ++index;
        }
        ASSERT_LT(index, count) << "no directory line " << Ascii(line);
        const std::vector<std::wstring> before = ListBoxLines(dirs);
        SendMessageW(dirs, LB_SETCURSEL, index, 0);
        PostKey(dirs, VK_RETURN);
        ASSERT_TRUE(WaitUntil(
            [&] {
                const int selected = static_cast<int>(SendMessageW(dirs, LB_GETCURSEL, 0, 0));
                return LineText(dirs, selected) == line &&
                       (romCount.empty() ? ListBoxLines(dirs) != before
                                         : TextOf(Item(numberofroms)) == romCount);
            },
            20s))
            << "directory " << Ascii(line) << " not shown with " << Ascii(romCount) << " ROMs";
    }

    // A ROM of the many clicked, as a user would (its size shows), then the run button; done
    // once the stand-in has recorded the run's line.
    void Run() {
        ++runs;
        const RemoteListView roms(Item(File1));
        const int index = runs % kManyRoms;
        roms.Select(index);
        const std::string line = Ascii(ShortForm(emulator) + L" " +
                                       ShortForm(many + L"\\" + roms.Text(index)) + L" -ns -j ") +
                                 "\r\n";
        PostMessageW(Item(Go_Button), BM_CLICK, 0, 0);
        std::string received;
        ASSERT_TRUE(WaitUntil(
            [&] {
                received = ReadBytes(emulatorDir + L"\\received.txt");
                return static_cast<int>(std::count(received.begin(), received.end(), '\n')) == runs;
            },
            20s))
            << "run " << runs << " not recorded within 20 s; on the screen: "
            << Ascii(MessageBoxText(FindMessageBox(lumarel.Id(), 1s)));
        ASSERT_GE(received.size(), line.size());
        EXPECT_EQ(received.substr(received.size() - line.size()), line);
    }

    // Opened from the menu, closed with its own Close button; done once it is gone and the
    // main window takes input again.
    void OpenAndClose(const Secondary& secondary) {
        ASSERT_TRUE(Choose(main, secondary.command))
            << "for " << Ascii(secondary.caption) << "; the main window is "
            << (IsWindowVisible(main) ? "shown" : "hidden") << ", "
            << (IsWindowEnabled(main) ? "enabled" : "disabled") << ", "
            << (GetForegroundWindow() == main
                    ? "in front"
                    : "behind \"" + Ascii(TextOf(GetForegroundWindow())) + "\"")
            << ", captioned \"" << Ascii(TextOf(main)) << "\"";
        HWND window = FindTopLevel(lumarel.Id(), secondary.caption, 10s);
        ASSERT_NE(window, nullptr) << "no window " << Ascii(secondary.caption) << " within 10 s";
        PostMessageW(GetDlgItem(window, secondary.closeButton), BM_CLICK, 0, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(window) && IsWindowEnabled(main); }, 10s))
            << Ascii(secondary.caption) << " stayed open";
    }

    struct Reading {
        int actions;
        double seconds;
        Footprint footprint;
    };

    void Read() {
        Footprint footprint;
        ASSERT_TRUE(ReadFootprint(lumarel, footprint)) << "no reading of Lumarel's footprint";
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        readings.push_back({actions, seconds, footprint});
        std::printf("%9d %9.1f %14zu %9lu %9lu\n", actions, seconds, footprint.pagefileBytes / 1024,
                    footprint.handles, footprint.threads);
        std::fflush(stdout);
    }

    // One action, with a reading after each stretch of them; false once one has failed.
    bool Act(const std::function<void()>& action) {
        action();
        if (HasFatalFailure()) {
            return false;
        }
        ++actions;
        if (actions % plan.readingEvery == 0) {
            Read();
        }
        return !HasFatalFailure();
    }

    const SoakPlan plan = ChosenPlan();
    std::wstring many, few;
    HWND main = nullptr;
    int actions = 0;
    int runs = 0;
    std::chrono::steady_clock::time_point started;
    std::vector<Reading> readings;
};

TEST_F(SoakTest, MemoryAndHandlesStaySteadyThroughChangesRunsAndWindows) {
    main = StartLumarel();
    ASSERT_NE(main, nullptr);
    // Lumarel starts beside itself; the way to the ROMs comes before the first reading.
    ASSERT_NO_FATAL_FAILURE(
        OpenDirectory(std::filesystem::path(root).parent_path().filename().wstring(), L""));
    ASSERT_NO_FATAL_FAILURE(OpenDirectory(L"lumarel soak", L""));
    ASSERT_NO_FATAL_FAILURE(OpenDirectory(L"many roms", std::to_wstring(kManyRoms)));

    const int changes = plan.rounds * plan.runsPerRound * plan.changesBeforeRun;
    std::printf("soak: %d directory changes, %d runs, %d openings of each of %zu windows\n",
                changes, plan.rounds * plan.runsPerRound, plan.rounds, std::size(kSecondaries));
    std::printf("%9s %9s %14s %9s %9s\n", "actions", "seconds", "pagefile KiB", "handles",
                "threads");
    started = std::chrono::steady_clock::now();
    ASSERT_NO_FATAL_FAILURE(Read());

    const std::wstring fewCount = std::to_wstring(std::size(kFewRoms));
    const std::wstring manyCount = std::to_wstring(kManyRoms);
    for (int round = 0; round < plan.rounds; ++round) {
        for (int run = 0; run < plan.runsPerRound; ++run) {
            for (int change = 0; change < plan.changesBeforeRun; ++change) {
                const bool toFew = change % 2 == 0;
                if (!Act([&] {
                        OpenDirectory(toFew ? L"few roms" : L"many roms",
                                      toFew ? fewCount : manyCount);
                    })) {
                    return;
                }
            }
            if (!Act([&] { Run(); })) {
                return;
            }
        }
        for (const Secondary& secondary : kSecondaries) {
            if (!Act([&] { OpenAndClose(secondary); })) {
                return;
            }
        }
    }
    if (readings.back().actions != actions) {
        ASSERT_NO_FATAL_FAILURE(Read());
    }

    ASSERT_GE(readings.size(), 3u) << "no settled reading before the end";
    const Footprint& settled = readings[1].footprint;
    const Footprint& end = readings.back().footprint;
    EXPECT_LE(end.pagefileBytes, settled.pagefileBytes + kMemoryGrowthLimit)
        << "memory grew by " << (end.pagefileBytes - settled.pagefileBytes) / 1024
        << " KiB after the first " << readings[1].actions << " actions";
    EXPECT_LE(end.handles, settled.handles + kHandleSlack)
        << "handles grew from " << settled.handles << " to " << end.handles << " after the first "
        << readings[1].actions << " actions";
    // Each call that may wait has a thread of its own, which ends with the call; one may be
    // ending as the reading is taken.
    EXPECT_LE(end.threads, settled.threads + 1)
        << "threads grew from " << settled.threads << " to " << end.threads;
}

}  // namespace
}  // namespace lumarel
