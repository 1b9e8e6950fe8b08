#include "ui/cheats/cheat_code.h"

#include <gtest/gtest.h>

namespace lumarel {
namespace {

TEST(CheatCode, NormalisesAsTheUserLeavesTheBox) {
    struct Case {
        const wchar_t* typed;
        const wchar_t* stored;
    };
    const Case cases[] = {
        {L"abcd1234", L"ABCD-1234"},  {L"12345678", L"1234-5678"},
        {L"abcd-1234", L"ABCD-1234"}, {L"123456789", L"1234-5678"},
        {L"12345-678", L"1234-5-67"}, {L"123-5678", L"123--5678"},
        {L"1234-567", L"1234-567"},   {L"abc1234", L"abc1234"},
        {L"", L""},                   {L"ABCD-1234", L"ABCD-1234"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NormaliseCheatCode(c.typed), c.stored) << std::wstring(c.typed).size();
        // Leaving the box again changes nothing more.
        EXPECT_EQ(NormaliseCheatCode(NormaliseCheatCode(c.typed)), c.stored);
    }
}

}  // namespace
}  // namespace lumarel
