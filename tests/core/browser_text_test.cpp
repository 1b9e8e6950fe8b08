#include <gtest/gtest.h>

#include "ui/browser/list_paths.h"
#include "ui/browser/type_ahead.h"
#include "ui/main/rom_size.h"

namespace lumarel {
namespace {

TEST(RomSize, TruncatedMegabytesInTheShortestForm) {
    struct Case {
        std::uint64_t bytes;
        const wchar_t* dot;
        const wchar_t* comma;
    };
    const Case cases[] = {
        {0, L"0", L"0"},
        {9999, L"0", L"0"},
        {10000, L"0.01", L"0,01"},
        {524800, L"0.52", L"0,52"},
        {1000000, L"1", L"1"},
        {1048576, L"1.04", L"1,04"},
        {1500000, L"1.5", L"1,5"},
        {2097152, L"2.09", L"2,09"},
        {4194816, L"4.19", L"4,19"},
        {3000000000ULL, L"3000", L"3000"},  // over 2 GB: never negative
        {5368709120ULL, L"5368.7", L"5368,7"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatRomSize(c.bytes, L"."), c.dot) << c.bytes;
        EXPECT_EQ(FormatRomSize(c.bytes, L","), c.comma) << c.bytes;
    }
}

TEST(ListPaths, DirectoryChainFromTheRootDown) {
    const auto chain = DirectoryChain(L"C:\\Games\\My Roms");
    ASSERT_EQ(chain.size(), 3u);
    EXPECT_EQ(chain[0].path, L"C:\\");
    EXPECT_EQ(chain[0].display, L"C:\\");
    EXPECT_EQ(chain[1].path, L"C:\\Games");
    EXPECT_EQ(chain[1].display, L"Games");
    EXPECT_EQ(chain[2].path, L"C:\\Games\\My Roms");
    EXPECT_EQ(chain[2].display, L"My Roms");

    EXPECT_EQ(DirectoryChain(L"C:\\").size(), 1u);
    const auto network = DirectoryChain(L"\\\\server\\share\\roms");
    ASSERT_EQ(network.size(), 2u);
    EXPECT_EQ(network[0].path, L"\\\\server\\share\\");
    EXPECT_EQ(network[1].path, L"\\\\server\\share\\roms");
}

TEST(ListPaths, DrivesAsWindowsUsersKnowThem) {
    EXPECT_EQ(DriveListText({L'C', DriveKind::Fixed, L"SYSTEM"}), L"c: [SYSTEM]");
    EXPECT_EQ(DriveListText({L'Z', DriveKind::Remote, L"\\\\server\\share"}),
              L"z: [\\\\server\\share]");
    EXPECT_EQ(DriveListText({L'D'}), L"d:");
    EXPECT_EQ(DriveLetterOf(L"c:\\roms"), L'C');
    EXPECT_EQ(DriveLetterOf(L"\\\\server\\share"), 0);
    EXPECT_EQ(DriveLetterOf(L""), 0);
}

// A fold of the tests' own, with the system's rules in small: ASCII and "É" to lower case,
// "e" with a combining acute to "é".
std::wstring TestFold(std::wstring_view text) {
    std::wstring folded;
    for (const wchar_t c : text) {
        if (c == L'\u0301' && !folded.empty() && folded.back() == L'e') {
            folded.back() = L'\u00e9';
        } else if ((c >= L'A' && c <= L'Z') || c == L'\u00c9') {
            folded.push_back(static_cast<wchar_t>(c + 32));
        } else {
            folded.push_back(c);
        }
    }
    return folded;
}

// A list typed into: each step's units arrive at one message time, and the line found is
// selected and focused, as the lists do.
struct TypingStep {
    std::wstring typed;
    std::uint32_t time;
    const wchar_t* selected;  // the name selected afterwards; nullptr: none
};
struct TypingCase {
    const char* what;
    std::vector<std::wstring> names;
    std::vector<TypingStep> steps;
};

TEST(TypeAhead, FindsWhatWasTypedAsPeopleWriteNames) {
    const std::vector<std::wstring> animals = {L"Leopard", L"Lemur", L"Lion", L"Llama"};
    const std::vector<std::wstring> games = {
        L"Kirby Super Star (USA)", L"Kirby's Dream Course (USA)", L"Super Mario Kart (USA)",
        L"Super Mario World (USA)", L"Legend of Zelda, The - A Link to the Past (USA)"};
    const TypingCase cases[] = {
        {"a blank", games, {{L"super mario w", 0, L"Super Mario World (USA)"}}},
        {"an apostrophe", games, {{L"kirby'", 0, L"Kirby's Dream Course (USA)"}}},
        {"a comma",
         games,
         {{L"legend of zelda, t", 0, L"Legend of Zelda, The - A Link to the Past (USA)"}}},
        {"letter case", games, {{L"KIRBY S", 0, L"Kirby Super Star (USA)"}}},
        {"one letter starts after the focused line",
         animals,
         {{L"lio", 0, L"Lion"}, {L"l", 2000, L"Llama"}, {L"l", 4000, L"Leopard"}}},
        {"the same letter again goes on, round the list",
         animals,
         {{L"l", 0, L"Leopard"},
          {L"l", 100, L"Lemur"},
          {L"a", 200, L"Llama"},
          {L"l", 300, L"Llama"}}},
        {"the same letter five times", animals, {{L"lllll", 0, L"Leopard"}}},
        {"more letters search from the focused line",
         animals,
         {{L"le", 0, L"Leopard"}, {L"m", 10, L"Lemur"}}},
        {"a pause of a second at most keeps the search",
         animals,
         {{L"l", 0, L"Leopard"}, {L"i", 1000, L"Lion"}}},
        {"a longer pause starts anew",
         animals,
         {{L"le", 0, L"Leopard"}, {L"i", 1001, L"Leopard"}, {L"l", 2100, L"Lemur"}}},
        {"the message time going round 49.7 days on",
         animals,
         {{L"l", 0xFFFFFF00u, L"Leopard"}, {L"io", 0x10, L"Lion"}}},
        {"no match keeps the selection and the text grows",
         animals,
         {{L"li", 0, L"Lion"},
          {L"x", 10, L"Lion"},
          {L"on", 20, L"Lion"},
          {L"le", 2000, L"Leopard"}}},
        {"control characters neither join nor end a search",
         animals,
         {{L"l\b\t\x1b\r", 0, L"Leopard"}, {L"\x7fi", 10, L"Lion"}}},
        {"a blank starts no search: Space is the list's own",
         animals,
         {{L" ", 0, nullptr}, {L"lion", 10, L"Lion"}}},
        {"a character beyond 16 bits, and halves of one",
         {L"\U0001D11E Clef", L"Clef", L"\U0001D11F"},
         {{L"\U0001D11E", 0, L"\U0001D11E Clef"},
          {L"\xDC1F", 2000, L"\U0001D11E Clef"},
          {std::wstring(L"\xD834") + L"c", 4000, L"Clef"},
          {std::wstring(L"\xD834\b") + L"\xDD1F", 5000, L"Clef"},
          {L"\U0001D11F", 6000, L"\U0001D11F"}}},
        {"accents fold alike, written either way",
         {L"Ecole", L"\u00c9t\u00e9", L"e\u0301clair"},
         {{L"\u00e9t", 0, L"\u00c9t\u00e9"},
          {L"e\u0301c", 2000, L"e\u0301clair"},
          {L"\u00c9cl", 4000, L"e\u0301clair"},
          {L"ec", 6000, L"Ecole"}}},
        {"a name that holds the separator",
         {L"\u00e9\nb", L"b\n\u00e9"},
         {{L"b", 0, L"b\n\u00e9"}}},
        {"an empty list", {}, {{L"a", 0, nullptr}}},
    };
    for (const TypingCase& c : cases) {
        ListTypeAhead typing(TestFold);
        int focused = -1;
        for (const TypingStep& step : c.steps) {
            for (const wchar_t unit : step.typed) {
                const auto outcome = typing.Type(
                    unit, step.time, focused, c.names.size(),
                    [&c](std::size_t line) { return std::wstring_view(c.names[line]); });
                if (unit != L' ') {  // a blank's own test is below
                    EXPECT_EQ(outcome.taken, unit >= L' ' && unit != 0x7F) << c.what;
                }
                if (outcome.line >= 0) {
                    focused = outcome.line;
                }
            }
            const std::wstring selected =
                focused < 0 ? L"(none)" : c.names[static_cast<size_t>(focused)];
            EXPECT_EQ(selected, step.selected ? step.selected : L"(none)")
                << c.what << ", after typing " << testing::PrintToString(step.typed);
        }
    }
}

TEST(TypeAhead, SpaceExtendsOnlyASearchUnderWay) {
    TypeAhead typeAhead(TestFold);
    EXPECT_FALSE(typeAhead.Searching(0));
    EXPECT_FALSE(typeAhead.Takes(L' ', 0));
    ASSERT_TRUE(typeAhead.Type(L'a', 100).has_value());
    EXPECT_TRUE(typeAhead.Searching(1100));
    EXPECT_TRUE(typeAhead.Takes(L' ', 1100));
    EXPECT_FALSE(typeAhead.Takes(L' ', 1101));  // after the pause: the list's own again
    EXPECT_FALSE(typeAhead.Takes(L'\r', 200));
}

}  // namespace
}  // namespace lumarel
