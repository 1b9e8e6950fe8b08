#pragma once
// Finding a line by typing the start of its name: characters typed in quick succession make
// one search, a pause starts a new one. Plain C++: a list feeds it each typed character with
// its message time and selects the line it finds. Every printable character counts, blanks
// and apostrophes included, whatever the system's own list code would keep.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumarel {

// The pause after which a typed character starts a new search, in milliseconds of message
// time: about what the system's own lists wait.
inline constexpr std::uint32_t kTypeAheadPauseMs = 1000;

// Text made comparable: letter case, and whether an accent is written as one character or
// as a letter and a combining mark, set aside by one rule for names and typed text alike.
using TextFold = std::wstring (*)(std::wstring_view text);

// A list's names, each folded once, in one block.
class FoldedNames {
public:
    FoldedNames() = default;
    std::size_t Count() const { return ends_.size(); }
    // Whether name `index` starts with `folded` (already folded), compared unit by unit.
    bool StartsWith(std::size_t index, std::wstring_view folded) const;

    // Folds `count` names, `nameAt(i)` each. A name of ASCII letters alone is folded here
    // (its lower case is the system's, and it is composed already); the others go to the
    // fold joined, in one call: a call per name costs far more than the folding.
    template <typename NameAt>
    static FoldedNames Fold(std::size_t count, NameAt nameAt, TextFold fold) {
        std::wstring joined;
        std::vector<bool> ascii(count);
        std::size_t length = 0;
        for (std::size_t i = 0; i < count; ++i) {
            const std::wstring_view name = nameAt(i);
            length += name.size() + 1;
            ascii[i] = IsAscii(name);
            if (!ascii[i]) {
                joined.append(name);
                joined.push_back(kSeparator);
            }
        }
        FoldedNames others;
        const auto otherCount =
            static_cast<std::size_t>(std::count(ascii.begin(), ascii.end(), false));
        if (!others.Split(joined.empty() ? std::wstring() : fold(joined), otherCount)) {
            others = FoldedNames();
            for (std::size_t i = 0; i < count; ++i) {
                if (!ascii[i]) {
                    others.Add(fold(nameAt(i)));
                }
            }
        }
        FoldedNames names;
        names.block_.reserve(length);
        names.ends_.reserve(count);
        for (std::size_t i = 0, other = 0; i < count; ++i) {
            if (ascii[i]) {
                names.AddAsciiLowerCase(nameAt(i));
            } else {
                names.Add(others.Name(other++));
            }
        }
        return names;
    }

    // ASCII text is folded by the lists themselves, names and typed text alike.
    static bool IsAscii(std::wstring_view text);

private:
    // No file name holds a line feed, and the fold neither makes one nor joins one with
    // a neighbour.
    static constexpr wchar_t kSeparator = L'\n';
    void AddAsciiLowerCase(std::wstring_view name);
    std::wstring_view Name(std::size_t index) const;
    void Add(std::wstring_view folded);
    // Takes the folded block apart at its separators: false when it does not give `count`.
    bool Split(std::wstring folded, std::size_t count);

    std::wstring block_;
    std::vector<std::size_t> ends_;  // where each name ends in the block
};

// What to look for, and from where.
struct TypedSearch {
    std::wstring folded;  // the text a name must start with
    bool afterFocused;    // from the line after the focused one, else from the focused line
};

// The search that the characters typed into one list make.
class TypeAhead {
public:
    explicit TypeAhead(TextFold fold) : fold_(fold) {}

    // One UTF-16 unit of a typed character (WM_CHAR), at its message time: the search it
    // makes, or none. Control characters neither join a search nor end it; a high surrogate
    // waits for its low one; a blank extends a search but starts none (Space selects).
    std::optional<TypedSearch> Type(wchar_t unit, std::uint32_t time);
    // Whether a blank typed at `time` would extend a search.
    bool Searching(std::uint32_t time) const;
    // Whether a unit typed at `time` is the search's at all: a control character is not, nor
    // a blank that would extend no search. Those go on to the list.
    bool Takes(wchar_t unit, std::uint32_t time) const;

private:
    TextFold fold_;
    std::wstring typed_;        // as typed, unfolded
    std::wstring firstLetter_;  // the first character, folded
    bool oneLetter_ = false;    // every character typed so far is the first one again
    wchar_t highSurrogate_ = 0;
    std::uint32_t lastTime_ = 0;
};

// The line a search selects among `names`, `focused` being the focused line (-1: none):
// the first name that starts with the text, going round; -1 when none does.
int FindTyped(const TypedSearch& search, const FoldedNames& names, int focused);

// The typing of one list: its search and its names, folded when first searched.
class ListTypeAhead {
public:
    explicit ListTypeAhead(TextFold fold) : fold_(fold), typeAhead_(fold) {}

    struct Outcome {
        bool taken = false;  // false: the character is the list's own (a control character)
        int line = -1;       // the line to select; -1: none
    };
    // One typed unit at its message time, for a list of `count` names read by `nameAt`.
    template <typename NameAt>
    Outcome Type(wchar_t unit, std::uint32_t time, int focused, std::size_t count, NameAt nameAt) {
        const bool taken = typeAhead_.Takes(unit, time);
        const std::optional<TypedSearch> search = typeAhead_.Type(unit, time);
        if (!taken) {
            return {};
        }
        if (!search) {
            return {true, -1};
        }
        if (!names_) {
            names_ = FoldedNames::Fold(count, nameAt, fold_);
        }
        return {true, FindTyped(*search, *names_, focused)};
    }
    bool Searching(std::uint32_t time) const { return typeAhead_.Searching(time); }
    // The list shows other names: what was typed for the old ones is forgotten too.
    void NamesChanged() {
        names_.reset();
        typeAhead_ = TypeAhead(fold_);
    }

private:
    TextFold fold_;
    TypeAhead typeAhead_;
    std::optional<FoldedNames> names_;
};

}  // namespace lumarel
