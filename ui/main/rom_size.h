#pragma once

#include <cstdint>
#include <string>

namespace lumarel {

// A file length in megabytes of 1000000 bytes, truncated to two decimals and written in its
// shortest form with the user's decimal separator: 2, 1.5, 0.52.
std::wstring FormatRomSize(std::uint64_t bytes, const std::wstring& decimalSeparator);

}  // namespace lumarel
