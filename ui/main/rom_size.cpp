#include "ui/main/rom_size.h"

#include <cmath>

namespace lumarel {

std::wstring FormatRomSize(std::uint64_t bytes, const std::wstring& decimalSeparator) {
    // In this order and in double precision, so that the truncation matches the figures
    // users have always seen (1048576 bytes show as 1.04).
    const double hundredths = std::floor(static_cast<double>(bytes) / 1000000 * 100);
    const auto whole = static_cast<std::uint64_t>(hundredths) / 100;
    const auto fraction = static_cast<unsigned>(static_cast<std::uint64_t>(hundredths) % 100);
    std::wstring text = std::to_wstring(whole);
    if (fraction != 0) {
        text += decimalSeparator + std::to_wstring(fraction / 10);
        if (fraction % 10 != 0) {
            text += std::to_wstring(fraction % 10);
        }
    }
    return text;
}

}  // namespace lumarel
