#include "settings/settings_format.h"

#include <gtest/gtest.h>

#include <optional>

#include "platform/carried_services.h"
#include "settings/settings_store.h"
#include "tests/fakes/fake_option_controls.h"
#include "tests/fakes/fake_platform.h"

namespace lumarel {
namespace {

using testing::FakeOptionControls;
using testing::FakePlatform;
using Kind = SettingChange::Kind;
using O = OptionControl;

// Options and location after reading `text` into design-state controls and completing.
struct Loaded {
    LaunchOptions options;
    std::wstring path;
};
Loaded Load(const std::wstring& text) {
    FakeOptionControls controls;
    Loaded loaded;
    ApplySettingChanges(ReadSettings(text), controls, loaded.path);
    ApplySettingChanges(CompletionChanges(controls.options), controls, loaded.path);
    loaded.options = controls.options;
    return loaded;
}

TEST(SettingsFormat, WritesTheFourteenLinesInOrder) {
    LaunchOptions options;
    options.Sound_on = true;
    options.Sound_Mono = true;
    options.Sound_Rate.index = 3;
    options.JoyStick_off = true;
    options.Joy_Stick_Type.index = 0;
    options.Screen_Resolution.index = 2;
    options.Frame_Rate.index = 0;
    options.SuperFX_off = true;
    options.cOlOr16 = 1;
    options.Trans = 1;
    options.DontRom = true;
    EXPECT_EQ(SettingsText(L"C:\\EMU\\SNES9X\\snes9x.exe", options),
              L"Location of Snes9x: C:\\EMU\\SNES9X\\snes9x.exe\r\n"
              L"Sound: True\r\n"
              L"Stereo Sound: False\r\n"
              L"Sound Rate: 3\r\n"
              L"Joystick: False\r\n"
              L"Joystick Type: 0\r\n"
              L"Screen Resolution: 2\r\n"
              L"Frame Rate: 0\r\n"
              L"SuperFX: False\r\n"
              L"16-bit Colour: 1\r\n"
              L"Scale Image to Fit: 0\r\n"
              L"Transparent Effects: 1\r\n"
              L"TV Mode: 0\r\n"
              L"Rom Forcing: Don't Force\r\n");
    options.HiRom = options.LoRom = true;
    EXPECT_EQ(SettingsLines(L"x", options).back(), L"Rom Forcing: LoRom");
    options.LoRom = false;
    EXPECT_EQ(SettingsLines(L"x", options).back(), L"Rom Forcing: HiRom");
}

TEST(SettingsFormat, SaveThenLoadRestoresEverythingStored) {
    LaunchOptions saved;
    saved.Sound_on = true;
    saved.Sound_Stereo = true;
    saved.Joystick_on = true;
    saved.SuperFX_on = true;
    saved.HiRom = true;
    saved.Sound_Rate.index = 7;
    saved.Joy_Stick_Type.index = 3;
    saved.Screen_Resolution.index = 13;
    saved.Frame_Rate.index = 9;
    saved.cOlOr16 = 1;
    saved.ScaleImg = 2;
    saved.Trans = 0;
    saved.tv = 1;
    for (const std::wstring path : {L"C:\\My Emulators\\snes9x.exe", L"D:\\snes9x.exe",
                                    L"\\\\server\\share\\snes9x.exe", L"C:\\a b\\ c \\x.exe"}) {
        const Loaded loaded = Load(SettingsText(path, saved));
        EXPECT_EQ(loaded.path, path);
        EXPECT_EQ(SettingsText(path, loaded.options), SettingsText(path, saved));
    }
}

TEST(SettingsFormat, EmptyFileGivesTheDefaults) {
    const Loaded loaded = Load(L"");
    EXPECT_EQ(loaded.path, L"");
    const LaunchOptions& o = loaded.options;
    EXPECT_TRUE(o.Sound_Off && o.Sound_Mono && o.JoyStick_off && o.SuperFX_off && o.DontRom);
    EXPECT_FALSE(o.Sound_on || o.Sound_Stereo || o.Joystick_on || o.SuperFX_on || o.HiRom ||
                 o.LoRom);
    for (const ListChoice& list :
         {o.Sound_Rate, o.Joy_Stick_Type, o.Screen_Resolution, o.Frame_Rate}) {
        EXPECT_EQ(list.index, 0);
    }
    EXPECT_EQ(o.cOlOr16 + o.ScaleImg + o.Trans + o.tv, 0);
}

TEST(SettingsFormat, CompletionFillsListsThenGroupsInOrder) {
    const std::vector<SettingChange> expected = {
        {Kind::ListIndex, O::Joy_Stick_Type, 0},
        {Kind::ListIndex, O::Sound_Rate, 0},
        {Kind::ListIndex, O::Screen_Resolution, 0},
        {Kind::ListIndex, O::Frame_Rate, 0},
        {Kind::Select, O::Sound_Off},
        {Kind::Select, O::Sound_Mono},
        {Kind::Select, O::JoyStick_off},
        {Kind::Select, O::SuperFX_off},
        {Kind::Select, O::DontRom},
    };
    EXPECT_EQ(CompletionChanges(LaunchOptions{}), expected);
    LaunchOptions partly;
    partly.Sound_Rate.index = 2;
    partly.LoRom = true;
    partly.Sound_on = true;
    EXPECT_EQ(CompletionChanges(partly).size(), expected.size() - 3);
}

TEST(SettingsFormat, EachLineMakesItsChange) {
    struct Case {
        const wchar_t* line;
        std::optional<SettingChange> change;
    };
    const Case cases[] = {
        {L"sound: false", SettingChange{Kind::Select, O::Sound_Off}},
        {L"SOUND: FALSE", SettingChange{Kind::Select, O::Sound_Off}},
        {L"Sound: fAlSe", SettingChange{Kind::Select, O::Sound_Off}},
        {L"Sound: ", SettingChange{Kind::Select, O::Sound_on}},
        {L"Sound: no", SettingChange{Kind::Select, O::Sound_on}},
        {L"Stereo Sound: False", SettingChange{Kind::Select, O::Sound_Mono}},
        {L"Stereo Sound: yes", SettingChange{Kind::Select, O::Sound_Stereo}},
        {L"Joystick: True", SettingChange{Kind::Select, O::Joystick_on}},
        {L"Joystick: FALSE", SettingChange{Kind::Select, O::JoyStick_off}},
        {L"Joystick Type: 2", SettingChange{Kind::ListIndex, O::Joy_Stick_Type, 2}},
        {L"joystick type: 3", SettingChange{Kind::ListIndex, O::Joy_Stick_Type, 3}},
        {L"Sound Rate: -1", SettingChange{Kind::ListIndex, O::Sound_Rate, -1}},
        {L"Screen Resolution: 13", SettingChange{Kind::ListIndex, O::Screen_Resolution, 13}},
        {L"Frame Rate: 9", SettingChange{Kind::ListIndex, O::Frame_Rate, 9}},
        {L"SuperFX: True", SettingChange{Kind::Select, O::SuperFX_on}},
        {L"16-bit Colour: 2", SettingChange{Kind::CheckState, O::cOlOr16, 2}},
        {L"Scale Image to Fit: 1", SettingChange{Kind::CheckState, O::ScaleImg, 1}},
        {L"Transparent Effects: 1", SettingChange{Kind::CheckState, O::Trans, 1}},
        {L"TV Mode: 1", SettingChange{Kind::CheckState, O::tv, 1}},
        {L"Rom Forcing: Don't Force", SettingChange{Kind::Select, O::DontRom}},
        {L"Rom Forcing: hirom", SettingChange{Kind::Select, O::HiRom}},
        {L"Rom Forcing: LoRom", SettingChange{Kind::Select, O::LoRom}},
        {L"Rom Forcing: Lo Rom", SettingChange{Kind::Select, O::DontRom}},
        {L"Location of Snes9x: C:\\EMU\\snes9x.exe",
         SettingChange{Kind::Location, {}, 0, L"C:\\EMU\\snes9x.exe"}},
        {L"", std::nullopt},
        {L"Volume: 3", std::nullopt},
        {L"Sound", std::nullopt},
        // Values outside a control's range change nothing.
        {L"Sound Rate: 8", std::nullopt},
        {L"Joystick Type: 4", std::nullopt},
        {L"Screen Resolution: 14", std::nullopt},
        {L"Frame Rate: -2", std::nullopt},
        {L"TV Mode: 3", std::nullopt},
        {L"16-bit Colour: -1", std::nullopt},
        {L"Frame Rate: 99999999999999999999", std::nullopt},
        // A line without the character its value rule looks for is skipped.
        {L"Location of Snes9x: snes9x.exe", std::nullopt},
        {L"Sound:True", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadSettingsLine(c.line), c.change) << std::wstring(c.line).size();
    }
}

TEST(SettingsFormat, NumbersReadLikeTheFileExpects) {
    struct Case {
        const wchar_t* text;
        std::optional<std::int16_t> value;
    };
    const Case cases[] = {
        {L"3", 3},
        {L"-1", -1},
        {L"+4", 4},
        {L"2.5", 2},
        {L"3.5", 4},
        {L"-2.5", -2},
        {L"0.5", 0},
        {L"1.5", 2},
        {L"2.51", 3},
        {L"7abc", 7},
        {L"abc", 0},
        {L"", 0},
        {L"1e3", 1},
        {L"&H10", 0},
        {L"-", 0},
        {L".7", 1},
        {L"32767", 32767},
        {L"-32768", -32768},
        {L"32768", std::nullopt},
        {L"-32769", std::nullopt},
        {L"32767.5", std::nullopt},
        {L"32766.5", 32766},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadSettingsNumber(c.text), c.value) << std::wstring(c.text).size();
    }
}

TEST(SettingsFormat, LinesEndAtCrCrLfOrLf) {
    EXPECT_EQ(SplitSettingsLines(L"a\r\nb\rc\nd"),
              (std::vector<std::wstring>{L"a", L"b", L"c", L"d"}));
    EXPECT_EQ(SplitSettingsLines(L"a\r\n"), std::vector<std::wstring>{L"a"});
    EXPECT_TRUE(SplitSettingsLines(L"").empty());
    // A file saved with LF line ends keeps its lines apart.
    const Loaded loaded =
        Load(L"Location of Snes9x: C:\\EMU\\snes9x.exe\nSound: True\nTV Mode: 1\n");
    EXPECT_EQ(loaded.path, L"C:\\EMU\\snes9x.exe");
    EXPECT_TRUE(loaded.options.Sound_on);
    EXPECT_EQ(loaded.options.tv, 1);
}

TEST(SettingsFormat, LaterLinesWinAndOtherOrdersReadTheSame) {
    const Loaded loaded = Load(
        L"TV Mode: 1\r\nunknown line\r\nSound: True\r\n\r\nSound: False\r\n"
        L"Location of Snes9x: C:\\one.exe\r\nLocation of Snes9x: D:\\two.exe\r\n"
        L"Joystick Type: 2\r\nSound Rate: -1\r\n");
    EXPECT_TRUE(loaded.options.Sound_Off);
    EXPECT_EQ(loaded.path, L"D:\\two.exe");
    EXPECT_EQ(loaded.options.tv, 1);
    EXPECT_EQ(loaded.options.Joy_Stick_Type.index, 2);
    EXPECT_TRUE(loaded.options.JoyStick_off);       // the type line leaves the pair alone
    EXPECT_EQ(loaded.options.Sound_Rate.index, 0);  // completed after -1
}

TEST(SettingsFormat, ALocationHoldingAControlCharacterIsSkipped) {
    const std::wstring lines[] = {
        std::wstring(L"Location of Snes9x: C:\\x\\a.bat\0.exe", 36),
        L"Location of Snes9x: C:\\x\\a\tb.exe",
        L"Location of Snes9x: C:\\x\\a\x1b.exe",
    };
    for (const std::wstring& line : lines) {
        EXPECT_FALSE(ReadSettingsLine(line).has_value()) << line.size();
    }
    EXPECT_TRUE(ReadSettingsLine(L"Location of Snes9x: C:\\x\\a.exe").has_value());
}

TEST(SettingsFormat, ACompleteFileIsFourteenLinesEndedByCrLf) {
    const std::wstring saved = SettingsText(L"C:\\EMU\\snes9x.exe", LaunchOptions{});
    EXPECT_TRUE(IsCompleteSettingsText(saved));
    EXPECT_FALSE(IsCompleteSettingsText(saved.substr(0, saved.size() - 1)));
    EXPECT_FALSE(IsCompleteSettingsText(saved + L"Sound: True\r\n"));
    EXPECT_FALSE(IsCompleteSettingsText(L""));
    EXPECT_FALSE(IsCompleteSettingsText(std::wstring(14 * 2, L'\r')));
}

TEST(SettingsFormat, FileNameHasOneBackslash) {
    EXPECT_EQ(SettingsFilePath(L"C:\\"), L"C:\\Lumarel.ini");
    EXPECT_EQ(SettingsFilePath(L"C:\\GAMES"), L"C:\\GAMES\\Lumarel.ini");
}

class SettingsStoreTest : public ::testing::Test {
protected:
    const std::wstring file = L"C:\\GAMES\\Lumarel.ini";
    FakePlatform fake;
    FakeOptionControls controls;
    std::wstring path;
};

TEST_F(SettingsStoreTest, SavingTwiceGivesFourteenLines) {
    SaveSettings(L"C:\\GAMES", fake.textFiles, fake.messages, controls, L"C:\\EMU\\snes9x.exe");
    SaveSettings(L"C:\\GAMES", fake.textFiles, fake.messages, controls, L"C:\\EMU\\snes9x.exe");
    EXPECT_EQ(SplitSettingsLines(fake.textFiles.contents[file]).size(), 14u);
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(SettingsStoreTest, SaveWithoutLocationTouchesNothing) {
    fake.textFiles.contents[file] = L"old content";
    SaveSettings(L"C:\\GAMES", fake.textFiles, fake.messages, controls, L"");
    EXPECT_EQ(fake.textFiles.contents[file], L"old content");
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, L"Please select the location of Snes9x!");
    EXPECT_EQ(fake.messages.shown[0].title, L"Human Error!");
    EXPECT_EQ(fake.messages.shown[0].icon, MessageIcon::Exclamation);
}

TEST_F(SettingsStoreTest, FailedSaveIsReportedAndKeepsTheOldFile) {
    fake.textFiles.contents[file] = L"old content";
    fake.textFiles.writeResult = OsResult::Failure(112, L"There is not enough space on the disk.");
    SaveSettings(L"C:\\GAMES", fake.textFiles, fake.messages, controls, L"C:\\EMU\\snes9x.exe");
    EXPECT_EQ(fake.textFiles.contents[file], L"old content");
    EXPECT_EQ(fake.textFiles.contents.count(file + L".saving"), 0u);
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_NE(fake.messages.shown[0].text.find(L"There is not enough space on the disk."),
              std::wstring::npos);
    EXPECT_NE(fake.messages.shown[0].text.find(file), std::wstring::npos);
    EXPECT_NE(fake.messages.shown[0].text.find(L"unchanged"), std::wstring::npos);
}

TEST_F(SettingsStoreTest, MissingFileIsCreatedEmpty) {
    LoadSettings(L"C:\\GAMES", fake.textFiles, fake.messages, controls, path);
    EXPECT_EQ(fake.textFiles.contents.at(file), L"");
    EXPECT_TRUE(controls.options.DontRom);
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(SettingsStoreTest, UncreatableFileStartsWithDefaultsSilently) {
    fake.textFiles.createResult = OsResult::Failure(5, L"Access is denied.");
    LoadSettings(L"C:\\GAMES", fake.textFiles, fake.messages, controls, path);
    EXPECT_TRUE(controls.options.Sound_Off);
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(SettingsStoreTest, ASaveCutOffBeforeItsRenameIsTakenAtTheNextStart) {
    FakeOptionControls saved;
    saved.options.Sound_on = true;
    saved.options.LoRom = true;
    const std::wstring complete = SettingsText(L"C:\\EMU\\snes9x.exe", saved.options);
    constexpr std::uint64_t kSecond = 10'000'000;
    struct Case {
        const char* what;
        std::optional<std::wstring> settings;  // nothing: missing and not creatable
        std::wstring saving;
        std::uint64_t settingsWritten;  // the copy was written at 10 s
        bool taken;
        bool told;
    };
    const Case cases[] = {
        {"empty file", L"", complete, 0, true, false},
        {"missing file", std::nullopt, complete, 0, true, false},
        {"own settings win", L"Sound: False\r\n", complete, 0, false, false},
        {"an incomplete new file", L"", complete.substr(0, complete.size() - 5), 0, false, false},
        {"emptied within FAT's 2 s", L"", complete, 12 * kSecond, true, false},
        {"emptied after the copy was left", L"", complete, 13 * kSecond, false, true},
    };
    for (const Case& c : cases) {
        FakePlatform local;
        FakeOptionControls loaded;
        std::wstring location;
        if (c.settings) {
            local.textFiles.contents[file] = *c.settings;
            local.textFiles.lastWrites[file] = c.settingsWritten;
        } else {
            local.textFiles.createResult = OsResult::Failure(5, L"Access is denied.");
        }
        local.textFiles.contents[file + L".saving"] = c.saving;
        local.textFiles.lastWrites[file + L".saving"] = 10 * kSecond;
        LoadSettings(L"C:\\GAMES", local.textFiles, local.messages, loaded, location);
        EXPECT_EQ(location == L"C:\\EMU\\snes9x.exe" && loaded.options.LoRom, c.taken) << c.what;
        ASSERT_EQ(local.messages.shown.size(), c.told ? 1u : 0u) << c.what;
        if (c.told) {
            EXPECT_NE(local.messages.shown[0].text.find(file + L".saving"), std::wstring::npos);
            EXPECT_EQ(local.textFiles.contents[file + L".saving"], complete) << "left alone";
        }
        if (c.taken) {
            // Put in place: emptying the file later gives the defaults, not this save again.
            EXPECT_EQ(local.textFiles.contents[file], complete) << c.what;
            EXPECT_EQ(local.textFiles.contents.count(file + L".saving"), 0u) << c.what;
        }
    }
}

TEST_F(SettingsStoreTest, ASaveThatCannotTakeTheNameSaysWhereTheSettingsAre) {
    struct Case {
        const char* what;
        std::wstring before;
        bool kept;  // the new settings wait beside the file, to be taken at the next start
    };
    const Case cases[] = {
        {"settings saved before", L"Sound: True\r\n", false},
        {"a file holding none", L"", true},
    };
    for (const Case& c : cases) {
        FakePlatform local;
        local.textFiles.contents[file] = c.before;
        local.textFiles.blockedNames.insert(file);
        SaveSettings(L"C:\\GAMES", local.textFiles, local.messages, controls,
                     L"C:\\EMU\\snes9x.exe");
        EXPECT_EQ(local.textFiles.contents[file], c.before) << c.what;
        EXPECT_EQ(local.textFiles.contents.count(file + L".saving"), c.kept ? 1u : 0u) << c.what;
        ASSERT_EQ(local.messages.shown.size(), 1u) << c.what;
        const std::wstring& told = local.messages.shown[0].text;
        EXPECT_NE(told.find(L"Access is denied."), std::wstring::npos) << c.what;
        EXPECT_EQ(told.find(file + L".saving, which Lumarel takes") != std::wstring::npos, c.kept)
            << c.what;
        EXPECT_EQ(told.find(L"unchanged") != std::wstring::npos, !c.kept) << c.what;
    }
}

TEST_F(SettingsStoreTest, ASaveGivenUpAtAnyStepSaysTruthfullyWhatTheNextStartFinds) {
    FakeOptionControls older;
    older.options.HiRom = true;
    FakeOptionControls newer;
    newer.options.LoRom = true;
    const std::wstring saved = SettingsText(L"C:\\EMU\\snes9x.exe", older.options);
    for (const std::wstring& before : {std::wstring(), saved}) {
        for (int step = 1;; ++step) {
            bool beyondTheLastCall = false;
            for (const bool diskFinishes : {false, true}) {
                FakePlatform local;
                local.textFiles.contents[file] = before;
                testing::ScriptedCarrier carrier;
                carrier.unansweredCall = step;
                carrier.finishesAnyway = diskFinishes;
                CarriedTextFiles files(local.textFiles, carrier);
                SaveSettings(L"C:\\GAMES", files, local.messages, newer, L"C:\\EMU\\snes9x.exe");
                if (!carrier.givenUp) {
                    beyondTheLastCall = true;
                    break;
                }
                const std::string at = "step " + std::to_string(step) +
                                       (diskFinishes ? ", the disk finishing" : "") +
                                       (before.empty() ? ", no settings before" : "");
                ASSERT_EQ(local.messages.shown.size(), 1u) << at;
                const std::wstring& told = local.messages.shown[0].text;
                EXPECT_NE(told.find(L"you stopped waiting"), std::wstring::npos) << at;
                // What the next start finds is what the message said.
                FakeOptionControls loaded;
                std::wstring location;
                testing::FakeMessages quiet;
                LoadSettings(L"C:\\GAMES", local.textFiles, quiet, loaded, location);
                const bool foundNew = loaded.options.LoRom;
                const bool foundBefore = before.empty() ? location.empty() : loaded.options.HiRom;
                EXPECT_TRUE(foundNew || foundBefore) << at << ": the settings were lost";
                if (told.find(L"unchanged") != std::wstring::npos) {
                    EXPECT_TRUE(foundBefore && !foundNew) << at;
                } else if (told.find(L"finds the new settings all the same") !=
                           std::wstring::npos) {
                    EXPECT_TRUE(foundNew) << at;
                } else {
                    EXPECT_NE(told.find(L"otherwise it finds the settings saved before"),
                              std::wstring::npos)
                        << at;
                }
            }
            if (beyondTheLastCall) {
                EXPECT_GT(step, 3) << "a save makes at least a look, a write and a rename";
                break;
            }
        }
    }
}

TEST_F(SettingsStoreTest, AFileTooLargeToBeSettingsIsToldAndLeftAlone) {
    const std::wstring huge(kLargestSettingsFile + 1, L'\n');
    fake.textFiles.contents[file] = huge;
    LoadSettings(L"C:\\GAMES", fake.textFiles, fake.messages, controls, path);
    EXPECT_TRUE(controls.options.Sound_Off);
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_NE(fake.messages.shown[0].text.find(L"larger than 1 MB"), std::wstring::npos);
    EXPECT_NE(fake.messages.shown[0].text.find(L"default options"), std::wstring::npos);
    EXPECT_EQ(fake.textFiles.contents[file], huge);
    // Until the settings are saved: then they replace it.
    SaveSettings(L"C:\\GAMES", fake.textFiles, fake.messages, controls, L"C:\\EMU\\snes9x.exe");
    EXPECT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_TRUE(IsCompleteSettingsText(fake.textFiles.contents[file]));
}

TEST_F(SettingsStoreTest, UnreadableFileIsReportedAndDefaultsApply) {
    fake.textFiles.contents[file] = L"Sound: True\r\n";
    fake.textFiles.readResult = OsResult::Failure(32, L"The file is in use.");
    LoadSettings(L"C:\\GAMES", fake.textFiles, fake.messages, controls, path);
    EXPECT_TRUE(controls.options.Sound_Off);
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_NE(fake.messages.shown[0].text.find(L"The file is in use."), std::wstring::npos);
}

}  // namespace
}  // namespace lumarel
