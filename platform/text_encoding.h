#pragma once
// A text file's bytes as text, and text as UTF-8 bytes. Plain functions: the ANSI code page
// comes from the caller, so that the core needs no Win32.

#include <functional>
#include <string>
#include <string_view>

namespace lumarel {

enum class TextEncoding { Ansi, Utf8, Utf8WithMark, Utf16Le, Utf16Be };

// The ANSI code page's view of some bytes (on Windows MultiByteToWideChar with CP_ACP).
using AnsiDecoder = std::function<std::wstring(std::string_view)>;

struct DecodedText {
    std::wstring text;  // UTF-16 code units, also where wchar_t is wider
    TextEncoding encoding = TextEncoding::Ansi;
};

// A byte-order mark decides and is dropped. Without one, strictly valid UTF-8 that holds a
// non-ASCII byte is UTF-8 and all else is ANSI. Each ill-formed UTF-8 sequence after a mark,
// and an odd last byte of UTF-16, becomes U+FFFD; UTF-16 is passed on unchecked.
DecodedText DecodeText(std::string_view bytes, const AnsiDecoder& fromAnsi);

// UTF-16 text as UTF-8, optionally after the mark; a lone surrogate becomes U+FFFD.
std::string Utf8Bytes(std::wstring_view utf16, bool withMark);

// Whether the text holds half a surrogate pair, which only UTF-16 can keep.
bool HoldsLoneSurrogate(std::wstring_view utf16);

// UTF-16 code units as little-endian bytes, optionally after the mark; nothing is changed.
std::string Utf16LeBytes(std::wstring_view utf16, bool withMark);

}  // namespace lumarel
