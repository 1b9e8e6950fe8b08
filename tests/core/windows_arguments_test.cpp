#include "tests/support/windows_arguments.h"

#include <gtest/gtest.h>

namespace lumarel::testing {
namespace {

struct Case {
    std::wstring line;
    std::vector<std::wstring> arguments;
};

TEST(WindowsArguments, LaterArgumentsFollowTheBackslashAndQuoteRules) {
    const Case cases[] = {
        {L"p \"a b c\" d e", {L"p", L"a b c", L"d", L"e"}},
        {L"p \"ab\\\"c\" \"\\\\\" d", {L"p", L"ab\"c", L"\\", L"d"}},
        {L"p a\\\\\\b d\"e f\"g h", {L"p", L"a\\\\\\b", L"de fg", L"h"}},
        {L"p a\\\\\\\"b c d", {L"p", L"a\\\"b", L"c", L"d"}},
        {L"p a\\\\\\\\\"b c\" d e", {L"p", L"a\\\\b c", L"d", L"e"}},
        {L"p \"a \"\"b\"\" c\"", {L"p", L"a \"b\" c"}},
        {L"p\ta\t\t\"b\tc", {L"p", L"a", L"b\tc"}},
        {L"p \"\" x  ", {L"p", L"", L"x"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SplitWindowsCommandLine(c.line), c.arguments) << c.line;
    }
}

TEST(WindowsArguments, TheProgramNameTakesNoEscapes) {
    const Case cases[] = {
        {L"\"C:\\My Emu\\\" x", {L"C:\\My Emu\\", L"x"}},
        {L"C:\\a\\\"b c\"\\d e", {L"C:\\a\\b c\\d", L"e"}},
        {L"C:\\EMU\\SNES9X.EXE", {L"C:\\EMU\\SNES9X.EXE"}},
        {L" x", {L"", L"x"}},
        {L"", {L""}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SplitWindowsCommandLine(c.line), c.arguments) << c.line;
    }
}

}  // namespace
}  // namespace lumarel::testing
