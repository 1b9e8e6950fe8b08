// The real lumarel.exe with a real slow share as drive N: (tools/slow-share.sh mounts it on the
// mount point that the test run's Wine prefix names N:): the window answers while a listing
// waits, Esc gives the listing up, and the close box takes the window away at once.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "tests/e2e/world.h"
#include "tests/support/close_box.h"
#include "ui/main/main_layout.h"

namespace lumarel {
namespace {

using namespace e2e;
using Clock = std::chrono::steady_clock;

// Seconds a listing of the share waits, its look-ups answering at once. Under Wine a look-up
// that waits holds every Wine program meanwhile (measured: the desktop's own window answered
// 0.7 s late during a look-up of 0.7 s), which no program can help; a listing holds only the
// thread that lists.
constexpr double kListingWaits = 4;

long MillisecondsSince(Clock::time_point start) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

// Another program asking the window whether it answers, every 100 ms, a second at most each.
class Pinger {
public:
    explicit Pinger(HWND window) : thread_([this, window] { Ping(window); }) {}
    ~Pinger() { Stop(); }
    Pinger(const Pinger&) = delete;
    Pinger& operator=(const Pinger&) = delete;
    void Stop() {
        SetEvent(stop_);
        if (thread_.joinable()) {
            thread_.join();
        }
    }
    std::string Figures() const {
        return std::to_string(asked.load()) + " pings, the longest answer " +
               std::to_string(longestMs.load()) + " ms, " + std::to_string(unanswered.load()) +
               " unanswered";
    }

    std::atomic<int> asked{0};
    std::atomic<int> unanswered{0};
    std::atomic<long> longestMs{0};

private:
    void Ping(HWND window) {
        // The pings' own rhythm, not a wait for something to happen.
        while (WaitForSingleObject(stop_, 100) == WAIT_TIMEOUT) {
            const Clock::time_point sent = Clock::now();
            DWORD_PTR result = 0;
            ++asked;
            if (SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result) == 0) {
                ++unanswered;
            }
            longestMs = std::max(longestMs.load(), MillisecondsSince(sent));
        }
    }
    HANDLE stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread thread_;
};

class SlowShareTest : public World {
protected:
    void SetUp() override {
        share = WindowsPath(SLOW_SHARE_DIR);
        const std::string status = ReadBytes(share + L"\\status");
        if (status.rfind("mounted", 0) != 0) {
            GTEST_SKIP() << "no slow share: "
                         << (status.empty() ? "tools/slow-share.sh did not run" : status);
        }
        ASSERT_NE(GetLogicalDrives() & (1u << (L'N' - L'A')), 0u)
            << "drive N: is not there: tools/wine-run.sh --session names the slow share N: "
               "before the run's wineserver starts";
        Wait(0);
        World::SetUp();
        // The share holds these alone, whatever an earlier run left.
        std::error_code ignored;
        std::filesystem::remove_all(std::filesystem::path(share + L"\\files"), ignored);
        for (const wchar_t* name : {L"far away.smc", L"farther.sfc", L"deeper\\deep.smc"}) {
            const std::filesystem::path file(share + L"\\files\\" + name);
            std::filesystem::create_directories(file.parent_path());
            std::ofstream(file) << "rom";
        }
    }
    void TearDown() override {
        if (!share.empty()) {
            Wait(0);  // every call still waiting on the share answers
        }
        World::TearDown();
    }

    // How long each listing of the share, and each look-up of its root, waits from now on.
    void Wait(double listing, double lookUp) {
        std::ofstream(std::filesystem::path(share + L"\\seconds")) << listing << ' ' << lookUp;
    }
    void Wait(double seconds) { Wait(seconds, seconds); }
    bool ShareKeepsACallWaiting() { return ReadBytes(share + L"\\seconds.waiting") != "0"; }
    // A click of the X server's own pointer, as a person's mouse gives it: the share's helper
    // on the Linux side moves it there and clicks. True once it has.
    bool ClickByHand(POINT point, int clicks = 1) {
        const std::wstring request = share + L"\\seconds.hand";
        std::ofstream(std::filesystem::path(request)) << point.x << ' ' << point.y << ' ' << clicks;
        return WaitUntil(
            [&] { return GetFileAttributesW(request.c_str()) == INVALID_FILE_ATTRIBUTES; }, 10s);
    }
    HWND Item(int id) { return GetDlgItem(main, id); }
    void PickDrive(wchar_t letter) { PostMessageW(Item(Drive1), WM_CHAR, letter, 1); }
    // The directory the directory list shows: the line it selects.
    std::wstring DirectoryShown() {
        HWND lines = Item(Dir1);
        const auto selected = static_cast<int>(SendMessageW(lines, LB_GETCURSEL, 0, 0));
        wchar_t text[MAX_PATH] = L"";
        if (selected >= 0 && SendMessageW(lines, LB_GETTEXTLEN, selected, 0) < MAX_PATH) {
            SendMessageW(lines, LB_GETTEXT, selected, reinterpret_cast<LPARAM>(text));
        }
        return text;
    }
    // Lumarel started and settled: half a second after its start it names its controls for
    // screen readers, and starting COM for that holds its window for most of a second under
    // Wine. Settled once COM is in and the window has answered at once for a second.
    HWND StartSettled() {
        HWND window = StartLumarel();
        int promptAnswers = 0;
        const bool settled =
            window != nullptr &&
            WaitUntil(
                [&] {
                    const Clock::time_point sent = Clock::now();
                    DWORD_PTR answer = 0;
                    const bool prompt = SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL,
                                                            1000, &answer) != 0 &&
                                        MillisecondsSince(sent) < 50;
                    promptAnswers = prompt ? promptAnswers + 1 : 0;
                    return HasLoaded(lumarel, L"oleacc.dll") && promptAnswers >= 50;
                },
                20s);
        if (window != nullptr && !settled) {
            ADD_FAILURE() << "Lumarel did not settle within 20 s";
        }
        return window;
    }

    std::wstring share;
    HWND main = nullptr;
};

TEST_F(SlowShareTest, TheWindowAnswersWhileTheShareIsListed) {
    main = StartSettled();
    ASSERT_NE(main, nullptr);
    Wait(kListingWaits, 0);
    Pinger pinger(main);
    const Clock::time_point picked = Clock::now();
    PickDrive(L'n');
    ASSERT_TRUE(WaitUntil(
        [&] { return DirectoryShown() == L"N:\\" && TextOf(Item(numberofroms)) == L"2"; }, 60s))
        << "the share's ROMs did not show; " << pinger.Figures();
    const long listing = MillisecondsSince(picked);
    pinger.Stop();
    std::printf("listing of the slow share: %ld ms; %s\n", listing, pinger.Figures().c_str());
    EXPECT_GE(listing, 3000) << "the share answered too quickly to show anything";
    EXPECT_GE(pinger.asked, listing / 200);
    EXPECT_EQ(pinger.unanswered, 0);
    EXPECT_LE(pinger.longestMs, 250);
}

TEST_F(SlowShareTest, EscGivesTheListingUpAndDriveCListsAfterIt) {
    main = StartSettled();
    ASSERT_NE(main, nullptr);
    const std::wstring ownLine = std::filesystem::path(app).filename().wstring();
    Wait(kListingWaits, 0);
    Pinger pinger(main);
    PickDrive(L'n');
    ASSERT_TRUE(WaitUntil([&] { return ShareKeepsACallWaiting(); }, 10s));
    PostKey(Item(Drive1), VK_ESCAPE);
    PickDrive(L'c');
    // Under Wine the listing of C: waits until the given-up one of N: returns; the window
    // answers meanwhile too. The given-up listing's answer is dropped: N: never shows.
    bool shareShown = false;
    ASSERT_TRUE(WaitUntil(
        [&] {
            shareShown = shareShown || DirectoryShown() == L"N:\\";
            return DirectoryShown() == ownLine;
        },
        60s))
        << "drive C did not list; " << pinger.Figures();
    ASSERT_TRUE(WaitUntil([&] { return !ShareKeepsACallWaiting(); }, 60s));
    shareShown = shareShown || DirectoryShown() == L"N:\\";
    pinger.Stop();
    std::printf("Esc during the share's listing, then drive C: %s\n", pinger.Figures().c_str());
    EXPECT_FALSE(shareShown) << "the listing given up was shown after all";
    EXPECT_EQ(TextOf(Item(numberofroms)), L"1");
    EXPECT_EQ(pinger.unanswered, 0);
    EXPECT_LE(pinger.longestMs, 250);
}

TEST_F(SlowShareTest, TheCloseBoxDuringAListingThatDoesNotEndTakesTheWindowAway) {
    main = StartSettled();
    ASSERT_NE(main, nullptr);
    PickDrive(L'n');
    ASSERT_TRUE(WaitUntil(
        [&] { return DirectoryShown() == L"N:\\" && TextOf(Item(numberofroms)) == L"2"; }, 30s));
    // In front, as the window a person closes is.
    SetForegroundWindow(main);
    const POINT closeBox = testing::CloseBoxOf(main);
    ASSERT_GE(closeBox.x, 0);
    ASSERT_TRUE(
        WaitUntil([&] { return GetAncestor(WindowFromPoint(closeBox), GA_ROOT) == main; }, 10s))
        << "the close box is covered by \""
        << Ascii(TextOf(GetAncestor(WindowFromPoint(closeBox), GA_ROOT))) << "\"";

    // A folder of the share opened by a double-click, whose listing does not end: the list box
    // still holds the mouse for the click's release, which waits in the queue.
    Wait(100000, 0);
    HWND lines = Item(Dir1);
    const std::vector<std::wstring> shown = ListBoxLines(lines);
    const auto deeper = std::find(shown.begin(), shown.end(), L"deeper");
    ASSERT_NE(deeper, shown.end());
    RECT list{};
    GetWindowRect(lines, &list);
    const auto lineHeight = static_cast<LONG>(SendMessageW(lines, LB_GETITEMHEIGHT, 0, 0));
    const auto index = static_cast<LONG>(deeper - shown.begin());
    ASSERT_TRUE(
        ClickByHand({list.left + 30, list.top + 2 + index * lineHeight + lineHeight / 2}, 2));
    ASSERT_TRUE(WaitUntil([&] { return ShareKeepsACallWaiting(); }, 10s));

    ASSERT_TRUE(ClickByHand(closeBox)) << "no click within 10 s";
    const Clock::time_point clicked = Clock::now();
    const bool gone = WaitUntil([&] { return !IsWindowVisible(main); }, 10s);
    const long stayed = MillisecondsSince(clicked);
    std::printf("the window stayed %ld ms after the close box\n", stayed);
    EXPECT_TRUE(gone);
    EXPECT_LE(stayed, 100);
    // The process ends as soon as the share lets the listing return.
    Wait(0);
    EXPECT_TRUE(lumarel.WaitForExit(30s));
}

// The share soak: Lumarel going back and forth between the share and drive C, and giving up
// waits for the share now and then; make test runs a short one, LUMAREL_SOAK=full (make soak)
// the long one. Threads, handles and memory stay flat.
struct ShareSoakPlan {
    int rounds;
    int alternations;  // between the share and C, each round
    int readingEvery;  // rounds
};
constexpr ShareSoakPlan kFullShareSoak{20, 10, 2};  // 200 alternations, 20 given-up waits
constexpr ShareSoakPlan kShortShareSoak{4, 2, 1};

// Seconds each listing of the share waits in the soak.
constexpr double kSoakWaits = 0.3;

TEST_F(SlowShareTest, ThreadsHandlesAndMemoryStayFlatAcrossTheShareAndGivenUpWaits) {
    wchar_t mode[16] = L"";
    GetEnvironmentVariableW(L"LUMAREL_SOAK", mode, 16);
    const ShareSoakPlan plan = std::wstring(mode) == L"full" ? kFullShareSoak : kShortShareSoak;
    main = StartSettled();
    ASSERT_NE(main, nullptr);
    const std::wstring ownLine = std::filesystem::path(app).filename().wstring();
    const auto show = [&](wchar_t drive, const std::wstring& line, const wchar_t* count) {
        PickDrive(drive);
        ASSERT_TRUE(WaitUntil(
            [&] { return DirectoryShown() == line && TextOf(Item(numberofroms)) == count; }, 30s))
            << "drive " << static_cast<char>(drive) << " did not list";
    };
    // A wait for the share given up with Esc; the share then answers, and the given-up call
    // ends alone.
    const auto giveUp = [&] {
        Wait(100000, 0);
        PickDrive(L'n');
        ASSERT_TRUE(WaitUntil([&] { return ShareKeepsACallWaiting(); }, 10s));
        PostKey(Item(Drive1), VK_ESCAPE);
        Wait(kSoakWaits, 0);
        ASSERT_TRUE(WaitUntil([&] { return !ShareKeepsACallWaiting(); }, 10s));
    };
    struct Reading {
        int round;
        Footprint footprint;
    };
    std::vector<Reading> readings;
    const auto read = [&](int round) {
        Footprint footprint;
        ASSERT_TRUE(ReadFootprint(lumarel, footprint));
        readings.push_back({round, footprint});
        std::printf("%9d %9d %14zu %9lu %9lu\n", round, round * (2 * plan.alternations + 2),
                    footprint.pagefileBytes / 1024, footprint.handles, footprint.threads);
        std::fflush(stdout);
    };
    std::printf("share soak: %d alternations between the share and C:, %d given-up waits\n",
                plan.rounds * plan.alternations, plan.rounds);
    std::printf("%9s %9s %14s %9s %9s\n", "rounds", "actions", "pagefile KiB", "handles",
                "threads");
    Wait(kSoakWaits, 0);
    ASSERT_NO_FATAL_FAILURE(read(0));
    for (int round = 1; round <= plan.rounds; ++round) {
        for (int alternation = 0; alternation < plan.alternations; ++alternation) {
            ASSERT_NO_FATAL_FAILURE(show(L'n', L"N:\\", L"2"));
            ASSERT_NO_FATAL_FAILURE(show(L'c', ownLine, L"1"));
        }
        ASSERT_NO_FATAL_FAILURE(giveUp());
        ASSERT_NO_FATAL_FAILURE(show(L'c', ownLine, L"1"));
        if (round % plan.readingEvery == 0) {
            ASSERT_NO_FATAL_FAILURE(read(round));
        }
    }
    // Settled after the second reading: until then the heap grows to what the lists need.
    ASSERT_GE(readings.size(), 4u);
    const Footprint& settled = readings[2].footprint;
    const Footprint& end = readings.back().footprint;
    EXPECT_LE(end.pagefileBytes, settled.pagefileBytes + 1024 * 1024);
    EXPECT_LE(end.handles, settled.handles + 3);
    EXPECT_LE(end.threads, settled.threads + 1) << "threads of given-up calls stayed";
}

}  // namespace
}  // namespace lumarel
