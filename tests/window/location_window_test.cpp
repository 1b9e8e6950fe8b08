// The emulator location window.

#include "ui/location/location_window.h"

#include <gtest/gtest.h>

#include "tests/window/main_window_fixture.h"

namespace lumarel {
namespace {

using namespace lumarel::testing;

class LocationWindowTest : public MainWindowTest {
protected:
    void SetUp() override {
        auto& fs = fake.fileSystem;
        fs.workingDirectory = L"C:\\EMU";
        fs.directories[L"C:\\"] = {{L"EMU", true}, {L"EMPTY", true}, {L"snes9x.exe"}};
        fs.directories[L"C:\\EMU"] = {
            {L"snes9x.exe"}, {L"readme.txt"}, {L"Snes9x-W32.EXE"}, {L"my snes9x.exe"}};
        fs.directories[L"C:\\EMPTY"] = {{L"notes.txt"}};
        fs.failures[L"D:\\"] = OsResult::Failure(21, L"The device is not ready.");
        MainWindowTest::SetUp();
        shared.EmulatorPath = L"C:\\OLD\\snes9x.exe";
        OpenLocation();
    }
    void OpenLocation() {
        closedCount = 0;
        location = std::make_unique<LocationWindow>(GetModuleHandleW(nullptr), fake.Services(),
                                                    shared.EmulatorPath, L"C:\\ROMS",
                                                    [this] { ++closedCount; });
        ASSERT_TRUE(location->Create(window->Hwnd()));
    }
    void ClickEntry(int index) { SelectListViewLine(location->Control(File2), index); }
    void PressClose() {
        SendMessageW(location->Control(Close_Button), BM_CLICK, 0, 0);
        DrainMessages();
    }
    void OpenDirectory(const std::wstring& directory) {
        ASSERT_TRUE(location->Directories().SetDirectory(directory).ok);
    }

    std::unique_ptr<LocationWindow> location;
    int closedCount = 0;
};

TEST_F(LocationWindowTest, OpensAtTheWorkingDirectoryWithNothingSelected) {
    EXPECT_EQ(WindowText(location->Hwnd()), L"Location of Snes9x");
    EXPECT_EQ(WindowText(location->Control(Label1_Location)), L"Location of Snes9x");
    EXPECT_EQ(location->Directories().Directory(), L"C:\\EMU");
    FileList& emulators = location->Emulators();
    ASSERT_EQ(emulators.Count(), 2);  // only names that begin with snes9x and end in .exe
    EXPECT_EQ(emulators.Entry(0), L"Snes9x-W32.EXE");
    EXPECT_EQ(emulators.Entry(1), L"snes9x.exe");
    EXPECT_EQ(emulators.SelectedIndex(), -1);
    // No hover texts in this window.
    for (int id : {Drive2, Dir2, File2, Close_Button}) {
        EXPECT_EQ(
            TooltipOf(location->Controls().Tooltips(), location->Hwnd(), location->Control(id)),
            L"");
    }
}

TEST_F(LocationWindowTest, CloseStoresTheSelectedEntry) {
    ClickEntry(1);
    PressClose();
    EXPECT_EQ(shared.EmulatorPath, L"C:\\EMU\\snes9x.exe");
    EXPECT_EQ(closedCount, 1);
    EXPECT_EQ(location->Hwnd(), nullptr);
}

TEST_F(LocationWindowTest, CloseAtOnceStoresTheFirstEntry) {
    PressClose();
    EXPECT_EQ(shared.EmulatorPath, L"C:\\EMU\\Snes9x-W32.EXE");
}

TEST_F(LocationWindowTest, AClickStoresTheEntryClickedEvenWithoutClose) {
    ClickEntry(1);
    SendMessageW(location->Hwnd(), WM_CLOSE, 0, 0);  // the title bar's close
    DrainMessages();
    EXPECT_EQ(shared.EmulatorPath, L"C:\\EMU\\snes9x.exe");
    EXPECT_EQ(closedCount, 0);
    EXPECT_EQ(location->Hwnd(), nullptr);
}

TEST_F(LocationWindowTest, RootDirectoryJoinsWithoutADoubledBackslash) {
    OpenDirectory(L"C:\\");
    PressClose();
    EXPECT_EQ(shared.EmulatorPath, L"C:\\snes9x.exe");
}

TEST_F(LocationWindowTest, EmptyListKeepsTheLocationThatWasThere) {
    OpenDirectory(L"C:\\EMPTY");
    PressClose();
    EXPECT_EQ(shared.EmulatorPath, L"C:\\OLD\\snes9x.exe");
    EXPECT_EQ(closedCount, 1);  // the location panel is still refreshed
}

TEST_F(LocationWindowTest, UnavailableDriveFallsBackToLumarelsDirectory) {
    location->Drives().SetDrive(L'D');
    EXPECT_EQ(location->Drives().Drive(), L'C');
    EXPECT_EQ(location->Directories().Directory(), L"C:\\ROMS");
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(LocationWindowTest, EveryOpeningStartsAgainAtTheWorkingDirectory) {
    OpenDirectory(L"C:\\");
    PressClose();
    OpenLocation();
    EXPECT_EQ(location->Directories().Directory(), L"C:\\EMU");
    EXPECT_EQ(location->Emulators().SelectedIndex(), -1);
}

TEST_F(LocationWindowTest, KeyboardVisitsDriveDirectoryFileAndClose) {
    std::vector<int> seen;
    HWND control = location->Control(Drive2);
    for (int i = 0; i < 5; ++i) {
        seen.push_back(GetDlgCtrlID(control));
        control = GetNextDlgTabItem(location->Hwnd(), control, FALSE);
    }
    EXPECT_EQ(seen, (std::vector<int>{Drive2, Dir2, File2, Close_Button, Drive2}));
}

// The menu command shows the window modally and returns once it is closed.
HWND runningMain = nullptr;
bool mainWasDisabled = false;

void CALLBACK AnswerLocationWindow(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND shown = FindWindowW(L"LumarelSecondary", L"Location of Snes9x");
    mainWasDisabled = !IsWindowEnabled(runningMain);
    SelectListViewLine(GetDlgItem(shown, File2), 1);
    SendMessageW(GetDlgItem(shown, Close_Button), BM_CLICK, 0, 0);
}

TEST_F(LocationWindowTest, TypingANameWithABlankSelectsItAsAClickDoes) {
    auto& emulators = fake.fileSystem.directories[L"C:\\EMU"];
    emulators.push_back({L"snes9x 1.60.exe"});
    emulators.push_back({L"snes9x 2.0 (x64).exe"});
    emulators.push_back({L"snes9x 1.60 saves", true});
    emulators.push_back({L"snes9x 2.0 saves", true});
    OpenDirectory(L"C:\\EMU");
    ShowWindow(location->Hwnd(), SW_SHOW);
    SetForegroundWindow(location->Hwnd());
    SetFocus(location->Control(File2));
    ASSERT_EQ(GetForegroundWindow(), location->Hwnd());
    ASSERT_EQ(GetFocus(), location->Control(File2));
    TypeByKeys(L"snes9x 2");
    EXPECT_TRUE(DeliverUntil([&] {
        return shared.EmulatorPath == L"C:\\EMU\\snes9x 2.0 (x64).exe";
    })) << ::testing::PrintToString(shared.EmulatorPath);

    // In the directory list typing moves the selection and opens nothing.
    SetFocus(location->Control(Dir2));
    ASSERT_EQ(GetFocus(), location->Control(Dir2));
    TypeByKeys(L"snes9x 2");
    EXPECT_TRUE(DeliverUntil([&] {
        const auto line = SendMessageW(location->Control(Dir2), LB_GETCURSEL, 0, 0);
        return location->Directories().LineText(static_cast<int>(line)) == L"snes9x 2.0 saves";
    }));
    EXPECT_EQ(location->Directories().Directory(), L"C:\\EMU");
}

TEST_F(LocationWindowTest, MenuCommandShowsItModallyAndRefreshesTheLocationPanel) {
    location.reset();
    runningMain = window->Hwnd();
    SetTimer(nullptr, 0, 50, AnswerLocationWindow);
    window->locations_Click();
    EXPECT_TRUE(mainWasDisabled);
    EXPECT_TRUE(IsWindowEnabled(window->Hwnd()));
    EXPECT_EQ(shared.EmulatorPath, L"C:\\EMU\\snes9x.exe");
    EXPECT_EQ(window->PanelText(1), L"Location of Snes9x: C:\\EMU\\snes9x.exe");
}

}  // namespace
}  // namespace lumarel
