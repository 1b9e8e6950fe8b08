#pragma once
// Text folded for finding a name by typing it: lower case by the system's linguistic rules,
// then composed (NFC), so that "É", "é" and "e" with a combining acute are one text. Texts
// joined by line feeds fold as each would alone.

#include <string>
#include <string_view>

namespace lumarel {

std::wstring FoldedForSearch(std::wstring_view text);

}  // namespace lumarel
