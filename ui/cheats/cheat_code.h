#pragma once

#include <string>

namespace lumarel {

// Tidies a typed Game Genie code: with 8 characters or more, a dash goes after the fourth
// (the fifth and later characters move up, anything past the eighth is dropped) unless
// one is there already, and the code is upper-cased. Shorter texts stay exactly as typed.
std::wstring NormaliseCheatCode(const std::wstring& code);

}  // namespace lumarel
