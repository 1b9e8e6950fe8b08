#include "ui/controls/file_pattern.h"

#include <algorithm>
#include <cwctype>
#include <string_view>

namespace lumarel {

namespace {

// Most names are ASCII; only the rest pays for the library's case folding.
wchar_t Folded(wchar_t c) {
    if (c < 0x80) {
        return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - (L'a' - L'A')) : c;
    }
    return static_cast<wchar_t>(std::towupper(c));
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

std::vector<std::size_t> ListedFiles(const std::vector<DirectoryEntry>& entries,
                                     const std::vector<std::wstring>& patterns) {
    // Sorted by a folded copy of each name, made once rather than at every comparison, and
    // all in one buffer: tens of thousands of names must not cost as many allocations.
    struct Key {
        size_t at;
        size_t length;
        size_t entry;
    };
    std::wstring folded;
    std::vector<Key> keys;
    keys.reserve(entries.size());
    for (size_t index = 0; index < entries.size(); ++index) {
        const DirectoryEntry& entry = entries[index];
        if (entry.isDirectory || entry.isHidden || entry.isSystem) {
            continue;
        }
        const bool matches =
            std::any_of(patterns.begin(), patterns.end(),
                        [&](const std::wstring& p) { return MatchesWildcard(entry.name, p); });
        if (matches) {
            keys.push_back({folded.size(), entry.name.size(), index});
            for (const wchar_t c : entry.name) {
                folded += Folded(c);
            }
        }
    }
    const std::wstring_view all(folded);
    std::sort(keys.begin(), keys.end(), [all](const Key& a, const Key& b) {
        const int order = all.substr(a.at, a.length).compare(all.substr(b.at, b.length));
        return order != 0 ? order < 0 : a.entry < b.entry;
    });
    std::vector<std::size_t> listed;
    listed.reserve(keys.size());
    for (const Key& key : keys) {
        listed.push_back(key.entry);
    }
    return listed;
}

}  // namespace lumarel
