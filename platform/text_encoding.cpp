#include "platform/text_encoding.h"

#include <cstddef>
#include <cstdint>

namespace lumarel {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
constexpr std::uint32_t kReplacement = 0xFFFD;

struct Utf8Sequence {
    std::uint32_t codePoint = kReplacement;
    std::size_t length = 1;
    bool wellFormed = false;
};

// The UTF-8 sequence at the front of bytes (not empty). A broken one runs as far as it could
// still have become well formed, at least one byte, so that each gives one U+FFFD. Narrowed
// second-byte ranges keep out overlongs, surrogates and code points above U+10FFFF.
Utf8Sequence NextUtf8(std::string_view bytes) {
    const auto at = [bytes](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = at(0);
    if (lead < 0x80) {
        return {lead, 1, true};
    }
    std::size_t length = 0;
    std::uint32_t codePoint = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0Fu;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07u;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return {};
    }
    for (std::size_t i = 1; i < length; ++i) {
        if (i >= bytes.size() || at(i) < low || at(i) > high) {
            return {kReplacement, i, false};
        }
        codePoint = (codePoint << 6) | (at(i) & 0x3Fu);
        low = 0x80;
        high = 0xBF;
    }
    return {codePoint, length, true};
}

void AppendUtf16(std::wstring& text, std::uint32_t codePoint) {
    if (codePoint < 0x10000) {
        text += static_cast<wchar_t>(codePoint);
        return;
    }
    codePoint -= 0x10000;
    text += static_cast<wchar_t>(0xD800 + (codePoint >> 10));
    text += static_cast<wchar_t>(0xDC00 + (codePoint & 0x3FF));
}

void AppendUtf8(std::string& bytes, std::uint32_t codePoint) {
    const auto add = [&bytes](std::uint32_t byte) { bytes += static_cast<char>(byte); };
    if (codePoint < 0x80) {
        add(codePoint);
    } else if (codePoint < 0x800) {
        add(0xC0 | (codePoint >> 6));
        add(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        add(0xE0 | (codePoint >> 12));
        add(0x80 | ((codePoint >> 6) & 0x3F));
        add(0x80 | (codePoint & 0x3F));
    } else {
        add(0xF0 | (codePoint >> 18));
        add(0x80 | ((codePoint >> 12) & 0x3F));
        add(0x80 | ((codePoint >> 6) & 0x3F));
        add(0x80 | (codePoint & 0x3F));
    }
}

std::wstring FromUtf8(std::string_view bytes) {
    std::wstring text;
    text.reserve(bytes.size());
    while (!bytes.empty()) {
        const Utf8Sequence sequence = NextUtf8(bytes);
        AppendUtf16(text, sequence.codePoint);
        bytes.remove_prefix(sequence.length);
    }
    return text;
}

// Plain ASCII stays with the code page, so that such a file is read and saved as it always was.
bool IsUtf8BeyondAscii(std::string_view bytes) {
    bool beyondAscii = false;
    while (!bytes.empty()) {
        const Utf8Sequence sequence = NextUtf8(bytes);
        if (!sequence.wellFormed) {
            return false;
        }
        beyondAscii = beyondAscii || sequence.length > 1;
        bytes.remove_prefix(sequence.length);
    }
    return beyondAscii;
}

bool IsHighSurrogate(std::uint32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(std::uint32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

std::wstring FromUtf16(std::string_view bytes, bool bigEndian) {
    std::wstring text;
    text.reserve(bytes.size() / 2 + 1);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        text += static_cast<wchar_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    if (bytes.size() % 2 != 0) {
        text += static_cast<wchar_t>(kReplacement);
    }
    return text;
}

}  // namespace

DecodedText DecodeText(std::string_view bytes, const AnsiDecoder& fromAnsi) {
    if (bytes.starts_with(kUtf8Mark)) {
        return {FromUtf8(bytes.substr(kUtf8Mark.size())), TextEncoding::Utf8WithMark};
    }
    if (bytes.starts_with(kUtf16LeMark)) {
        return {FromUtf16(bytes.substr(kUtf16LeMark.size()), false), TextEncoding::Utf16Le};
    }
    if (bytes.starts_with(kUtf16BeMark)) {
        return {FromUtf16(bytes.substr(kUtf16BeMark.size()), true), TextEncoding::Utf16Be};
    }
    if (IsUtf8BeyondAscii(bytes)) {
        return {FromUtf8(bytes), TextEncoding::Utf8};
    }
    return {fromAnsi(bytes), TextEncoding::Ansi};
}

std::string Utf8Bytes(std::wstring_view utf16, bool withMark) {
    std::string bytes(withMark ? kUtf8Mark : std::string_view());
    bytes.reserve(bytes.size() + utf16.size() * 3);
    const auto unit = [utf16](std::size_t i) { return static_cast<std::uint32_t>(utf16[i]); };
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        std::uint32_t codePoint = unit(i);
        if (IsHighSurrogate(codePoint) && i + 1 < utf16.size() && IsLowSurrogate(unit(i + 1))) {
            codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (unit(i + 1) - 0xDC00);
            ++i;
        } else if (IsHighSurrogate(codePoint) || IsLowSurrogate(codePoint) || codePoint > 0xFFFF) {
            // A 32-bit wchar_t may hold more than a UTF-16 code unit; it is no text either.
            codePoint = kReplacement;
        }
        AppendUtf8(bytes, codePoint);
    }
    return bytes;
}

bool HoldsLoneSurrogate(std::wstring_view utf16) {
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        const auto unit = static_cast<std::uint32_t>(utf16[i]);
        if (IsHighSurrogate(unit) && i + 1 < utf16.size() &&
            IsLowSurrogate(static_cast<std::uint32_t>(utf16[i + 1]))) {
            ++i;
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            return true;
        }
    }
    return false;
}

std::string Utf16LeBytes(std::wstring_view utf16, bool withMark) {
    std::string bytes(withMark ? kUtf16LeMark : std::string_view());
    bytes.reserve(bytes.size() + utf16.size() * 2);
    for (const wchar_t unit : utf16) {
        const auto value = static_cast<std::uint32_t>(unit);
        bytes += static_cast<char>(value & 0xFF);
        bytes += static_cast<char>((value >> 8) & 0xFF);
    }
    return bytes;
}

}  // namespace lumarel
