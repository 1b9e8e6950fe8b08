#include "launch/run_action.h"

#include <gtest/gtest.h>

#include <new>

#include "platform/carried_services.h"
#include "tests/fakes/fake_platform.h"

namespace lumarel {
namespace {

using testing::FakePlatform;

class FakeCaption final : public WindowCaption {
public:
    std::wstring Caption() override { return caption; }
    void SetCaption(const std::wstring& text) override { caption = text; }
    std::wstring caption = L"Lumarel v1.5";
};

class RunActionTest : public ::testing::Test {
protected:
    RunActionTest() : action(fake.Services()) {
        request.emulatorPath = L"C:\\EMU\\SNES9X.EXE";
        request.romDirectory = L"C:\\ROMS";
        request.romEntry = L"GAME.SMC";
        request.options.Sound_Off = true;
        request.options.JoyStick_off = true;
        fake.fileSystem.sizes[request.emulatorPath] = 1500000;
        fake.processes.onStart = [this](const std::wstring&) {
            captionDuringStart = caption.caption;
        };
    }
    const std::vector<std::wstring>& Diagnostic() { return fake.textFiles.files[kDiagnosticFile]; }

    FakePlatform fake;
    RunAction action;
    RunRequest request;
    FakeCaption caption;
    std::wstring captionDuringStart;
};

TEST_F(RunActionTest, StartsTheEmulatorMaximizedAndRecordsTheLine) {
    action.Run(request, caption);
    const std::wstring line = L"C:\\EMU\\SNES9X.EXE C:\\ROMS\\GAME.SMC -ns -j ";
    ASSERT_EQ(fake.processes.started.size(), 1u);
    EXPECT_EQ(fake.processes.started[0].commandLine, line);
    EXPECT_EQ(fake.processes.started[0].show, WindowShow::Maximized);
    EXPECT_EQ(Diagnostic(), std::vector<std::wstring>{line});
    EXPECT_TRUE(fake.messages.shown.empty());
    // The ROM is converted first, then the emulator.
    EXPECT_EQ(fake.shortPaths.asked,
              (std::vector<std::wstring>{L"C:\\ROMS\\GAME.SMC", L"C:\\EMU\\SNES9X.EXE"}));
}

TEST_F(RunActionTest, AWaitGivenUpBeforeTheStartCallsTheRunOff) {
    struct Case {
        const char* what;
        int call;  // of the run's calls: ROM short path, emulator short path, record, start
        bool started;
    };
    const Case cases[] = {
        {"the ROM's short path", 1, false},
        {"the emulator's short path", 2, false},
        {"the command-line record", 3, false},
        {"the start, which goes on alone", 4, true},
    };
    for (const Case& c : cases) {
        FakePlatform local;
        testing::ScriptedCarrier carrier;
        carrier.unansweredCall = c.call;
        carrier.finishesAnyway = true;
        CarriedShortPaths shortPaths(local.shortPaths, carrier);
        CarriedTextFiles textFiles(local.textFiles, carrier);
        CarriedProcessStarter processes(local.processes, carrier);
        std::wstring captionWhileStarting = L"(not started)";
        local.processes.onStart = [&](const std::wstring&) {
            captionWhileStarting = caption.caption;
        };
        RunAction carried({local.messages, shortPaths, processes, textFiles, local.fileSystem,
                           local.session, carrier});
        carried.Run(request, caption);
        EXPECT_EQ(local.processes.started.size(), c.started ? 1u : 0u) << c.what;
        EXPECT_EQ(caption.caption, L"Lumarel v1.5") << c.what;
        EXPECT_TRUE(local.messages.shown.empty()) << c.what;
    }
}

TEST_F(RunActionTest, CaptionIsMarkedOnlyWhileTheStartRuns) {
    action.Run(request, caption);
    EXPECT_EQ(captionDuringStart, L"Lumarel v1.5 - [Running]");
    EXPECT_EQ(caption.caption, L"Lumarel v1.5");
}

TEST_F(RunActionTest, InputChecksStopEverythingElse) {
    struct Case {
        std::wstring emulator;
        std::wstring entry;
        std::wstring message;
    };
    const Case cases[] = {
        {L"", L"", L"Please Location Snes9x.exe!"},  // the emulator check comes first
        {L"", L"GAME.SMC", L"Please Location Snes9x.exe!"},
        {L"C:\\EMU\\SNES9X.COM", L"GAME.SMC", L"Please Location Snes9x.exe!"},
        {L"C:\\EMU\\SNES9X.EXE ", L"GAME.SMC", L"Please Location Snes9x.exe!"},
        {L"C:\\EMU\\snes9x.exe", L"", L"Please select a ROM!"},
    };
    for (const Case& c : cases) {
        FakePlatform local;
        RunAction localAction(local.Services());
        request.emulatorPath = c.emulator;
        request.romEntry = c.entry;
        FakeCaption localCaption;
        localAction.Run(request, localCaption);
        ASSERT_EQ(local.messages.shown.size(), 1u);
        EXPECT_EQ(local.messages.shown[0].text, c.message);
        EXPECT_EQ(local.messages.shown[0].title, L"Human Error!");
        EXPECT_EQ(local.messages.shown[0].icon, MessageIcon::Exclamation);
        EXPECT_TRUE(local.processes.started.empty());
        EXPECT_TRUE(local.textFiles.files.empty());
        EXPECT_EQ(localCaption.caption, L"Lumarel v1.5");
    }
}

TEST_F(RunActionTest, TwoStartsAddTwoLines) {
    action.Run(request, caption);
    action.Run(request, caption);
    EXPECT_EQ(Diagnostic().size(), 2u);
    EXPECT_EQ(fake.processes.started.size(), 2u);
}

TEST_F(RunActionTest, LongLineWarnsAndIsPassedOnWhole) {
    request.options.Extra = std::wstring(200, L'x');
    action.Run(request, caption);
    const std::wstring line = fake.processes.started.at(0).commandLine;
    ASSERT_EQ(line.size(), 42u + 200u);
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text,
              L"Commandline is too long! It will be truncated at:\n" + line.substr(0, 127));
    EXPECT_EQ(fake.messages.shown[0].title, L"Human Error!");
    EXPECT_EQ(Diagnostic().at(0), line);
}

TEST_F(RunActionTest, ShortPathsAreWhatTheEmulatorGets) {
    request.emulatorPath = L"C:\\My Emulators\\snes9x long name.exe";
    request.romDirectory = L"C:\\";
    request.romEntry = L"a game.smc";
    fake.shortPaths.conversions = {
        {L"C:\\My Emulators\\snes9x long name.exe", L"C:\\MYEMUL~1\\SNES9X~1.EXE"},
        {L"C:\\a game.smc", L"C:\\AGAME~1.SMC"}};
    action.Run(request, caption);
    EXPECT_EQ(fake.processes.started.at(0).commandLine,
              L"C:\\MYEMUL~1\\SNES9X~1.EXE C:\\AGAME~1.SMC -ns -j ");
}

TEST_F(RunActionTest, MissingRomStillStartsWithAnEmptyPath) {
    fake.shortPaths.conversions = {{L"C:\\EMU\\SNES9X.EXE", L"C:\\EMU\\SNES9X.EXE"}};
    fake.shortPaths.unknownFails = true;
    action.Run(request, caption);
    EXPECT_EQ(fake.processes.started.at(0).commandLine, L"C:\\EMU\\SNES9X.EXE  -ns -j ");
}

TEST_F(RunActionTest, UnwritableRecordIsReportedOncePerRunAndTheEmulatorStillStarts) {
    fake.textFiles.appendResult = OsResult::Failure(5, L"Access is denied.");
    action.Run(request, caption);
    action.Run(request, caption);
    EXPECT_EQ(fake.processes.started.size(), 2u);
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_NE(fake.messages.shown[0].text.find(L"c:\\qzdebug.out"), std::wstring::npos);
    EXPECT_NE(fake.messages.shown[0].text.find(L"Access is denied."), std::wstring::npos);
    EXPECT_EQ(caption.caption, L"Lumarel v1.5");
}

TEST_F(RunActionTest, RecordRefusedInTheRootOfDriveCSaysWhyAndWhatEndsItForGood) {
    const std::wstring cure =
        L"\n\nOnly administrators may create files at the top of drive C. An administrator can "
        L"create an empty c:\\qzdebug.out once; from then on Lumarel adds to it.";
    struct Case {
        const char* name;
        OsResult failure;
        bool recordExists;
        bool explained;
    };
    const Case cases[] = {
        {"refused to create it", OsResult::Failure(5, L"Access is denied."), false, true},
        // There it is the file itself that is closed to the user: creating it is no cure.
        {"refused to write to it", OsResult::Failure(5, L"Access is denied."), true, false},
        {"disk full", OsResult::Failure(112, L"There is not enough space on the disk."), false,
         false},
    };
    for (const Case& c : cases) {
        FakePlatform platform;
        platform.textFiles.appendResult = c.failure;
        if (c.recordExists) {
            platform.textFiles.contents[kDiagnosticFile] = L"";
        }
        RunAction run(platform.Services());
        run.Run(request, caption);
        ASSERT_EQ(platform.messages.shown.size(), 1u) << c.name;
        EXPECT_EQ(platform.messages.shown[0].text,
                  L"The command line could not be recorded in c:\\qzdebug.out:\n" +
                      c.failure.reason + (c.explained ? cure : L"") +
                      L"\n\nThe emulator is started all the same.")
            << c.name;
    }
}

TEST_F(RunActionTest, TheEmulatorIsNamedInFullAsTheProgramToRun) {
    fake.shortPaths.conversions = {{L"C:\\EMU\\SNES9X.EXE", L"C:\\EMU\\SNES9X.EXE"}};
    action.Run(request, caption);
    EXPECT_EQ(fake.processes.started.at(0).program, L"C:\\EMU\\SNES9X.EXE");
    // Without a short form (the file is gone), the path as given, so the start can say so.
    fake.shortPaths.unknownFails = true;
    fake.shortPaths.conversions.clear();
    action.Run(request, caption);
    EXPECT_EQ(fake.processes.started.at(1).program, L"C:\\EMU\\SNES9X.EXE");
    EXPECT_EQ(fake.processes.started.at(1).commandLine, L"  -ns -j ");
}

TEST_F(RunActionTest, MissingEmulatorIsNamedAsNotFound) {
    fake.shortPaths.unknownFails = true;
    fake.processes.result = OsResult::Failure(2, L"The system cannot find the file specified.");
    action.Run(request, caption);
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text,
              L"Snes9x was not found:\nC:\\EMU\\SNES9X.EXE\n\nChoose where it is under Options > "
              L"File Locations.");
    EXPECT_EQ(caption.caption, L"Lumarel v1.5");
    EXPECT_EQ(Diagnostic().size(), 1u);  // recorded before the start was tried
}

TEST_F(RunActionTest, TheCaptionLosesItsMarkEvenWhenTheStartThrows) {
    fake.processes.onStart = [](const std::wstring&) { throw std::bad_alloc(); };
    EXPECT_THROW(action.Run(request, caption), std::bad_alloc);
    EXPECT_EQ(caption.caption, L"Lumarel v1.5");
}

TEST_F(RunActionTest, FailedStartIsReportedWithTheSystemsReason) {
    fake.processes.result = OsResult::Failure(193, L"Not a valid Win32 application.");
    action.Run(request, caption);
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_NE(fake.messages.shown[0].text.find(L"C:\\EMU\\SNES9X.EXE"), std::wstring::npos);
    EXPECT_NE(fake.messages.shown[0].text.find(L"Not a valid Win32 application."),
              std::wstring::npos);
    EXPECT_EQ(caption.caption, L"Lumarel v1.5");
    // The line was recorded before the start was tried.
    EXPECT_EQ(Diagnostic().size(), 1u);
}

}  // namespace
}  // namespace lumarel
