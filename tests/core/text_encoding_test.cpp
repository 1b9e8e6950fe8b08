#include "platform/text_encoding.h"

#include <gtest/gtest.h>

namespace lumarel {
namespace {

using namespace std::string_literals;

// Latin-1 as the code page: every byte is the character of the same number.
std::wstring Latin1(std::string_view bytes) {
    std::wstring text;
    for (const char byte : bytes) {
        text += static_cast<wchar_t>(static_cast<unsigned char>(byte));
    }
    return text;
}

// U+1F3AE as UTF-16, spelt in code units so that it is the same where wchar_t is 32-bit.
const std::wstring kGamepad = {static_cast<wchar_t>(0xD83C), static_cast<wchar_t>(0xDFAE)};

struct Case {
    const char* what;
    std::string bytes;
    std::wstring text;
    TextEncoding encoding;
};

void Expect(const Case& c) {
    const DecodedText decoded = DecodeText(c.bytes, Latin1);
    EXPECT_EQ(decoded.text, c.text) << c.what;
    EXPECT_EQ(decoded.encoding, c.encoding) << c.what;
}

TEST(TextEncoding, AMarkDecidesAndIsDropped) {
    const Case cases[] = {
        {"UTF-8", "\xEF\xBB\xBFSound: True", L"Sound: True", TextEncoding::Utf8WithMark},
        {"UTF-8, Polish",
         "\xEF\xBB\xBF\xC5\x82\xC3\xB3"
         "d\xC5\xBA",
         L"\u0142\u00F3d\u017A", TextEncoding::Utf8WithMark},
        {"UTF-16 LE, Cyrillic",
         "\xFF\xFE\x16\x04"
         "a\0"s,
         L"\u0416a", TextEncoding::Utf16Le},
        {"UTF-16 BE", "\xFE\xFF\0O\0k"s, L"Ok", TextEncoding::Utf16Be},
        {"UTF-16 keeps a lone surrogate",
         "\xFF\xFE\x00\xD8"s,
         {static_cast<wchar_t>(0xD800)},
         TextEncoding::Utf16Le},
    };
    for (const Case& c : cases) {
        Expect(c);
    }
}

TEST(TextEncoding, WithoutAMarkOnlyStrictUtf8BeyondAsciiIsUtf8) {
    const Case cases[] = {
        {"Cyrillic", "C:\\\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B", L"C:\\\u0418\u0433\u0440\u044B",
         TextEncoding::Utf8},
        {"four bytes to a surrogate pair", "\xF0\x9F\x8E\xAE", kGamepad, TextEncoding::Utf8},
        {"pure ASCII", "Sound: True", L"Sound: True", TextEncoding::Ansi},
        {"nothing", "", L"", TextEncoding::Ansi},
        {"code page letters", "Gr\xFC\xDF", L"Gr\u00FC\u00DF", TextEncoding::Ansi},
        {"overlong", "\xC0\xAF", L"\u00C0\u00AF", TextEncoding::Ansi},
        {"overlong in three", "\xE0\x80\xAF", L"\u00E0\u0080\u00AF", TextEncoding::Ansi},
        {"surrogate", "\xED\xA0\x80", L"\u00ED\u00A0\u0080", TextEncoding::Ansi},
        {"above U+10FFFF", "\xF4\x90\x80\x80", L"\u00F4\u0090\u0080\u0080", TextEncoding::Ansi},
        {"truncated", "a\xC5", L"a\u00C5", TextEncoding::Ansi},
    };
    for (const Case& c : cases) {
        Expect(c);
    }
}

TEST(TextEncoding, BrokenPiecesBecomeOneReplacementEach) {
    const Case cases[] = {
        {"UTF-8 after a mark",
         "\xEF\xBB\xBF"
         "a\xFF"
         "b\xE2\x82"
         "c\xF0\x9F",
         L"a\uFFFDb\uFFFDc\uFFFD", TextEncoding::Utf8WithMark},
        {"odd UTF-16 tail", "\xFF\xFEO\0k"s, L"O\uFFFD", TextEncoding::Utf16Le},
    };
    for (const Case& c : cases) {
        Expect(c);
    }
}

TEST(TextEncoding, Utf8BytesDecodeToTheSameText) {
    for (const std::wstring& text : {L"Location of Snes9x: C:\\\u0418\u0433\u0440\u044B"s,
                                     L"\u0142\u00F3d\u017A " + kGamepad, L""s}) {
        const DecodedText decoded = DecodeText(Utf8Bytes(text, true), Latin1);
        EXPECT_EQ(decoded.text, text);
        EXPECT_EQ(decoded.encoding, TextEncoding::Utf8WithMark);
    }
    EXPECT_EQ(Utf8Bytes(kGamepad, false), "\xF0\x9F\x8E\xAE");
}

TEST(TextEncoding, LoneSurrogatesBecomeReplacementBytesInUtf8AndStayInUtf16) {
    const std::wstring lone = {L'a', static_cast<wchar_t>(0xDC00), static_cast<wchar_t>(0xD83C)};
    EXPECT_EQ(Utf8Bytes(lone, false), "a\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(Utf16LeBytes(lone, true), std::string("\xFF\xFE"
                                                    "a\0\x00\xDC\x3C\xD8",
                                                    8));
    for (const std::wstring& text : {lone, lone.substr(0, 2), lone.substr(0, 1) + lone[2]}) {
        EXPECT_TRUE(HoldsLoneSurrogate(text));
        EXPECT_EQ(DecodeText(Utf16LeBytes(text, true), Latin1).text, text);
    }
    EXPECT_FALSE(HoldsLoneSurrogate(L"a" + kGamepad));
}

}  // namespace
}  // namespace lumarel
