// Settings files that no editor should have produced: Lumarel reads them to the end, keeps
// running, and completes what they leave unset.

#include <gtest/gtest.h>

#include "settings/settings_format.h"
#include "tests/fakes/fake_option_controls.h"

namespace lumarel {
namespace {

using testing::FakeOptionControls;

LaunchOptions LoadIntoControls(const std::wstring& text, std::wstring& path) {
    FakeOptionControls controls;
    ApplySettingChanges(ReadSettings(text), controls, path);
    ApplySettingChanges(CompletionChanges(controls.options), controls, path);
    return controls.options;
}

TEST(BadInput, DamagedSettingsFilesStillGiveSoundOptions) {
    std::wstring binary;
    for (int i = 0; i < 4096; ++i) {
        binary += static_cast<wchar_t>((i * 7919) % 256);  // every byte value, NUL included
    }
    std::wstring hundredThousandLines;
    for (int i = 0; i < 100000; ++i) {
        hundredThousandLines += L"Frame Rate: " + std::to_wstring(i % 12) + L"\r\n";
    }
    const std::pair<const char*, std::wstring> files[] = {
        {"binary bytes", binary},
        {"NUL bytes", std::wstring(L"Sound: True\0\0\0\r\nTV Mode: 1\0", 26)},
        {"one line of 1 MB", L"Location of Snes9x: C:\\" + std::wstring(1 << 20, L'a') + L".exe"},
        {"100,000 lines", hundredThousandLines},
        {"10 MB without a line end", std::wstring(10 << 20, L'#')},
        {"only line ends", std::wstring(100000, L'\n')},
    };
    for (const auto& [what, text] : files) {
        std::wstring path;
        const LaunchOptions options = LoadIntoControls(text, path);
        // Every list and group has a value after the completion step.
        EXPECT_GE(options.Frame_Rate.index, 0) << what;
        EXPECT_GE(options.Sound_Rate.index, 0) << what;
        EXPECT_TRUE(options.Sound_on != options.Sound_Off) << what;
        EXPECT_TRUE(options.LoRom || options.HiRom || options.DontRom) << what;
        // And what was read saves and reads back the same.
        std::wstring again;
        EXPECT_EQ(SettingsText(path, LoadIntoControls(SettingsText(path, options), again)),
                  SettingsText(path, options))
            << what;
        EXPECT_EQ(again, path) << what;
    }
}

TEST(BadInput, TheLastGoodLineWinsOverLaterBadOnes) {
    std::wstring path;
    const LaunchOptions options =
        LoadIntoControls(L"Frame Rate: 7\r\nFrame Rate: 11\r\nFrame Rate: 99999999999\r\n", path);
    EXPECT_EQ(options.Frame_Rate.index, 7);
}

}  // namespace
}  // namespace lumarel
