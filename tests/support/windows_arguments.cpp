#include "tests/support/windows_arguments.h"

#include <cstddef>

namespace lumarel::testing {

namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

}  // namespace

std::vector<std::wstring> SplitWindowsCommandLine(std::wstring_view line) {
    std::size_t at = 0;
    bool inQuotes = false;
    std::wstring program;
    for (; at < line.size() && (inQuotes || !IsBlank(line[at])); ++at) {
        if (line[at] == L'"') {
            inQuotes = !inQuotes;
        } else {
            program += line[at];
        }
    }
    std::vector<std::wstring> arguments = {program};

    while (true) {
        while (at < line.size() && IsBlank(line[at])) {
            ++at;
        }
        if (at == line.size()) {
            return arguments;
        }
        std::wstring argument;
        inQuotes = false;
        while (at < line.size() && (inQuotes || !IsBlank(line[at]))) {
            if (line[at] == L'\\') {
                std::size_t backslashes = 0;
                for (; at < line.size() && line[at] == L'\\'; ++at) {
                    ++backslashes;
                }
                const bool beforeQuote = at < line.size() && line[at] == L'"';
                // Before a double quote a pair gives one backslash, and an odd one out makes
                // the quote literal; elsewhere backslashes are plain.
                argument.append(beforeQuote ? backslashes / 2 : backslashes, L'\\');
                if (beforeQuote && backslashes % 2 == 1) {
                    argument += L'"';
                    ++at;
                }
            } else if (line[at] == L'"') {
                if (inQuotes && at + 1 < line.size() && line[at + 1] == L'"') {
                    argument += L'"';  // a pair inside quotes is one literal double quote
                    ++at;
                } else {
                    inQuotes = !inQuotes;
                }
                ++at;
            } else {
                argument += line[at++];
            }
        }
        arguments.push_back(argument);
    }
}

}  // namespace lumarel::testing
