#include "ui/browser/file_pattern.h"

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

std::wstring FoldedText(std::wstring_view text) {
    std::wstring folded(text.size(), L'\0');
    std::transform(text.begin(), text.end(), folded.begin(), Folded);
    return folded;
}

// Both sides already folded. Greedy match with one backtrack point: linear for the patterns
// file lists use.
bool MatchesFolded(std::wstring_view name, std::wstring_view pattern) {
    size_t n = 0, p = 0, starP = std::wstring_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == L'?' || pattern[p] == name[n])) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == L'*') {
            starP = p++;
            starN = n;
        } else if (starP != std::wstring_view::npos) {
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

// A pattern folded once. "*.SMC", the usual kind, is a plain ending and needs no search.
struct FoldedPattern {
    explicit FoldedPattern(const std::wstring& pattern) : text(FoldedText(pattern)) {
        const std::wstring_view rest = std::wstring_view(text).substr(1);
        isEnding = !text.empty() && text[0] == L'*' && rest.find_first_of(L"*?") == rest.npos;
    }
    bool Matches(std::wstring_view name) const {
        if (isEnding) {
            const size_t length = text.size() - 1;
            return name.size() >= length &&
                   name.compare(name.size() - length, length, text, 1, length) == 0;
        }
        return MatchesFolded(name, text);
    }
    std::wstring text;
    bool isEnding = false;
};

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
    return FoldedPattern(pattern).Matches(FoldedText(name));
}

std::vector<std::size_t> ListedFiles(const DirectoryListing& listing,
                                     const std::vector<std::wstring>& patterns) {
    // Each name is folded once, for matching and sorting alike, rather than at every
    // comparison, and all in one buffer: tens of thousands of names must not cost as many
    // allocations.
    const std::vector<FoldedPattern> folding(patterns.begin(), patterns.end());
    struct Key {
        size_t at;
        size_t length;
        size_t entry;
    };
    std::wstring folded;
    std::vector<Key> keys;
    keys.reserve(listing.Count());
    for (size_t index = 0; index < listing.Count(); ++index) {
        const DirectoryListing::Entry& entry = listing.At(index);
        if (entry.isDirectory || entry.isHidden || entry.isSystem) {
            continue;
        }
        const size_t at = folded.size();
        for (const wchar_t c : listing.NameOf(entry)) {
            folded += Folded(c);
        }
        const std::wstring_view name = std::wstring_view(folded).substr(at);
        const bool matches =
            std::any_of(folding.begin(), folding.end(),
                        [name](const FoldedPattern& p) { return p.Matches(name); });
        if (matches) {
            keys.push_back({at, entry.nameLength, index});
        } else {
            folded.resize(at);
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
