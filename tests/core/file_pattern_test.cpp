#include "ui/browser/file_pattern.h"

#include <gtest/gtest.h>

namespace lumarel {
namespace {

TEST(FilePattern, SplitsThePatternList) {
    EXPECT_EQ(SplitPatternList(L"*.SMC;*.SFC;*.058;*.SWC;*.FIG;*.1;*.ZIP"),
              (std::vector<std::wstring>{L"*.SMC", L"*.SFC", L"*.058", L"*.SWC", L"*.FIG", L"*.1",
                                         L"*.ZIP"}));
    EXPECT_EQ(SplitPatternList(L"snes9x*.exe"), std::vector<std::wstring>{L"snes9x*.exe"});
    EXPECT_TRUE(SplitPatternList(L"").empty());
}

TEST(FilePattern, WildcardsMatchWholeNamesIgnoringCase) {
    struct Case {
        const wchar_t* name;
        const wchar_t* pattern;
        bool matches;
    };
    const Case cases[] = {
        {L"mario.smc", L"*.SMC", true},
        {L"GAME.ZIP", L"*.ZIP", true},
        {L"x.smc.bak", L"*.SMC", false},
        {L"smc", L"*.SMC", false},
        {L".smc", L"*.SMC", true},
        {L"a.b.smc", L"*.SMC", true},
        {L"game.1", L"*.1", true},
        {L"game.10", L"*.1", false},
        {L"snes9x.exe", L"snes9x*.exe", true},
        {L"SNES9X-w32.EXE", L"snes9x*.exe", true},
        {L"my snes9x.exe", L"snes9x*.exe", false},
        {L"a", L"?", true},
        {L"", L"?", false},
        {L"ab", L"*b*", true},
        {L"anything", L"*", true},
        {L"x.smc", L"*.?MC", true},
        {L"\u00e9t\u00e9.smc", L"\u00e9T\u00e9*", true},
        {L"\u00e9t\u00e9.smc", L"ETE*", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MatchesWildcard(c.name, c.pattern), c.matches) << c.name << " ~ " << c.pattern;
    }
}

TEST(FilePattern, ListsPlainMatchingFilesSortedIgnoringCase) {
    const DirectoryListing entries = {
        {L"zelda.SFC"},
        {L"game.smc"},
        {L"GAME.ZIP"},
        {L"x.smc.bak"},
        {L"notes.txt"},
        {L"Alpha.fig"},
        {L"folder.smc", true},
        {L"hidden.smc", false, true},
        {L"system.smc", false, false, true},
        {L"beta.058"},
    };
    const auto patterns = SplitPatternList(L"*.SMC;*.SFC;*.058;*.SWC;*.FIG;*.1;*.ZIP");
    std::vector<std::wstring> names;
    for (const std::size_t listed : ListedFiles(entries, patterns)) {
        names.emplace_back(entries.NameAt(listed));
    }
    EXPECT_EQ(names, (std::vector<std::wstring>{L"Alpha.fig", L"beta.058", L"game.smc", L"GAME.ZIP",
                                                L"zelda.SFC"}));
}

}  // namespace
}  // namespace lumarel
