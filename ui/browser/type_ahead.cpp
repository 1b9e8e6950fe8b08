#include "ui/browser/type_ahead.h"

#include <utility>

namespace lumarel {

namespace {

bool IsControl(wchar_t unit) {
    return unit < L' ' || unit == 0x7F;
}
bool IsHighSurrogate(wchar_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(wchar_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// A-Z to a-z from `from` on: the system's lower case of them, and composed already.
void LowerAsciiLetters(std::wstring& text, std::size_t from) {
    for (std::size_t at = from; at < text.size(); ++at) {
        if (text[at] >= L'A' && text[at] <= L'Z') {
            text[at] = static_cast<wchar_t>(text[at] - L'A' + L'a');
        }
    }
}

// Text of ASCII characters alone is folded here, without a call to the system.
std::wstring Folded(std::wstring_view text, TextFold fold) {
    if (!FoldedNames::IsAscii(text)) {
        return fold(text);
    }
    std::wstring lower(text);
    LowerAsciiLetters(lower, 0);
    return lower;
}

}  // namespace

bool FoldedNames::StartsWith(std::size_t index, std::wstring_view folded) const {
    return Name(index).substr(0, folded.size()) == folded;
}

std::wstring_view FoldedNames::Name(std::size_t index) const {
    const std::size_t begin = index == 0 ? 0 : ends_[index - 1] + 1;
    return std::wstring_view(block_).substr(begin, ends_[index] - begin);
}

bool FoldedNames::IsAscii(std::wstring_view text) {
    return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c < 0x80; });
}

void FoldedNames::AddAsciiLowerCase(std::wstring_view name) {
    const std::size_t begin = block_.size();
    Add(name);
    LowerAsciiLetters(block_, begin);  // the separator after it is no letter
}

void FoldedNames::Add(std::wstring_view folded) {
    block_.append(folded);
    ends_.push_back(block_.size());
    block_.push_back(kSeparator);
}

bool FoldedNames::Split(std::wstring folded, std::size_t count) {
    std::vector<std::size_t> ends;
    ends.reserve(count);
    for (std::size_t at = folded.find(kSeparator); at != std::wstring::npos;
         at = folded.find(kSeparator, at + 1)) {
        ends.push_back(at);
    }
    if (ends.size() != count || (count > 0 ? ends.back() + 1 != folded.size() : !folded.empty())) {
        return false;
    }
    block_ = std::move(folded);
    ends_ = std::move(ends);
    return true;
}

bool TypeAhead::Searching(std::uint32_t time) const {
    // Unsigned: the message time goes round every 49.7 days.
    return !typed_.empty() && time - lastTime_ <= kTypeAheadPauseMs;
}

bool TypeAhead::Takes(wchar_t unit, std::uint32_t time) const {
    return !IsControl(unit) && (unit != L' ' || Searching(time));
}

std::optional<TypedSearch> TypeAhead::Type(wchar_t unit, std::uint32_t time) {
    if (!Takes(unit, time)) {
        if (IsControl(unit)) {
            highSurrogate_ = 0;  // half a character, never to be whole
        }
        return std::nullopt;
    }
    std::wstring character(1, unit);
    if (IsHighSurrogate(unit)) {
        highSurrogate_ = unit;
        return std::nullopt;
    }
    if (IsLowSurrogate(unit)) {
        if (highSurrogate_ == 0) {
            return std::nullopt;  // half a character
        }
        character.insert(character.begin(), highSurrogate_);
    }
    highSurrogate_ = 0;

    if (!Searching(time)) {
        typed_.clear();
    }
    lastTime_ = time;
    const std::wstring folded = Folded(character, fold_);
    if (typed_.empty()) {
        firstLetter_ = folded;
        oneLetter_ = true;
    } else {
        oneLetter_ = oneLetter_ && folded == firstLetter_;
    }
    typed_ += character;
    // The same letter again goes on to the next name that starts with it; anything else
    // looks for all that was typed, from the line found so far.
    if (oneLetter_) {
        return TypedSearch{firstLetter_, true};
    }
    return TypedSearch{Folded(typed_, fold_), false};
}

int FindTyped(const TypedSearch& search, const FoldedNames& names, int focused) {
    const std::size_t count = names.Count();
    if (count == 0) {
        return -1;
    }
    std::size_t start = focused < 0 ? 0 : static_cast<std::size_t>(focused);
    if (focused >= 0 && search.afterFocused) {
        ++start;
    }
    for (std::size_t step = 0; step < count; ++step) {
        const std::size_t line = (start + step) % count;
        if (names.StartsWith(line, search.folded)) {
            return static_cast<int>(line);
        }
    }
    return -1;
}

}  // namespace lumarel
