#include "ui/cheats/cheat_code.h"

#include <cwctype>

namespace lumarel {

std::wstring NormaliseCheatCode(const std::wstring& code) {
    if (code.size() <= 7) {
        return code;
    }
    std::wstring tidy = code;
    if (code[4] != L'-') {
        tidy = code.substr(0, 4) + L'-' + code.substr(4, 4);
    }
    for (wchar_t& c : tidy) {
        c = static_cast<wchar_t>(std::towupper(c));
    }
    return tidy;
}

}  // namespace lumarel
