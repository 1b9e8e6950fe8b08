// libFuzzer target: any bytes as a text file. Decoding never fails; the text saved as UTF-8
// with its mark reads back the same exactly when it holds no lone surrogate, and saved as
// UTF-16 always; and bytes taken for UTF-8 without a mark are the very bytes the text encodes
// to.

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const lumarel::DecodedText decoded = lumarel::DecodeText(bytes, Latin1);
    const lumarel::DecodedText again =
        lumarel::DecodeText(lumarel::Utf8Bytes(decoded.text, true), Latin1);
    if ((again.text == decoded.text) == lumarel::HoldsLoneSurrogate(decoded.text)) {
        std::abort();
    }
    // UTF-16 keeps every text, lone surrogates included.
    if (lumarel::DecodeText(lumarel::Utf16LeBytes(decoded.text, true), Latin1).text !=
        decoded.text) {
        std::abort();
    }
    if (decoded.encoding == lumarel::TextEncoding::Utf8 &&
        lumarel::Utf8Bytes(decoded.text, false) != bytes) {
        std::abort();
    }
    return 0;
}
