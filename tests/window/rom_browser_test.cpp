// The ROM browser of the main window: drives, directories, ROMs, count, size, hover text.

#include <gtest/gtest.h>

#include "tests/window/main_window_fixture.h"

#include <dbt.h>

#include <cwctype>
#include <map>

namespace lumarel {
namespace {

using namespace lumarel::testing;

DirectoryEntry Folder(const wchar_t* name) {
    return {name, true};
}

class RomBrowserTest : public MainWindowTest {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
        auto& fs = fake.fileSystem;
        fs.drives = {{L'C'}, {L'D', DriveKind::Removable}, {L'E'}};
        fs.volumeLabels = {{L'C', L"SYSTEM"}, {L'D', L"STICK"}, {L'E', L"DATA"}};
        fs.directories[L"C:\\"] = {Folder(L"ROMS"), Folder(L"Windows"), {L"top.smc"}};
        fs.directories[L"C:\\ROMS"] = {{L"b.smc"}, {L"a.sfc"}, {L"readme.txt"}, Folder(L"Saves")};
        fs.directories[L"C:\\ROMS\\Saves"] = {{L"one.fig"}};
        fs.failures[L"D:\\"] = OsResult::Failure(21, L"The device is not ready.");
        fs.failures[L"E:\\"] = OsResult::Failure(5, L"Access is denied.");
        fs.sizes[L"C:\\ROMS\\b.smc"] = 1048576;
        fs.sizes[L"C:\\top.smc"] = 524800;
        Open();
    }

    std::wstring DriveText() { return WindowText(Control(Drive1)); }
    std::vector<std::wstring> DriveItems() {
        std::vector<std::wstring> items;
        const auto count = static_cast<int>(SendMessageW(Control(Drive1), CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            items.push_back(ListItemText(Control(Drive1), i));
        }
        return items;
    }
    // Opens the drop-down as a click on it does, and closes it again.
    void OpenDriveList() {
        SendMessageW(Control(Drive1), CB_SHOWDROPDOWN, TRUE, 0);
        SendMessageW(Control(Drive1), CB_SHOWDROPDOWN, FALSE, 0);
        DrainMessages();
    }
    std::wstring Count() { return WindowText(Control(numberofroms)); }
    std::wstring RomHoverText() {
        return TooltipOf(window->Controls().Tooltips(), window->Hwnd(), Control(File1));
    }
    void SelectRom(int index) { SelectListViewLine(Control(File1), index); }
    // The drive's letter typed in the drive list, as a keyboard user picks it.
    void PickDrive(wchar_t letter) {
        SendMessageW(Control(Drive1), WM_CHAR, static_cast<WPARAM>(towlower(letter)), 1);
    }
    // A double-click on the line, as the mouse gives it to the list box.
    void OpenDirectoryLine(int index) {
        HWND lines = Control(Dir1);
        SendMessageW(lines, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
        RECT line{};
        SendMessageW(lines, LB_GETITEMRECT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&line));
        const LPARAM at = MAKELPARAM((line.left + line.right) / 2, (line.top + line.bottom) / 2);
        for (const UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
            SendMessageW(lines, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
        }
    }
    void MoveMouseTo(POINT point) {
        SendMessageW(window->Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(point.x, point.y));
    }
    std::vector<std::wstring> ListBoxTexts(int id) {
        std::vector<std::wstring> texts;
        const auto count = static_cast<int>(SendMessageW(Control(id), LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            const auto length = SendMessageW(Control(id), LB_GETTEXTLEN, i, 0);
            std::wstring text(static_cast<size_t>(length) + 1, L'\0');
            SendMessageW(Control(id), LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
            text.resize(static_cast<size_t>(length));
            texts.push_back(text);
        }
        return texts;
    }
    // Each list holds what its list box shows, and the directory list's entries are those of
    // its directory.
    void ExpectListsInStep(int attempt) {
        FileList& files = window->RomList();
        std::vector<std::wstring> roms;
        for (int i = 0; i < files.Count(); ++i) {
            roms.push_back(files.Entry(i));
        }
        EXPECT_EQ(roms, ListViewTexts(Control(File1))) << attempt;
        DirectoryList& dirs = window->Directories();
        std::vector<std::wstring> lines;
        for (int i = 0; i < dirs.Count(); ++i) {
            lines.push_back(dirs.LineText(i));
        }
        EXPECT_EQ(lines, ListBoxTexts(Dir1)) << attempt;
        std::vector<std::wstring> held;
        const DirectoryListing& heldListing = *dirs.Entries();
        for (size_t i = 0; i < heldListing.Count(); ++i) {
            held.emplace_back(heldListing.NameAt(i));
        }
        std::vector<std::wstring> listed;
        for (const DirectoryEntry& entry : fake.fileSystem.directories[dirs.Directory()]) {
            listed.push_back(entry.name);
        }
        EXPECT_EQ(held, listed) << attempt;
    }
    RECT ClientRectOf(int id) {
        RECT rect{};
        GetWindowRect(Control(id), &rect);
        MapWindowPoints(nullptr, window->Hwnd(), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
};

TEST_F(RomBrowserTest, StartsInLumarelsDirectory) {
    EXPECT_EQ(fake.fileSystem.listed, std::vector<std::wstring>{L"C:\\ROMS"})
        << "start-up read a folder nobody sees, or its own twice";
    EXPECT_EQ(DriveText(), L"c:");
    EXPECT_TRUE(fake.fileSystem.labelsAsked.empty()) << "start-up woke the disks";
    DirectoryList& dirs = window->Directories();
    EXPECT_EQ(dirs.Directory(), L"C:\\ROMS");
    ASSERT_EQ(dirs.Count(), 3);
    const std::vector<std::pair<std::wstring, int>> lines = {
        {L"C:\\", 0}, {L"ROMS", 1}, {L"Saves", 2}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(dirs.LineText(i), lines[static_cast<size_t>(i)].first);
        EXPECT_EQ(dirs.LineLevel(i), lines[static_cast<size_t>(i)].second);
    }
    EXPECT_EQ(window->RomList().Entry(0), L"a.sfc");
    EXPECT_EQ(window->RomList().Entry(1), L"b.smc");
    EXPECT_EQ(Count(), L"2");
}

TEST_F(RomBrowserTest, OpeningADirectoryRefillsTheRomsAndCount) {
    OpenDirectoryLine(2);  // Saves
    EXPECT_EQ(window->Directories().Directory(), L"C:\\ROMS\\Saves");
    EXPECT_EQ(window->RomList().Entry(0), L"one.fig");
    EXPECT_EQ(Count(), L"1");
    OpenDirectoryLine(0);  // back to the root
    EXPECT_EQ(window->RomList().Entry(0), L"top.smc");
    EXPECT_EQ(window->RomList().SelectedIndex(), -1);

    // Enter opens the selected line as a double-click does.
    SendMessageW(Control(Dir1), LB_SETCURSEL, 1, 0);  // ROMS
    SendMessageW(Control(Dir1), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(window->Directories().Directory(), L"C:\\ROMS");
}

TEST_F(RomBrowserTest, UnavailableDriveFallsBackWithoutAMessage) {
    OpenDirectoryLine(2);
    fake.fileSystem.listed.clear();
    PickDrive(L'D');
    EXPECT_EQ(fake.fileSystem.listed, (std::vector<std::wstring>{L"D:\\", L"C:\\ROMS"}));
    EXPECT_EQ(DriveText(), L"c:");
    EXPECT_EQ(window->Directories().Directory(), L"C:\\ROMS");
    EXPECT_EQ(Count(), L"2");
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(RomBrowserTest, OtherDriveFailureLeavesTheListsWhereTheyWere) {
    OpenDirectoryLine(2);
    PickDrive(L'E');
    EXPECT_EQ(DriveText(), L"e:");
    EXPECT_EQ(window->Directories().Directory(), L"C:\\ROMS\\Saves");
    EXPECT_EQ(window->RomList().Entry(0), L"one.fig");
    EXPECT_EQ(Count(), L"1");
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(RomBrowserTest, FallbackEndsWhenLumarelsOwnDriveIsUnavailableToo) {
    fake.fileSystem.failures[L"C:\\"] = OsResult::Failure(21, L"The device is not ready.");
    fake.fileSystem.failures[L"C:\\ROMS"] = OsResult::Failure(21, L"The device is not ready.");
    PickDrive(L'D');  // returns: no endless fallback
    EXPECT_EQ(DriveText(), L"c:");
}

TEST_F(RomBrowserTest, AGoneDriveFallsBackAMissingFolderOnAPresentDriveDoesNot) {
    struct Case {
        wchar_t letter;
        bool gone;
        const wchar_t* directoryAfter;
    };
    const Case cases[] = {
        {L'F', true, L"C:\\ROMS"},          // a stick pulled out: its root is gone
        {L'G', false, L"C:\\ROMS\\Saves"},  // the drive's current folder was removed
    };
    auto& fs = fake.fileSystem;
    for (const Case& c : cases) {
        fs.drives.push_back({c.letter});
        fs.failures[std::wstring{c.letter, L':', L'\\'}] =
            OsResult::Failure(3, L"The system cannot find the path specified.");
        if (c.gone) {
            fs.goneDrives.insert(c.letter);
        }
    }
    window->Drives().Refresh(false);
    for (const Case& c : cases) {
        OpenDirectoryLine(2);  // Saves
        PickDrive(c.letter);
        EXPECT_EQ(window->Directories().Directory(), c.directoryAfter) << char(c.letter);
        EXPECT_EQ(window->Drives().Drive(), c.gone ? L'C' : c.letter) << char(c.letter);
    }
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(RomBrowserTest, OpeningTheDriveListReadsLabelsOnceAndFindsNewDrives) {
    auto& fs = fake.fileSystem;
    OpenDriveList();
    EXPECT_EQ(DriveItems(), (std::vector<std::wstring>{L"c: [SYSTEM]", L"d:", L"e: [DATA]"}));
    EXPECT_EQ(fs.labelsAsked, (std::vector<wchar_t>{L'C', L'E'})) << "a removable drive was asked";

    fs.drives.push_back({L'F'});
    fs.volumeLabels[L'F'] = L"NEW";
    fs.drives.push_back({L'H'});  // a fixed drive without a label
    OpenDriveList();
    OpenDriveList();
    EXPECT_EQ(DriveItems()[3], L"f: [NEW]");
    EXPECT_EQ(fs.labelsAsked, (std::vector<wchar_t>{L'C', L'E', L'F', L'H'}));

    // A drive plugged in while the list is closed shows at once, without its label.
    fs.drives.push_back({L'G', DriveKind::Removable});
    SendMessageW(window->Hwnd(), WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0);
    EXPECT_EQ(DriveItems().back(), L"g:");

    // The selected drive and the lists below it stay as they were.
    EXPECT_EQ(DriveText(), L"c: [SYSTEM]");
    EXPECT_EQ(window->Directories().Directory(), L"C:\\ROMS");
    EXPECT_EQ(Count(), L"2");
}

TEST_F(RomBrowserTest, RunningOutOfMemoryInAHandlerIsToldAndLumarelGoesOn) {
    fake.fileSystem.throwing.insert(L"C:\\ROMS\\Saves");
    OpenDirectoryLine(2);  // through the window procedure
    SendMessageW(Control(Dir1), LB_SETCURSEL, 2, 0);
    SendMessageW(Control(Dir1), WM_KEYDOWN, VK_RETURN, 0);  // through the list's own procedure
    ASSERT_EQ(fake.messages.shown.size(), 2u);
    for (const Message& told : fake.messages.shown) {
        EXPECT_EQ(told.text,
                  L"Lumarel could not finish what you asked for. There was not enough memory for "
                  L"it.\n\nLumarel goes on running.");
        EXPECT_EQ(told.icon, MessageIcon::Error);
    }
    // The window is still there and works.
    EXPECT_EQ(window->Directories().Directory(), L"C:\\ROMS");
    OpenDirectoryLine(0);
    EXPECT_EQ(window->RomList().Entry(0), L"top.smc");
}

// Out of memory at each allocation of opening a directory in turn, until one opening gets
// through: each list is left whole, as before or as after, never half of each.
TEST_F(RomBrowserTest, RunningOutOfMemoryAnywhereInAChangeLeavesEachListWhole) {
    const std::wstring before = L"C:\\ROMS";
    const std::wstring after = L"C:\\ROMS\\Saves";
    // Names too long to live inside their strings, and more lines and ROMs than before.
    fake.fileSystem.directories[after] = {Folder(L"Snapshots"),       Folder(L"Battery saves"),
                                          Folder(L"Movies recorded"), Folder(L"Freeze states"),
                                          {L"secret of mana.fig"},    {L"chrono trigger.smc"},
                                          {L"earthbound.sfc"},        {L"notes on saves.txt"}};
    const std::map<std::wstring, std::vector<std::wstring>> lines = {
        {before, {L"C:\\", L"ROMS", L"Saves"}},
        {after,
         {L"C:\\", L"ROMS", L"Saves", L"Battery saves", L"Freeze states", L"Movies recorded",
          L"Snapshots"}}};
    const std::map<std::wstring, std::vector<std::wstring>> roms = {
        {before, {L"a.sfc", L"b.smc"}},
        {after, {L"chrono trigger.smc", L"earthbound.sfc", L"secret of mana.fig"}}};

    int failedBeforeDirectories = 0;
    int failedAfterDirectories = 0;
    for (int nth = 1;; ++nth) {
        ASSERT_LT(nth, 10000) << "the opening never got through";
        window->Directories().SetDirectory(before);
        fake.fileSystem.listed.clear();  // kept storage: the same allocations each attempt
        const size_t told = fake.messages.shown.size();
        FailAllocation(nth);
        OpenDirectoryLine(2);  // Saves
        if (!StopFailingAllocations()) {
            break;
        }
        ASSERT_EQ(window->RomList().Directory(), before) << nth;
        const std::wstring directory = window->Directories().Directory();
        ASSERT_EQ(lines.count(directory), 1u) << nth;
        if (directory == before) {
            ++failedBeforeDirectories;
        } else {
            ++failedAfterDirectories;
        }
        ExpectListsInStep(nth);
        EXPECT_EQ(ListBoxTexts(Dir1), lines.at(directory)) << nth;
        EXPECT_EQ(ListViewTexts(Control(File1)), roms.at(before)) << nth;
        EXPECT_EQ(Count(), L"2") << nth;
        EXPECT_EQ(fake.messages.shown.size(), told + 1) << nth;
    }
    // The walk reached into the directory list's change and, after it, the ROM list's.
    EXPECT_GT(failedBeforeDirectories, 0);
    EXPECT_GT(failedAfterDirectories, 0);

    ASSERT_EQ(window->RomList().Directory(), after);
    EXPECT_EQ(window->Directories().Directory(), after);
    ExpectListsInStep(0);
    EXPECT_EQ(ListBoxTexts(Dir1), lines.at(after));
    EXPECT_EQ(ListViewTexts(Control(File1)), roms.at(after));
    EXPECT_EQ(Count(), L"3");
}

TEST_F(RomBrowserTest, SelectionShowsTheSizeAndTheNameInTheHoverText) {
    SelectRom(1);
    EXPECT_EQ(window->PanelText(2), L"Rom Size: 1.04MB");
    EXPECT_EQ(RomHoverText(), L"Currently Selected ROM: b.smc");
    OpenDirectoryLine(2);  // the hover text keeps describing the last selection
    EXPECT_EQ(RomHoverText(), L"Currently Selected ROM: b.smc");
    EXPECT_EQ(window->PanelText(2), L"Rom Size: 1.04MB");
}

TEST_F(RomBrowserTest, TheMouseOnTheRomListActsAsOnAListBox) {
    HWND roms = Control(File1);
    const auto press = [&](UINT down, UINT up, POINT at) {
        SendMessageW(roms, down, down == WM_RBUTTONDOWN ? MK_RBUTTON : MK_LBUTTON,
                     MAKELPARAM(at.x, at.y));
        SendMessageW(roms, up, 0, MAKELPARAM(at.x, at.y));
    };
    RECT client{};
    GetClientRect(roms, &client);
    // At the list's right edge the line is still the line.
    POINT second = ListViewLinePoint(roms, 1);
    second.x = client.right - 2;
    press(WM_LBUTTONDOWN, WM_LBUTTONUP, second);
    EXPECT_EQ(window->RomList().SelectedIndex(), 1);
    EXPECT_EQ(window->PanelText(2), L"Rom Size: 1.04MB");

    // A click on the selected line shows its size again once something else wrote there.
    MoveMouseTo({20, ClientRectOf(Main_Frame).bottom});
    ASSERT_EQ(window->PanelText(2), L"Size: Temp Size");
    press(WM_LBUTTONDOWN, WM_LBUTTONUP, ListViewLinePoint(roms, 1));
    EXPECT_EQ(window->PanelText(2), L"Rom Size: 1.04MB");

    // Neither the right button nor a click below the last name changes the selection.
    press(WM_RBUTTONDOWN, WM_RBUTTONUP, ListViewLinePoint(roms, 0));
    press(WM_LBUTTONDOWN, WM_LBUTTONUP, {client.right / 2, client.bottom - 2});
    EXPECT_EQ(window->RomList().SelectedIndex(), 1);
}

TEST_F(RomBrowserTest, RootDirectoryJoinsWithoutADoubledBackslash) {
    fake.session.decimalSeparator = L",";
    OpenDirectoryLine(0);
    SelectRom(0);
    EXPECT_EQ(window->PanelText(2), L"Rom Size: 0,52MB");  // found as C:\top.smc
}

TEST_F(RomBrowserTest, UnmeasurableRomKeepsThePanels) {
    SelectRom(0);  // a.sfc has no size: removed meanwhile
    EXPECT_EQ(window->PanelText(2), L"Rom Size: ");
    EXPECT_EQ(RomHoverText(), L"Roms in current directory");
}

TEST_F(RomBrowserTest, PointerOnTheWindowsOwnSurfaceRewritesBothPanels) {
    shared.EmulatorPath = L"C:\\EMU\\snes9x.exe";
    SelectRom(1);
    const RECT button = ClientRectOf(Go_Button);
    MoveMouseTo({(button.left + button.right) / 2, (button.top + button.bottom) / 2});
    const RECT frame = ClientRectOf(Main_Frame);
    MoveMouseTo({(frame.left + frame.right) / 2, frame.top + 5});  // inside the frame
    EXPECT_EQ(window->PanelText(2), L"Rom Size: 1.04MB");
    EXPECT_EQ(window->PanelText(1), L"Location of Snes9x: ");

    const RECT bar = ClientRectOf(StatBar);
    ASSERT_GT(bar.top, frame.bottom) << "no strip between the frame and the status bar";
    MoveMouseTo({20, frame.bottom});
    EXPECT_EQ(window->PanelText(1), L"Location of Snes9x: C:\\EMU\\snes9x.exe");
    EXPECT_EQ(window->PanelText(2), L"Size: Temp Size");
}

// Whether a window's style held a horizontal scroll bar after any message it handled.
LRESULT CALLBACK WatchHorizontalBar(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR, DWORD_PTR seen) {
    const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    if ((GetWindowLongPtrW(window, GWL_STYLE) & WS_HSCROLL) != 0) {
        *reinterpret_cast<bool*>(seen) = true;
    }
    return result;
}

TEST_F(RomBrowserTest, TheRomListIsOneColumnAsWideAsTheListWithoutAHorizontalBarEvenForAMoment) {
    ShowWindow(window->Hwnd(), SW_SHOWNOACTIVATE);
    DrainMessages();
    HWND roms = Control(File1);
    const auto perPage = static_cast<int>(SendMessageW(roms, LVM_GETCOUNTPERPAGE, 0, 0));
    ASSERT_GT(perPage, 2);
    bool sawHorizontalBar = false;
    SetWindowSubclass(roms, WatchHorizontalBar, 1, reinterpret_cast<DWORD_PTR>(&sawHorizontalBar));
    RECT firstLine{LVIR_BOUNDS};
    SendMessageW(roms, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&firstLine));
    const int lineHeight = firstLine.bottom - firstLine.top;
    ASSERT_GT(lineHeight, 0);
    // As many ROMs as a page holds, one more, and as many as first overflow 16 bits of height
    // (which then reads as a few lines); each opened from C:\\ROMS, which needs no scroll
    // bar, and left for it again.
    for (const int count : {perPage, perPage + 1, 65536 / lineHeight + 1, 100000}) {
        SCOPED_TRACE(count);
        std::vector<DirectoryEntry> many;
        for (int i = 0; i < count; ++i) {
            many.push_back({L"rom" + std::to_wstring(i) + L".smc"});
        }
        fake.fileSystem.directories[L"C:\\ROMS\\Saves"] = std::move(many);
        for (const int line : {2, 1}) {  // Saves, then ROMS again
            OpenDirectoryLine(line);
            DrainMessages();
            const bool scrolls = (GetWindowLongPtrW(roms, GWL_STYLE) & WS_VSCROLL) != 0;
            EXPECT_EQ(scrolls, line == 2 && count > perPage);
            RECT client{};
            GetClientRect(roms, &client);
            EXPECT_EQ(SendMessageW(roms, LVM_GETCOLUMNWIDTH, 0, 0), client.right);
            EXPECT_FALSE(sawHorizontalBar) << (line == 2 ? "opening" : "leaving") << " the ROMs";
            sawHorizontalBar = false;
        }
    }
    RemoveWindowSubclass(roms, WatchHorizontalBar, 1);
}

TEST_F(RomBrowserTest, TypingTheStartOfANameSelectsItAsCollectionsWriteNames) {
    // ROMs, and folders of the same names, as collections spell them.
    const std::vector<std::wstring> names = {
        L"Alpha 01 (Europe)",
        L"Alpha 05 (Europe)",
        L"Mighty Owl Racing (USA)",
        L"Mighty Owl's Dream Course (USA)",
        L"Quest of Hana, The - Sky Tower (Japan)",
        L"Quest of Hana (Japan)",
        L"Tom & Jerry Chase (Europe)",
        L"Tom #1 (USA)",
        L"Act 1; Act 2 (USA)",
        L"Act 1 Finale (USA)",
        L"[BIOS] Stellar Loader (Japan)",
        L"(Hack) Bricks (World)",
        L"\u307b\u3046\u304d (Japan)",              // ほうき
        L"\u307b\u3057\u306e\u3086\u3081 (Japan)",  // ほしのゆめ
        L"\u3086\u3081\u306e\u304f\u306b (Japan)",  // ゆめのくに
        L"Etoile Basse (France)",
        L"\u00c9toile Filante (France)",  // Étoile
        L"Cafe Noir (France)",
        L"Cafe\u0301 Racer (France)",  // "é" as e and a mark
        L"\U0001F680 Rocket Run (World)",
        L"Rocket Run (World)"};
    auto& fs = fake.fileSystem;
    std::vector<DirectoryEntry> entries;
    for (const std::wstring& name : names) {
        entries.push_back({name + L".sfc"});
        entries.push_back(Folder(name.c_str()));
        fs.sizes[L"C:\\TYPED\\" + name + L".sfc"] = 1048576;
    }
    fs.directories[L"C:\\TYPED"] = entries;

    struct Row {
        const char* what;
        const wchar_t* typed;
        const wchar_t* found;
        bool inputMethod;
    };
    const Row rows[] = {
        {"several words", L"alpha 05", L"Alpha 05 (Europe)", false},
        {"an apostrophe", L"mighty owl'", L"Mighty Owl's Dream Course (USA)", false},
        {"a comma", L"quest of hana,", L"Quest of Hana, The - Sky Tower (Japan)", false},
        {"an ampersand", L"tom &", L"Tom & Jerry Chase (Europe)", false},
        {"a semicolon", L"act 1;", L"Act 1; Act 2 (USA)", false},
        {"brackets", L"[bios", L"[BIOS] Stellar Loader (Japan)", false},
        {"brackets", L"(hack", L"(Hack) Bricks (World)", false},
        {"kana", L"\u307b\u3057", L"\u307b\u3057\u306e\u3086\u3081 (Japan)", false},
        {"kana from an input method", L"\u3086\u3081", L"\u3086\u3081\u306e\u304f\u306b (Japan)",
         true},
        {"a combining accent typed", L"e\u0301t", L"\u00c9toile Filante (France)", false},
        {"a lower-case accent finds a capital", L"\u00e9t", L"\u00c9toile Filante (France)", false},
        {"a name with a combining accent", L"caf\u00e9", L"Cafe\u0301 Racer (France)", false},
        {"beyond 16 bits", L"\U0001F680", L"\U0001F680 Rocket Run (World)", false},
    };

    ShowWindow(window->Hwnd(), SW_SHOW);
    SetForegroundWindow(window->Hwnd());
    for (const int list : {File1, Dir1}) {
        for (const Row& row : rows) {
            // Shown afresh: no selection, and no search under way.
            ASSERT_TRUE(window->Directories().SetDirectory(L"C:\\TYPED").ok);
            DrainMessages();
            SetFocus(Control(list));
            ASSERT_EQ(GetForegroundWindow(), window->Hwnd());
            ASSERT_EQ(GetFocus(), Control(list));
            const std::wstring expected =
                list == File1 ? row.found + std::wstring(L".sfc") : std::wstring(row.found);
            const auto selected = [&] {
                if (list == Dir1) {
                    const auto line = SendMessageW(Control(Dir1), LB_GETCURSEL, 0, 0);
                    return window->Directories().LineText(static_cast<int>(line));
                }
                const auto line = SendMessageW(Control(File1), LVM_GETNEXTITEM,
                                               static_cast<WPARAM>(-1), LVNI_SELECTED);
                const auto texts = ListViewTexts(Control(File1));
                return line < 0 ? std::wstring() : texts[static_cast<size_t>(line)];
            };
            if (row.inputMethod) {
                TypeByInputMethod(Control(list), row.typed);
            } else {
                TypeByKeys(row.typed);
            }
            EXPECT_TRUE(DeliverUntil([&] { return selected() == expected; }))
                << row.what << " in list " << list << ": selected "
                << ::testing::PrintToString(selected());
            if (list == File1) {
                // Selected as a click selects it: its size and name are shown.
                EXPECT_EQ(window->PanelText(2), L"Rom Size: 1.04MB") << row.what;
                EXPECT_EQ(RomHoverText(), L"Currently Selected ROM: " + expected) << row.what;
            }
        }
    }
}

TEST_F(RomBrowserTest, CountsBeyondSixteenBitsAndShowsEveryDigit) {
    std::vector<DirectoryEntry> many;
    for (int i = 0; i < 100000; ++i) {
        many.push_back({L"rom" + std::to_wstring(i) + L".smc"});
    }
    fake.fileSystem.directories[L"C:\\ROMS\\Saves"] = std::move(many);
    OpenDirectoryLine(2);
    EXPECT_EQ(Count(), L"100000");
    EXPECT_EQ(SendMessageW(Control(File1), LVM_GETITEMCOUNT, 0, 0), 100000);

    // The label has grown to its six digits: none is cut off.
    HWND label = Control(numberofroms);
    HDC dc = GetDC(label);
    SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
    SIZE text{};
    GetTextExtentPoint32W(dc, L"100000", 6, &text);
    ReleaseDC(label, dc);
    RECT shown{};
    GetClientRect(label, &shown);
    EXPECT_GE(shown.right, text.cx);
}

}  // namespace
}  // namespace lumarel
