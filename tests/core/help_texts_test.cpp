#include "ui/help/help_texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>

namespace lumarel {
namespace {

std::vector<std::wstring> Split(const std::wstring& text, const std::wstring& separator) {
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(separator, start)) != std::wstring::npos;
         start = end + separator.size()) {
        lines.push_back(text.substr(start, end - start));
    }
    lines.push_back(text.substr(start));
    return lines;
}

// The keyboard text's lines, without the empty piece after the final CR LF.
std::vector<std::wstring> KeyboardLines() {
    std::vector<std::wstring> lines = Split(KeyboardReferenceText(), L"\r\n");
    lines.pop_back();
    return lines;
}

// Tabs shown at eight-column stops, as Notepad and edit boxes do.
std::wstring TabsExpanded(const std::wstring& line) {
    std::wstring expanded;
    for (const wchar_t c : line) {
        if (c == L'\t') {
            expanded.append(8 - expanded.size() % 8, L' ');
        } else {
            expanded += c;
        }
    }
    return expanded;
}

TEST(ReadmeCommandLine, NotepadOnTheReadmeBesideTheEmulator) {
    struct Case {
        std::wstring emulatorPath;
        std::optional<std::wstring> commandLine;
    };
    const Case cases[] = {
        {L"C:\\SNES9X\\SNES9X.EXE", L"notepad C:\\SNES9X\\readme.txt"},
        {L"snes9x-1.43.exe", L"notepad readme.txt"},
        {L"C:\\My Emu\\x.exe", L"notepad C:\\My Emu\\readme.txt"},
        {L"C:\\A\\B\\C\\D.EXE", L"notepad C:\\A\\B\\C\\readme.txt"},
        {L"", std::nullopt},
        {L"C:\\A\\B.EXE", std::nullopt},                    // 10 characters
        {L"C:\\AB\\C.EXE", L"notepad C:\\AB\\readme.txt"},  // 11 characters
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadmeCommandLine(c.emulatorPath), c.commandLine) << c.emulatorPath;
    }
}

TEST(KeyboardReference, SeventyFourLinesEachEndedByCrLf) {
    const std::wstring text = KeyboardReferenceText();
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(text.substr(text.size() - 2), L"\r\n");
    EXPECT_EQ(KeyboardLines().size(), 74u);
    for (const std::wstring& line : KeyboardLines()) {
        EXPECT_EQ(line.find_first_of(L"\r\n"), std::wstring::npos);
    }
}

TEST(KeyboardReference, EveryLineFitsEightyColumns) {
    for (const std::wstring& line : KeyboardLines()) {
        EXPECT_LE(TabsExpanded(line).size(), 80u) << line;
    }
}

TEST(KeyboardReference, OpensWithAnUnderlinedTitle) {
    const std::vector<std::wstring> lines = KeyboardLines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], L"Keyboard Controls");
    EXPECT_EQ(lines[1], std::wstring(17, L'='));
    EXPECT_EQ(lines[2], L"");
}

TEST(KeyboardReference, SectionHeadingsInOrder) {
    const std::wstring headings[] = {
        L"While the emulator is running:",
        L"Joy-pad 1:",
        L"These are default keys, and cannot be changed:",
    };
    const std::vector<std::wstring> lines = KeyboardLines();
    auto from = lines.begin();
    for (const std::wstring& heading : headings) {
        from = std::find(from, lines.end(), heading);
        EXPECT_NE(from, lines.end()) << heading;
    }
}

TEST(KeyboardReference, EveryKeyStartsItsOwnLineInOrder) {
    const std::vector<std::wstring> keys = KeyboardReferenceKeys();
    EXPECT_EQ(keys.size(), 42u);
    EXPECT_EQ(keys.front(), L"'Escape'");
    EXPECT_EQ(keys[1], L"'Pause' or 'Scroll Lock'");
    EXPECT_EQ(keys.back(), L"Alt+'F12'");
    const std::vector<std::wstring> lines = KeyboardLines();
    std::size_t next = 0;
    for (const std::wstring& key : keys) {
        while (next < lines.size() &&
               !(lines[next].starts_with(key) && lines[next].size() > key.size() &&
                 (lines[next][key.size()] == L' ' || lines[next][key.size()] == L'\t'))) {
            ++next;
        }
        ASSERT_LT(next, lines.size()) << key;
        ++next;
    }
}

TEST(KeyboardReference, ActionsShareOneColumnWithTabsOnAFewLines) {
    const std::vector<std::wstring> keys = KeyboardReferenceKeys();
    std::size_t aligned = 0;
    std::size_t tabbed = 0;
    for (const std::wstring& line : KeyboardLines()) {
        const std::wstring shown = TabsExpanded(line);
        EXPECT_LT(shown.size(), 90u) << shown;
        tabbed += line.find(L'\t') != std::wstring::npos;
        std::size_t keyEnd = shown.starts_with(L' ') ? 0 : std::wstring::npos;
        for (const std::wstring& key : keys) {
            if (shown.starts_with(key + L' ')) {
                keyEnd = key.size();
            }
        }
        if (keyEnd != std::wstring::npos) {
            EXPECT_EQ(shown.find_first_not_of(L' ', keyEnd), 32u) << shown;
            ++aligned;
        }
    }
    EXPECT_GT(aligned, keys.size());  // the entries and their further lines
    EXPECT_GT(tabbed, 0u);
}

TEST(About, ThirteenLinesWithTheCreditOnLineEleven) {
    const std::wstring text = AboutText();
    EXPECT_EQ(text.find(L'\r'), std::wstring::npos);
    const std::vector<std::wstring> lines = Split(text, L"\n");
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(lines[0], L"         Lumarel v1.5");
    for (const std::size_t empty : {1u, 5u, 9u}) {
        EXPECT_EQ(lines[empty], L"") << "line " << empty + 1;
    }
    EXPECT_NE(lines[12], L"");
    EXPECT_EQ(AboutPictureCredit(), lines[10]);
    EXPECT_FALSE(AboutPictureCredit().empty());
}

}  // namespace
}  // namespace lumarel
