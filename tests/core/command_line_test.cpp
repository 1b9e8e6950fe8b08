#include "launch/command_line.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "demo/emulator_report.h"
#include "tests/support/windows_arguments.h"

namespace lumarel {
namespace {

const std::wstring kEmulator = L"C:\\EMU\\SNES9X.EXE";
const std::wstring kRom = L"C:\\ROMS\\GAME.SMC";

// The options as a first start without settings leaves them.
LaunchOptions Defaults() {
    LaunchOptions options;
    options.Sound_Off = true;
    options.Sound_Mono = true;
    options.JoyStick_off = true;
    options.SuperFX_off = true;
    options.DontRom = true;
    options.Sound_Rate = {0, L"Default"};
    options.Joy_Stick_Type = {0, L"Auto Detect"};
    options.Screen_Resolution = {0, L"Default"};
    options.Frame_Rate = {0, L"Auto"};
    return options;
}

// Sound and joystick on: the options that add nothing at all.
LaunchOptions Quiet() {
    LaunchOptions options = Defaults();
    options.Sound_on = true;
    options.Sound_Off = false;
    options.Joystick_on = true;
    options.JoyStick_off = false;
    return options;
}

// The second worked example: every option that adds a piece.
LaunchOptions EverythingSet() {
    LaunchOptions options = Defaults();
    options.Sound_on = true;
    options.Sound_Off = false;
    options.Sound_Stereo = true;
    options.Sound_Mono = false;
    options.Sound_Rate = {4, L"22050 Hz"};
    options.Joystick_on = true;
    options.JoyStick_off = false;
    options.Joy_Stick_Type = {2, L"6 Button"};
    options.Screen_Resolution = {10, L"320x240 16-bit"};
    options.Frame_Rate = {2, L"2"};
    options.SuperFX_on = true;
    options.SuperFX_off = false;
    options.LoRom = true;
    options.DontRom = false;
    options.cOlOr16 = options.ScaleImg = options.Trans = options.tv = Checked;
    options.Extra = L"-x";
    return options;
}

std::wstring Pieces(const LaunchOptions& options, const CheatCodes& codes = {}) {
    const std::wstring line = AssembleCommandLine(kEmulator, kRom, options, codes);
    const std::wstring head = kEmulator + L" " + kRom + L" ";
    EXPECT_EQ(line.substr(0, head.size()), head);
    return line.substr(head.size());
}

TEST(CommandLine, WorkedExamplesToTheCharacter) {
    const std::wstring first = AssembleCommandLine(kEmulator, kRom, Defaults(), {});
    EXPECT_EQ(first, L"C:\\EMU\\SNES9X.EXE C:\\ROMS\\GAME.SMC -ns -j ");
    EXPECT_EQ(first.size(), 42u);

    CheatCodes codes;
    codes[0] = L"ABCD-1234";
    const std::wstring second = AssembleCommandLine(kEmulator, kRom, EverythingSet(), codes);
    EXPECT_EQ(
        second,
        L"C:\\EMU\\SNES9X.EXE C:\\ROMS\\GAME.SMC -sc -st -lr -tr -i2 -16 -m 9 -r 4 -f 2 -6 -y "
        L"-gg ABCD-1234 -x");
    EXPECT_EQ(second.size(), 96u);
    EXPECT_FALSE(LengthWarning(first));
    EXPECT_FALSE(LengthWarning(second));
}

TEST(CommandLine, TheDemonstrationEmulatorNamesEveryPieceAsTheMainWindowDoes) {
    const auto lookUp = [](const std::wstring& path) -> demo::FileOnDisk {
        if (path == kEmulator) {
            return {true, L"SNES9X.EXE", 297984};
        }
        return path == kRom ? demo::FileOnDisk{true, L"Game.smc", 2097664} : demo::FileOnDisk{};
    };
    LaunchOptions fewer = Defaults();
    fewer.HiRom = true;
    fewer.DontRom = false;
    fewer.Screen_Resolution = {1, L"320x240, ModeX 8-bit, slow"};
    fewer.Sound_Rate = {7, L"44000 Hz"};
    fewer.Joy_Stick_Type = {3, L"8 Button"};  // no piece while the joystick is off
    fewer.Extra = L"-x C:\\NOTES.TXT -m 99";
    using Named = std::vector<std::pair<std::wstring, std::wstring>>;
    const std::wstring typed = L"none of Lumarel's options: passed on as typed";
    const Named self = {{kEmulator, L"this program, SNES9X.EXE, 297984 bytes"},
                        {kRom, L"the file Game.smc, 2097664 bytes"}};
    struct Case {
        LaunchOptions options;
        std::wstring code;
        Named pieces;
    };
    const Case cases[] = {
        {EverythingSet(),
         L"ABCD-1234",
         {{L"-sc", L"option Scale Image to Screen"},
          {L"-st", L"option Sound Stereo/Mono: Stereo"},
          {L"-lr", L"option Rom Settings: Lo Rom"},
          {L"-tr", L"option Transparent Effects"},
          {L"-i2", L"option SuperFX On/Off: On"},
          {L"-16", L"option 16 Bit Colour"},
          {L"-m 9", L"option Screen Resolution: 320x240 16-bit"},
          {L"-r 4", L"option Sound Rate: 22050 Hz"},
          {L"-f 2", L"option Frame Rate: 2"},
          {L"-6", L"option JoyStick Type: 6 Button"},
          {L"-y", L"option TV Support"},
          {L"-gg ABCD-1234", L"Game Genie code ABCD-1234"},
          {L"-x", typed}}},
        {fewer,
         L"",
         {{L"-ns", L"option Sound On/Off: Off"},
          {L"-j", L"option JoyStick On/Off: Off"},
          {L"-hr", L"option Rom Settings: Hi Rom"},
          {L"-m 0", L"option Screen Resolution: 320x240, ModeX 8-bit, slow"},
          {L"-r 7", L"option Sound Rate: 44000 Hz"},
          {L"-x", typed},
          {L"C:\\NOTES.TXT", L"no such file"},
          {L"-m", typed},
          {L"99", typed}}},
    };
    for (const Case& c : cases) {
        CheatCodes codes;
        codes[4] = c.code;
        const std::wstring line = AssembleCommandLine(kEmulator, kRom, c.options, codes);
        Named named;
        for (const demo::NamedArgument& argument :
             demo::NameArguments(testing::SplitWindowsCommandLine(line), lookUp)) {
            named.emplace_back(argument.argument, argument.names);
        }
        Named expected = self;
        expected.insert(expected.end(), c.pieces.begin(), c.pieces.end());
        EXPECT_EQ(named, expected) << line;
    }
}

TEST(CommandLine, EachPieceUnderItsOwnCondition) {
    struct Case {
        const char* what;
        std::function<void(LaunchOptions&)> change;
        std::wstring pieces;
    };
    const Case cases[] = {
        {"nothing", [](LaunchOptions&) {}, L""},
        {"sound off", [](LaunchOptions& o) { o.Sound_on = false; }, L"-ns "},
        {"no sound button at all", [](LaunchOptions& o) { o.Sound_on = o.Sound_Off = false; },
         L"-ns "},
        {"scale", [](LaunchOptions& o) { o.ScaleImg = Checked; }, L"-sc "},
        {"scale greyed", [](LaunchOptions& o) { o.ScaleImg = Greyed; }, L"-sc "},
        {"joystick off", [](LaunchOptions& o) { o.Joystick_on = false; }, L"-j "},
        {"stereo", [](LaunchOptions& o) { o.Sound_Stereo = true; }, L"-st "},
        {"lo rom", [](LaunchOptions& o) { o.LoRom = true; }, L"-lr "},
        {"hi rom", [](LaunchOptions& o) { o.HiRom = true; }, L"-hr "},
        {"transparency", [](LaunchOptions& o) { o.Trans = Checked; }, L"-tr "},
        {"superfx", [](LaunchOptions& o) { o.SuperFX_on = true; }, L"-i2 "},
        {"16-bit colour greyed", [](LaunchOptions& o) { o.cOlOr16 = Greyed; }, L"-16 "},
        {"resolution none",
         [](LaunchOptions& o) {
             o.Screen_Resolution = {-1, L""};
         },
         L""},
        {"resolution item 1",
         [](LaunchOptions& o) {
             o.Screen_Resolution = {1, L"320x240, ModeX 8-bit, slow"};
         },
         L"-m 0 "},
        {"resolution item 11",
         [](LaunchOptions& o) {
             o.Screen_Resolution = {11, L"640x480 16-bit"};
         },
         L"-m 10 "},
        {"resolution item 13",
         [](LaunchOptions& o) {
             o.Screen_Resolution = {13, L"800x600 16-bit"};
         },
         L"-m 12 "},
        {"sound rate none",
         [](LaunchOptions& o) {
             o.Sound_Rate = {-1, L""};
         },
         L""},
        {"sound rate item 1",
         [](LaunchOptions& o) {
             o.Sound_Rate = {1, L"8192 Hz"};
         },
         L"-r 1 "},
        {"sound rate item 7",
         [](LaunchOptions& o) {
             o.Sound_Rate = {7, L"44000 Hz"};
         },
         L"-r 7 "},
        {"frame rate none",
         [](LaunchOptions& o) {
             o.Frame_Rate = {-1, L""};
         },
         L""},
        {"frame rate 9",
         [](LaunchOptions& o) {
             o.Frame_Rate = {9, L"9"};
         },
         L"-f 9 "},
        {"joystick type 4",
         [](LaunchOptions& o) {
             o.Joy_Stick_Type = {1, L"4 Button"};
         },
         L"-4 "},
        {"joystick type 8",
         [](LaunchOptions& o) {
             o.Joy_Stick_Type = {3, L"8 Button"};
         },
         L"-8 "},
        {"joystick type without joystick",
         [](LaunchOptions& o) {
             o.Joystick_on = false;
             o.JoyStick_off = true;
             o.Joy_Stick_Type = {3, L"8 Button"};
         },
         L"-j "},
        {"tv", [](LaunchOptions& o) { o.tv = Checked; }, L"-y "},
        {"sound off with stereo and a rate",
         [](LaunchOptions& o) {
             o.Sound_on = false;
             o.Sound_Stereo = true;
             o.Sound_Rate = {2, L"11025 Hz"};
         },
         L"-ns -st -r 2 "},
    };
    for (const Case& c : cases) {
        LaunchOptions options = Quiet();
        c.change(options);
        EXPECT_EQ(Pieces(options), c.pieces) << c.what;
    }
}

TEST(CommandLine, PiecesKeepTheirOrderWhateverIsSet) {
    LaunchOptions options = Quiet();
    options.tv = Checked;
    options.Frame_Rate = {3, L"3"};
    options.HiRom = true;
    options.ScaleImg = Checked;
    options.Sound_on = false;
    options.Joystick_on = false;
    options.Sound_Stereo = true;
    options.Screen_Resolution = {2, L"320x200 8-bit, faster but clips"};
    options.Sound_Rate = {5, L"29300 Hz"};
    options.Extra = L"-z";
    CheatCodes codes;
    codes[4] = L"1234-5678";
    EXPECT_EQ(Pieces(options, codes), L"-ns -sc -j -st -hr -m 1 -r 5 -f 3 -y -gg 1234-5678 -z");
}

TEST(CommandLine, OnlyNineCharacterCodesInSlotOrderDuplicatesKept) {
    CheatCodes codes;
    codes[0] = L"ABC1234";  // 7: left out
    codes[1] = L"AAAA-BBBB";
    codes[2] = L"";
    codes[3] = L"1234-567";    // 8: left out
    codes[6] = L"AAAA-BBBB";   // the same code again
    codes[9] = L"1234-56789";  // 10: left out
    EXPECT_EQ(Pieces(Quiet(), codes), L"-gg AAAA-BBBB -gg AAAA-BBBB ");
}

TEST(CommandLine, ExtraTextEndsTheLineAsTyped) {
    LaunchOptions options = Quiet();
    options.Extra = L" -v  ";
    CheatCodes codes;
    codes[0] = L"ABCD-1234";
    EXPECT_EQ(Pieces(options, codes), L"-gg ABCD-1234  -v  ");
}

TEST(CommandLine, EmptyShortPathLeavesTwoBlanks) {
    EXPECT_EQ(AssembleCommandLine(kEmulator, L"", Defaults(), {}), L"C:\\EMU\\SNES9X.EXE  -ns -j ");
}

TEST(CommandLine, PathsThatStillHoldBlanksAreQuoted) {
    for (const auto quoted : {QuotedProgramArgument, QuotedArgument}) {
        EXPECT_EQ(quoted(L"C:\\ROMS\\GAME.SMC"), L"C:\\ROMS\\GAME.SMC");
        EXPECT_EQ(quoted(L""), L"");
        EXPECT_EQ(quoted(L"D:\\My Roms\\A Game.smc"), L"\"D:\\My Roms\\A Game.smc\"");
    }
    EXPECT_EQ(AssembleCommandLine(L"D:\\My Emu\\snes9x.exe", L"D:\\My Roms\\x.smc", Defaults(), {}),
              L"\"D:\\My Emu\\snes9x.exe\" \"D:\\My Roms\\x.smc\" -ns -j ");
}

TEST(CommandLine, OnlyLaterArgumentsEscapeBackslashesAndQuotes) {
    EXPECT_EQ(QuotedProgramArgument(L"C:\\My Emu\\"), L"\"C:\\My Emu\\\"");
    EXPECT_EQ(QuotedArgument(L"C:\\My Roms\\"), L"\"C:\\My Roms\\\\\"");
    EXPECT_EQ(QuotedArgument(L"a\\\"b"), L"\"a\\\\\\\"b\"");
    EXPECT_EQ(QuotedArgument(L"a\tb"), L"\"a\tb\"");
}

TEST(CommandLine, BothPathsReadBackWhateverTheyHold) {
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"C:\\My Emu\\", L"C:\\My Roms\\"},
        {L"C:\\Emu\tTab\\x.exe", L"say \"hi\""},
        {L"\\\\server\\my share\\x.exe", L"a\\\\\" b\\"},
        {L"x", L"\""},
    };
    for (const auto& [emulator, rom] : cases) {
        const auto arguments =
            testing::SplitWindowsCommandLine(AssembleCommandLine(emulator, rom, Defaults(), {}));
        EXPECT_EQ(arguments, (std::vector<std::wstring>{emulator, rom, L"-ns", L"-j"})) << rom;
    }
}

TEST(CommandLine, WarningFrom128Characters) {
    const std::wstring quiet(127, L'a');
    EXPECT_FALSE(LengthWarning(quiet));
    std::wstring loud(127, L'a');
    loud += L'b';
    const auto warning = LengthWarning(loud);
    ASSERT_TRUE(warning);
    EXPECT_EQ(*warning, L"Commandline is too long! It will be truncated at:\n" + quiet);
}

TEST(CommandLine, JoinPathAddsOneBackslash) {
    EXPECT_EQ(JoinPath(L"C:\\", L"GAME.SMC"), L"C:\\GAME.SMC");
    EXPECT_EQ(JoinPath(L"C:\\ROMS", L"GAME.SMC"), L"C:\\ROMS\\GAME.SMC");
    EXPECT_EQ(JoinPath(L"C:\\ROMS", L""), L"C:\\ROMS\\");
}

TEST(CommandLine, DirectoryOfKeepsTheRootBackslashOnly) {
    EXPECT_EQ(DirectoryOf(L"C:\\GAMES\\lumarel.exe"), L"C:\\GAMES");
    EXPECT_EQ(DirectoryOf(L"C:\\lumarel.exe"), L"C:\\");
    EXPECT_EQ(DirectoryOf(L"\\\\server\\share\\lumarel.exe"), L"\\\\server\\share");
    EXPECT_EQ(DirectoryOf(L"lumarel.exe"), L"");
}

TEST(CommandLine, EmulatorPathMustEndInExeInAnyCase) {
    EXPECT_TRUE(IsAcceptedEmulatorPath(L"C:\\EMU\\SNES9X.EXE"));
    EXPECT_TRUE(IsAcceptedEmulatorPath(L"C:\\emu\\snes9x.exe"));
    EXPECT_TRUE(IsAcceptedEmulatorPath(L"C:\\emu\\snes9x.ExE"));
    EXPECT_TRUE(IsAcceptedEmulatorPath(L"exe"));
    EXPECT_FALSE(IsAcceptedEmulatorPath(L""));
    EXPECT_FALSE(IsAcceptedEmulatorPath(L"xe"));
    EXPECT_FALSE(IsAcceptedEmulatorPath(L"C:\\emu\\snes9x.com"));
    EXPECT_FALSE(IsAcceptedEmulatorPath(L"C:\\emu\\snes9x.exe "));
}

}  // namespace
}  // namespace lumarel
