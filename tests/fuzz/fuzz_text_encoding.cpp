// libFuzzer target: any bytes as a text file. Decoding never fails; the text saved as UTF-8
// with its mark reads back the same exactly when it holds no lone surrogate; and bytes taken
// for UTF-8 without a mark are the very bytes the text encodes to.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/text_encoding.h"

namespace {

std::wstring Latin1(std::string_view bytes) {
    std::wstring text;
    for (const char byte : bytes) {
        text += static_cast<wchar_t>(static_cast<unsigned char>(byte));
    }
    return text;
}

bool HoldsLoneSurrogate(const std::wstring& text) {
    const auto unit = [&text](std::size_t i) { return static_cast<std::uint32_t>(text[i]); };
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (unit(i) >= 0xDC00 && unit(i) <= 0xDFFF) {
            return true;
        }
        if (unit(i) >= 0xD800 && unit(i) <= 0xDBFF) {
            if (i + 1 == text.size() || unit(i + 1) < 0xDC00 || unit(i + 1) > 0xDFFF) {
                return true;
            }
            ++i;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const lumarel::DecodedText decoded = lumarel::DecodeText(bytes, Latin1);
    const lumarel::DecodedText again =
        lumarel::DecodeText(lumarel::Utf8Bytes(decoded.text, true), Latin1);
    if ((again.text == decoded.text) == HoldsLoneSurrogate(decoded.text)) {
        std::abort();
    }
    if (decoded.encoding == lumarel::TextEncoding::Utf8 &&
        lumarel::Utf8Bytes(decoded.text, false) != bytes) {
        std::abort();
    }
    return 0;
}
