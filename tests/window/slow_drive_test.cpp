// A drive that does not answer at once (a sleeping share, a disk spinning up): the window stays
// live while a call waits, the person can give the wait up, and what each step shows stays as
// it is.

#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <atomic>
#include <cwctype>
#include <functional>
#include <memory>

#include "platform/long_paths.h"
#include "platform/win32/win32_services.h"
#include "tests/fakes/held_carrier.h"
#include "tests/support/close_box.h"
#include "tests/window/window_test_support.h"
#include "ui/location/location_window.h"
#include "ui/main/main_window.h"

namespace lumarel {
namespace {

using namespace lumarel::testing;

constexpr wchar_t kOwnDirectory[] = L"C:\\ROMS";

// A key pressed in a window, as the keyboard delivers it.
void PostKey(HWND window, WPARAM key) {
    PostMessageW(window, WM_KEYDOWN, key, 1);
    PostMessageW(window, WM_KEYUP, key, 1 | (3u << 30));
}

// A click of the real pointer, as the mouse gives it.
void ClickAt(POINT point) {
    SetCursorPos(point.x, point.y);
    INPUT inputs[2] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.dx = MulDiv(point.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
        input.mi.dy = MulDiv(point.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
        input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE;
    }
    inputs[0].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
}

// The ways a person gives a wait up, as they arrive.
struct GivingUp {
    const char* name;
    std::function<void(HWND window, HWND focused)> act;
    bool closes;
};

const GivingUp kWaysToGiveUp[] = {
    {"Esc", [](HWND, HWND focused) { PostKey(focused, VK_ESCAPE); }, false},
    {"the close box", [](HWND window, HWND) { ClickAt(CloseBoxOf(window)); }, true},
    {"Alt+F4",
     [](HWND, HWND focused) {
         PostMessageW(focused, WM_SYSKEYDOWN, VK_MENU, 1 | (1 << 29));
         PostMessageW(focused, WM_SYSKEYDOWN, VK_F4, 1 | (1 << 29));
     },
     true},
    {"the taskbar's Close window", [](HWND window, HWND) { PostMessageW(window, WM_CLOSE, 0, 0); },
     true},
};

class SlowDriveTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
        auto& fs = held.fake.fileSystem;
        fs.drives = {{L'C'}, {L'E'}, {L'N', DriveKind::Remote}};
        fs.directories[kOwnDirectory] = {{L"b.smc"}, {L"a.sfc"}};
        fs.directories[L"N:\\"] = {{L"far away.smc"}};
        fs.directories[L"E:\\"] = {{L"e1.smc"}, {L"e2.smc"}, {L"e3.smc"}};
        fs.sizes[L"C:\\ROMS\\a.sfc"] = 1500000;
        fs.sizes[L"C:\\ROMS\\b.smc"] = 2000000;
        Open();
    }
    void TearDown() override {
        window.reset();
        DeliverAsTheLoopDoes();
    }
    void Open() {
        window.reset();
        window = std::make_unique<MainWindow>(GetModuleHandleW(nullptr), held.Services(), shared,
                                              kOwnDirectory);
        ASSERT_TRUE(window->Create());
        DeliverAsTheLoopDoes();
    }
    HWND Control(int id) { return window->Control(id); }
    // A drive picked by typing its letter into the drive list, as a keyboard user does.
    void PickDrive(wchar_t letter) {
        SendMessageW(Control(Drive1), WM_CHAR, static_cast<WPARAM>(towlower(letter)), 1);
    }
    // What the browser shows, all of it.
    struct Shown {
        std::wstring drive, directory, count, panel2;
        int selected = -1;
        std::vector<std::wstring> roms;
        bool operator==(const Shown&) const = default;
    };
    Shown WhatIsShown() {
        return {WindowText(Control(Drive1)),       window->Directories().Directory(),
                WindowText(Control(numberofroms)), window->PanelText(2),
                window->RomList().SelectedIndex(), ListViewTexts(Control(File1))};
    }

    HeldPlatform held;
    FakeFileSystem& files = held.fake.fileSystem;
    SharedValues shared;
    std::unique_ptr<MainWindow> window;
};

TEST_F(SlowDriveTest, GivingUpAListingLeavesEverythingAsItWas) {
    for (const GivingUp& way : kWaysToGiveUp) {
        Open();
        ShowWindow(window->Hwnd(), SW_SHOWNORMAL);
        UpdateWindow(window->Hwnd());
        SelectListViewLine(Control(File1), 0);
        DeliverAsTheLoopDoes();
        const Shown before = WhatIsShown();
        const std::size_t listedBefore = files.listed.size();
        bool answeredInTheHandler = true;
        held.carrier.HoldCall(1, Once([&] { way.act(window->Hwnd(), Control(Drive1)); }));

        PickDrive(L'N');
        answeredInTheHandler = IsWindowVisible(window->Hwnd()) != FALSE;

        EXPECT_FALSE(held.carrier.answeredByTimeLimit) << way.name << ": the wait went on";
        // A listing given up is a failure like any but an unavailable drive: the drive list
        // shows the drive picked, the rest stays, nothing is said, nothing falls back.
        Shown expected = before;
        expected.drive = L"n:";
        EXPECT_EQ(WhatIsShown(), expected) << way.name;
        EXPECT_EQ(files.listed.size(), listedBefore) << way.name << ": the given-up call ran";
        EXPECT_TRUE(held.fake.messages.shown.empty()) << way.name;
        // Closing takes the window off the screen before the waiting handler has even ended;
        // it is destroyed once that handler has returned to the message loop.
        EXPECT_EQ(answeredInTheHandler, !way.closes) << way.name;
        DeliverAsTheLoopDoes();
        EXPECT_EQ(window->Hwnd() == nullptr, way.closes) << way.name;
        held.fake.messages.shown.clear();
    }
}

TEST_F(SlowDriveTest, AChangeAnotherProgramAnnouncesDuringAWaitRunsAfterIt) {
    struct Case {
        const char* name;
        std::function<void()> start;        // the change that waits
        std::function<void()> announce;     // another program's, during the wait
        std::function<void()> expectAfter;  // once the wait is over
        bool givenUp = false;               // the person gives the first wait up by Esc
    };
    const Case cases[] = {
        {"a drive picked while another drive is listed", [&] { PickDrive(L'N'); },
         [&] {
             SendMessageW(Control(Drive1), CB_SETCURSEL, 1, 0);  // e:
             SendMessageW(window->Hwnd(), WM_COMMAND, MAKEWPARAM(Drive1, CBN_SELCHANGE),
                          reinterpret_cast<LPARAM>(Control(Drive1)));
         },
         [&] {
             EXPECT_EQ(files.listed.back(), L"E:\\");
             EXPECT_EQ(WindowText(Control(numberofroms)), L"3");
         }},
        {"a ROM picked while another ROM's size is read",
         [&] { SelectListViewLine(Control(File1), 0); },
         [&] { SelectListViewLine(Control(File1), 1); },
         [&] { EXPECT_EQ(window->PanelText(2), L"Rom Size: 2MB"); }},
        {"the run button pressed while a drive is listed", [&] { PickDrive(L'N'); },
         [&] { SendMessageW(Control(Go_Button), BM_CLICK, 0, 0); },
         [&] { EXPECT_EQ(held.fake.messages.shown.size(), 1u) << "Please Location Snes9x.exe!"; }},
        {"a drive picked while the listing of another is given up", [&] { PickDrive(L'N'); },
         [&] {
             SendMessageW(Control(Drive1), CB_SETCURSEL, 1, 0);  // e:
             SendMessageW(window->Hwnd(), WM_COMMAND, MAKEWPARAM(Drive1, CBN_SELCHANGE),
                          reinterpret_cast<LPARAM>(Control(Drive1)));
             PostKey(Control(Drive1), VK_ESCAPE);
         },
         [&] {
             EXPECT_EQ(files.listed.back(), L"E:\\");
             EXPECT_EQ(WindowText(Control(numberofroms)), L"3");
         },
         true},
    };
    for (const Case& c : cases) {
        Open();
        held.fake.messages.shown.clear();
        const Shown before = WhatIsShown();
        const std::size_t callsBefore = held.carrier.devices.size();
        bool ranInside = false;
        held.carrier.HoldCall(1, [&, announced = false](ULONGLONG) mutable {
            if (!announced) {
                announced = true;
                c.announce();
                // Nothing of the second change ran inside the waiting handler.
                ranInside = held.carrier.devices.size() != callsBefore + 1 ||
                            !held.fake.messages.shown.empty() ||
                            window->PanelText(2) != before.panel2;
            }
            return c.givenUp ? AfterActing::KeepWaiting : AfterActing::Answer;
        });
        c.start();
        EXPECT_FALSE(ranInside) << c.name;
        DeliverAsTheLoopDoes();
        c.expectAfter();
    }
}

TEST_F(SlowDriveTest, TheRunIsOffWhenItsWaitIsGivenUpBeforeTheStart) {
    shared.EmulatorPath = L"C:\\EMU\\snes9x.exe";
    struct Case {
        const char* name;
        int call;  // of the run's carried calls: the ROM's short path, the emulator's, the record
    };
    for (const Case& c : {Case{"the ROM's short path", 1}, Case{"the command-line record", 3}}) {
        Open();
        SelectListViewLine(Control(File1), 0);
        DeliverAsTheLoopDoes();
        held.fake.messages.shown.clear();
        held.carrier.HoldCall(c.call, Once([&] { PostKey(Control(Go_Button), VK_ESCAPE); }));
        SendMessageW(Control(Go_Button), BM_CLICK, 0, 0);
        DeliverAsTheLoopDoes();
        EXPECT_TRUE(held.fake.processes.started.empty()) << c.name;
        EXPECT_EQ(WindowText(window->Hwnd()), L"Lumarel v1.5") << c.name;
        EXPECT_TRUE(held.fake.messages.shown.empty()) << c.name;
        EXPECT_FALSE(held.carrier.answeredByTimeLimit) << c.name;
    }
    // The next press waits anew, and starts.
    SendMessageW(Control(Go_Button), BM_CLICK, 0, 0);
    EXPECT_EQ(held.fake.processes.started.size(), 1u);
}

TEST_F(SlowDriveTest, TheWindowShowsWhileASlowStartDirectoryIsListed) {
    // The listing is the start's last call: counted on a start that did not wait.
    const int listing = static_cast<int>(held.carrier.devices.size());
    held.carrier.devices.clear();
    window.reset();
    DeliverAsTheLoopDoes();
    Shown whileWaiting;
    std::wstring panel1WhileWaiting;
    bool visibleEarly = true;
    HCURSOR pointerEarly = nullptr;
    HCURSOR pointerWhileWaiting = nullptr;
    held.carrier.HoldCall(listing, [&](ULONGLONG waited) {
        if (waited < 100) {
            pointerEarly = GetCursor();
        }
        if (waited < 300) {
            visibleEarly = visibleEarly && IsWindowVisible(window->Hwnd());
            return AfterActing::KeepWaiting;
        }
        if (waited < 700) {
            return AfterActing::KeepWaiting;
        }
        if (waited < 900) {
            // The pointer rests on the window shown meanwhile.
            RECT shown{};
            GetWindowRect(window->Hwnd(), &shown);
            SetCursorPos((shown.left + shown.right) / 2, (shown.top + shown.bottom) / 2);
            return AfterActing::KeepWaiting;
        }
        whileWaiting = WhatIsShown();
        panel1WhileWaiting = window->PanelText(1);
        pointerWhileWaiting = GetCursor();
        return AfterActing::Answer;
    });
    shared.EmulatorPath = L"C:\\EMU\\snes9x.exe";
    window = std::make_unique<MainWindow>(GetModuleHandleW(nullptr), held.Services(), shared,
                                          kOwnDirectory);
    window->ShowWhenCreated(SW_SHOWNORMAL);
    ASSERT_TRUE(window->Create());
    EXPECT_FALSE(visibleEarly) << "a start that answers at once looks as before";
    const HCURSOR waiting = LoadCursorW(nullptr, IDC_APPSTARTING);
    EXPECT_NE(pointerEarly, waiting);
    EXPECT_EQ(pointerWhileWaiting, waiting) << "the arrow with the hourglass";
    EXPECT_EQ(panel1WhileWaiting, L"Location of Snes9x: C:\\EMU\\snes9x.exe");
    EXPECT_EQ(whileWaiting.count, L"\u2026") << "no count is true while the listing waits";
    EXPECT_TRUE(whileWaiting.roms.empty());
    EXPECT_EQ(window->Directories().Directory(), kOwnDirectory);
    EXPECT_EQ(WindowText(Control(numberofroms)), L"2");
    EXPECT_TRUE(IsWindowVisible(window->Hwnd()));
    RECT outer{};
    GetWindowRect(window->Hwnd(), &outer);
    EXPECT_NEAR((outer.left + outer.right) / 2, 512, 1) << "centred on the 1024-pixel screen";
}

TEST_F(SlowDriveTest, TheLocationWindowGivesUpAndClosesAsTheMainWindowDoes) {
    ShowWindow(window->Hwnd(), SW_SHOWNORMAL);
    for (const GivingUp& way : kWaysToGiveUp) {
        shared.EmulatorPath = L"C:\\OLD\\snes9x.exe";
        int stored = 0;
        win32::StartNextAction();  // each opening an action of its own, as its menu command is
        LocationWindow location(GetModuleHandleW(nullptr), held.Services(), shared.EmulatorPath,
                                kOwnDirectory, [&] { ++stored; });
        ASSERT_TRUE(location.Create(window->Hwnd()));
        const std::wstring directoryBefore = location.Directories().Directory();
        std::wstring directoryAfterTheWait;
        HWND drives = location.Control(Drive2);
        held.carrier.HoldCall(1, Once([&] {
                                  way.act(location.Hwnd(), drives);
                                  // Once the waiting handler has returned: a window still open is
                                  // closed with its close box, which stores nothing; one the person
                                  // closed is gone by then.
                                  win32::AfterTheHandler([&] {
                                      directoryAfterTheWait = location.Directories().Directory();
                                      PostMessageW(location.Hwnd(), WM_CLOSE, 0, 0);
                                  });
                              }));
        PostMessageW(drives, WM_CHAR, L'n', 1);  // picked once the window shows
        location.ShowModal();                    // until the window is gone

        EXPECT_FALSE(held.carrier.answeredByTimeLimit) << way.name;
        EXPECT_EQ(shared.EmulatorPath, L"C:\\OLD\\snes9x.exe") << way.name;
        EXPECT_EQ(stored, 0) << way.name;
        EXPECT_EQ(location.Hwnd(), nullptr) << way.name;
        if (!way.closes) {
            EXPECT_EQ(directoryAfterTheWait, directoryBefore) << way.name;
        }
        // The main window takes input again and has the activation, not another program.
        EXPECT_TRUE(IsWindowEnabled(window->Hwnd())) << way.name;
        EXPECT_EQ(GetActiveWindow(), window->Hwnd()) << way.name;
    }
}

// The threads of this process, as the system lists them.
int ThreadsOfThisProcess() {
    const OwnedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 thread{};
    thread.dwSize = sizeof(thread);
    int count = 0;
    for (BOOL more = Thread32First(snapshot.Get(), &thread); more;
         more = Thread32Next(snapshot.Get(), &thread)) {
        count += thread.th32OwnerProcessID == GetCurrentProcessId() ? 1 : 0;
    }
    return count;
}

bool WaitUntil(const std::function<bool()>& condition) {
    for (int step = 0; step < 1000 && !condition(); ++step) {
        Sleep(10);
    }
    return condition();
}

// Drive N: as a share that has gone to sleep: its listings wait until it wakes, on whatever
// thread asked. It keeps its own answer, so that waking calls touch nothing shared.
class SleepingShare final : public FileSystem {
public:
    explicit SleepingShare(FileSystem& others) : awake_(others) {}
    ~SleepingShare() override { Wake(); }
    OsResult List(const std::wstring& directory, DirectoryListing& listing) override {
        if (DeviceOf(directory) != L"N:") {
            return awake_.List(directory, listing);
        }
        ++asked;
        // Woken by the test, or after 10 s: a wait that is not given up then fails the test.
        WaitForSingleObject(woken.Get(), 10'000);
        listing = {{L"far away.smc"}};
        return OsResult::Success();
    }
    OsResult Drives(std::vector<DriveInfo>& drives) override { return awake_.Drives(drives); }
    std::wstring VolumeLabel(wchar_t letter) override { return awake_.VolumeLabel(letter); }
    bool DriveIsPresent(wchar_t letter) override { return awake_.DriveIsPresent(letter); }
    OsResult FileSize(const std::wstring& path, std::uint64_t& size) override {
        return awake_.FileSize(path, size);
    }
    std::wstring FullPath(const std::wstring& path) override { return awake_.FullPath(path); }
    std::wstring WorkingDirectory() override { return awake_.WorkingDirectory(); }
    void Wake() { SetEvent(woken.Get()); }

    std::atomic<int> asked{0};
    const OwnedHandle woken{CreateEventW(nullptr, TRUE, FALSE, nullptr)};

private:
    FileSystem& awake_;
};

// Esc, as the keyboard gives it to this thread.
void PressEscape() {
    PostThreadMessageW(GetCurrentThreadId(), WM_KEYDOWN, VK_ESCAPE, 1);
}

TEST(CarriedOnThreads, GivenUpCallsToADriveThatDoesNotAnswerPileUpNoThreads) {
    FakeFileSystem fake;
    fake.directories[L"C:\\ROMS"] = {{L"a.sfc"}};
    SleepingShare share(fake);
    Win32CallCarrier carrier;
    CarriedFileSystem files(share, carrier);
    DirectoryListing roms;
    ASSERT_TRUE(files.List(L"C:\\ROMS", roms).ok);  // the carrier's own thread, idle now
    const int threadsBefore = ThreadsOfThisProcess();

    for (int attempt = 1; attempt <= 4; ++attempt) {
        win32::StartNextAction();  // each attempt a new action, as each key press is
        PressEscape();
        DirectoryListing listing;
        const OsResult listed = files.List(L"N:\\", listing);
        MSG leftOver;
        while (PeekMessageW(&leftOver, nullptr, 0, 0, PM_REMOVE)) {
        }
        // Two given-up calls may still wait on the drive, each keeping its thread (the first
        // the carrier's idle one); beyond that the drive does not answer, at once, and no
        // thread is started for it.
        const int stillWaiting = std::min(attempt, 2);
        EXPECT_EQ(listed.error, attempt <= 2 ? OsResult::kGivenUp : 121ul) << attempt;
        EXPECT_EQ(listing.Count(), 0u) << attempt;
        EXPECT_TRUE(WaitUntil([&] { return share.asked == stillWaiting; })) << attempt;
        EXPECT_EQ(ThreadsOfThisProcess(), threadsBefore + stillWaiting - 1) << attempt;
    }
    // Another drive answers meanwhile, on a new thread that then waits for the next call.
    win32::StartNextAction();
    EXPECT_TRUE(files.List(L"C:\\ROMS", roms).ok);
    EXPECT_EQ(roms.Count(), 1u);
    EXPECT_EQ(ThreadsOfThisProcess(), threadsBefore + 2);

    // Once the share wakes, the threads of the given-up calls end with them, and the drive is
    // asked again.
    share.Wake();
    EXPECT_TRUE(WaitUntil([&] { return ThreadsOfThisProcess() == threadsBefore; }));
    DirectoryListing awoken;
    EXPECT_TRUE(files.List(L"N:\\", awoken).ok);
    EXPECT_EQ(awoken.Count(), 1u);
}

TEST(CarriedOnThreads, WhatACarriedCallThrowsIsToldAsAHandlersFailure) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    FakePlatform fake;
    fake.fileSystem.drives = {{L'C'}, {L'N', DriveKind::Remote}};
    fake.fileSystem.directories[kOwnDirectory] = {{L"a.sfc"}};
    fake.fileSystem.throwing = {L"N:\\"};  // out of memory while listing, on its thread
    Win32CallCarrier carrier;
    CarriedFileSystem files(fake.fileSystem, carrier);
    SharedValues shared;
    const Platform platform{fake.messages, fake.shortPaths, fake.processes, fake.textFiles,
                            files,         fake.session,    carrier};
    MainWindow window(GetModuleHandleW(nullptr), platform, shared, kOwnDirectory);
    ASSERT_TRUE(window.Create());
    SendMessageW(window.Control(Drive1), WM_CHAR, L'n', 1);
    DeliverAsTheLoopDoes();
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text,
              L"Lumarel could not finish what you asked for. There was not enough memory for "
              L"it.\n\nLumarel goes on running.");
    EXPECT_EQ(window.Directories().Directory(), kOwnDirectory);
    EXPECT_EQ(WindowText(window.Control(numberofroms)), L"1");
    EXPECT_TRUE(IsWindow(window.Hwnd()));
}

}  // namespace
}  // namespace lumarel
