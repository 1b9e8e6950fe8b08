#include "platform/long_paths.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lumarel {
namespace {

// A folder name that makes any path under it longer than the classic limit.
const std::wstring kDeep(270, L'd');

TEST(LongPaths, OnlyLongFullPathsGetThePrefix) {
    struct Case {
        std::wstring path;
        std::wstring extended;
    };
    const Case cases[] = {
        {L"C:\\ROMS\\game.smc", L"C:\\ROMS\\game.smc"},
        {L"C:\\" + kDeep + L"\\game.smc", L"\\\\?\\C:\\" + kDeep + L"\\game.smc"},
        {L"\\\\server\\share\\" + kDeep, L"\\\\?\\UNC\\server\\share\\" + kDeep},
        {L"\\\\?\\C:\\" + kDeep, L"\\\\?\\C:\\" + kDeep},  // already prefixed
        {L"roms\\" + kDeep, L"roms\\" + kDeep},            // relative: left alone
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExtendedLengthPath(c.path), c.extended) << c.path.size();
        EXPECT_EQ(WithoutExtendedLengthPrefix(ExtendedLengthPath(c.path)),
                  WithoutExtendedLengthPrefix(c.path));
    }
    EXPECT_EQ(WithoutExtendedLengthPrefix(L"\\\\?\\UNC\\server\\share\\a"),
              L"\\\\server\\share\\a");
}

TEST(LongPaths, EveryPathOnADeviceNamesItAlike) {
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"c:\\roms\\a.smc", L"C:"},
        {L"C:\\", L"C:"},
        {L"C:", L"C:"},
        {L"\\\\?\\D:\\" + kDeep, L"D:"},
        {L"\\\\nas\\Games\\snes\\a.smc", L"\\\\NAS\\GAMES"},
        {L"\\\\?\\UNC\\nas\\games\\" + kDeep, L"\\\\NAS\\GAMES"},
        {L"\\\\nas\\games", L"\\\\NAS\\GAMES"},
        {L"roms\\a.smc", L""},
        {L"", L""},
    };
    for (const auto& [path, device] : cases) {
        EXPECT_EQ(DeviceOf(path), device) << path.size();
    }
}

// The system's conversion as Windows behaves: a long path fails unless it carries the prefix.
class SystemConversion {
public:
    std::wstring operator()(const std::wstring& path) {
        asked.push_back(path);
        if (path.size() >= kClassicPathLimit && path.rfind(L"\\\\?\\", 0) != 0) {
            return {};
        }
        return noShortForm ? std::wstring() : shortForm;
    }
    std::wstring shortForm;
    bool noShortForm = false;
    std::vector<std::wstring> asked;
};

TEST(LongPaths, AShortFormForADeepRomAndTheWholePathWhenThereIsNone) {
    const std::wstring rom = L"C:\\" + kDeep + L"\\game.smc";
    SystemConversion convert;
    convert.shortForm = L"\\\\?\\C:\\DDDDDD~1\\GAME.SMC";
    const auto exists = [](const std::wstring&) { return true; };
    EXPECT_EQ(ShortFormOf(rom, std::ref(convert), exists), L"C:\\DDDDDD~1\\GAME.SMC");
    EXPECT_EQ(convert.asked.back(), L"\\\\?\\" + rom);

    // A file that is there but has no short form is passed whole rather than not at all.
    convert.noShortForm = true;
    EXPECT_EQ(ShortFormOf(rom, std::ref(convert), exists), rom);
    EXPECT_EQ(ShortFormOf(rom, std::ref(convert), [](const std::wstring&) { return false; }), L"");
}

}  // namespace
}  // namespace lumarel
