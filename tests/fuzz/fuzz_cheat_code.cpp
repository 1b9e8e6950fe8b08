// libFuzzer target: any typed text. Tidying is stable, short texts stay as typed, and a
// tidied code of eight or more characters has its dash after the fourth and at most nine.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ui/cheats/cheat_code.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring typed(data, data + size);
    const std::wstring tidy = lumarel::NormaliseCheatCode(typed);
    if (lumarel::NormaliseCheatCode(tidy) != tidy) {
        std::abort();
    }
    if (typed.size() <= 7 ? tidy != typed : (tidy[4] != L'-' || tidy.size() > typed.size() + 1)) {
        std::abort();
    }
    return 0;
}
