#include "ui/controls/file_pattern.h"

#include <algorithm>
#include <cwctype>

namespace lumarel {

namespace {

// Most names are ASCII; only the rest pays for the library's case folding.
wchar_t Folded(wchar_t c) {
    if (c < 0x80) {
        return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - (L'a' - L'A')) : c;
    }
    return static_cast<wchar_t>(std::towupper(c));
}

std::wstring FoldedText(const std::wstring& text) {
    std::wstring folded(text);
    for (wchar_t& c : folded) {
        c = Folded(c);
    }
    return folded;
}

}  // namespace

std::vector<std::wstring> SplitPatternList(const std::wstring& patternList) {
    std::vector<std::wstring> patterns;
    size_t start = 0;
    while (start <= patternList.size()) {
        const size_t end = std::min(patternList.find(L';', start), patternList.size());
        if (end > start) {
            patterns.push_back(patternList.substr(start, end - start));
        }
        start = end + 1;
    }
    return patterns;
}

bool MatchesWildcard(const std::wstring& name, const std::wstring& pattern) {
    // Greedy match with one backtrack point: linear for the patterns file lists use.
    size_t n = 0, p = 0, starP = std::wstring::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == L'?' || Folded(pattern[p]) == Folded(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == L'*') {
            starP = p++;
            starN = n;
        } else if (starP != std::wstring::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*') {
        ++p;
    }
    return p == pattern.size();
}

std::vector<std::wstring> ListedFileNames(const std::vector<DirectoryEntry>& entries,
                                          const std::vector<std::wstring>& patterns) {
    // Sorted by a folded copy of each name, made once rather than at every comparison.
    std::vector<std::pair<std::wstring, const std::wstring*>> keyed;
    keyed.reserve(entries.size());
    for (const DirectoryEntry& entry : entries) {
        if (entry.isDirectory || entry.isHidden || entry.isSystem) {
            continue;
        }
        const bool matches =
            std::any_of(patterns.begin(), patterns.end(),
                        [&](const std::wstring& p) { return MatchesWildcard(entry.name, p); });
        if (matches) {
            keyed.emplace_back(FoldedText(entry.name), &entry.name);
        }
    }
    std::sort(keyed.begin(), keyed.end());
    std::vector<std::wstring> names;
    names.reserve(keyed.size());
    for (const auto& [key, name] : keyed) {
        names.push_back(*name);
    }
    return names;
}

}  // namespace lumarel
