// The system's words for errors, and text in the ANSI code page.

#include <windows.h>

#include <climits>

#include "platform/win32/system_libraries.h"
#include "platform/win32/text_fold.h"
#include "platform/win32/win32_services.h"
#include "platform/win32/win32_support.h"

namespace lumarel {

namespace {

// Flags that make WideCharToMultiByte say when a character had to be replaced; the system
// refuses them for UTF-8, where nothing but a broken surrogate can be lost.
DWORD ExactConversionFlags() {
    return GetACP() == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
}

}  // namespace

std::wstring SystemReason(unsigned long error) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const OwnedLocalMemory allocated(buffer);
    std::wstring reason;
    if (length != 0 && buffer != nullptr) {
        reason.assign(buffer, length);
    }
    while (!reason.empty() &&
           (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L' ')) {
        reason.pop_back();
    }
    if (reason.empty()) {
        reason = L"Error " + std::to_wstring(error) + L".";
    }
    return reason;
}

std::optional<std::string> ToAnsiExactly(const std::wstring& text) {
    if (text.empty()) {
        return std::string();
    }
    const DWORD flags = ExactConversionFlags();
    BOOL replaced = FALSE;
    BOOL* replacedFlag = flags != 0 ? &replaced : nullptr;
    const int length =
        WideCharToMultiByte(CP_ACP, flags, text.data(), static_cast<int>(text.size()), nullptr, 0,
                            nullptr, replacedFlag);
    if (length <= 0 || replaced) {
        return std::nullopt;
    }
    std::string ansi(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, flags, text.data(), static_cast<int>(text.size()), ansi.data(),
                        length, nullptr, nullptr);
    return ansi;
}

std::string ToAnsi(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const DWORD flags = ExactConversionFlags();
    const int length = WideCharToMultiByte(
        CP_ACP, flags, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(length > 0 ? length : 0), '\0');
    if (length > 0) {
        WideCharToMultiByte(CP_ACP, flags, text.data(), static_cast<int>(text.size()), ansi.data(),
                            length, nullptr, nullptr);
    }
    return ansi;
}

std::wstring FromAnsi(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const int length =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) {
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                            length);
    }
    return wide;
}

namespace {

std::wstring LowerCase(std::wstring_view text) {
    // The invariant locale's linguistic casing: one rule on every system, so that "i" finds
    // "Ice" under a Turkish locale too.
    const auto length = static_cast<int>(text.size());
    constexpr DWORD kFlags = LCMAP_LOWERCASE | LCMAP_LINGUISTIC_CASING;
    const int lowerLength = LCMapStringEx(LOCALE_NAME_INVARIANT, kFlags, text.data(), length,
                                          nullptr, 0, nullptr, nullptr, 0);
    if (lowerLength <= 0) {
        return std::wstring(text);
    }
    std::wstring lower(static_cast<size_t>(lowerLength), L'\0');
    const int written = LCMapStringEx(LOCALE_NAME_INVARIANT, kFlags, text.data(), length,
                                      lower.data(), lowerLength, nullptr, nullptr, 0);
    if (written <= 0) {
        return std::wstring(text);
    }
    lower.resize(static_cast<size_t>(written));
    return lower;
}

using NormalizeFn = int(WINAPI*)(NORM_FORM, LPCWSTR, int, LPWSTR, int);

// The system's normalization, or nullptr where it lacks it.
NormalizeFn Normalizer() {
    static const auto normalize =
        FunctionOf<NormalizeFn>(LoadSystemLibrary(L"normaliz.dll"), "NormalizeString");
    return normalize;
}

// The composed form, or nothing when the call fails; `invalid` tells whether it failed on
// what cannot be normalized (a lone surrogate, which a file name may hold).
std::optional<std::wstring> Composed(NormalizeFn normalize, const std::wstring& text,
                                     bool& invalid) {
    invalid = false;
    const auto length = static_cast<int>(text.size());
    int estimate = normalize(NormalizationC, text.data(), length, nullptr, 0);
    for (int attempt = 0; attempt < 4; ++attempt) {
        if (estimate <= 0) {
            invalid = GetLastError() == ERROR_NO_UNICODE_TRANSLATION;
            return std::nullopt;
        }
        std::wstring composed(static_cast<size_t>(estimate), L'\0');
        const int written =
            normalize(NormalizationC, text.data(), length, composed.data(), estimate);
        if (written > 0) {
            composed.resize(static_cast<size_t>(written));
            return composed;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
            invalid = GetLastError() == ERROR_NO_UNICODE_TRANSLATION;
            return std::nullopt;
        }
        estimate = written < 0 ? -written * 2 : estimate * 2;
    }
    return std::nullopt;
}

// Composed where it can be: lines that cannot be are halved until the one that cannot stands
// alone, lower case only, and the rest is composed still.
std::wstring ComposedWherePossible(NormalizeFn normalize, std::wstring_view lower) {
    bool invalid = false;
    if (std::optional<std::wstring> composed = Composed(normalize, std::wstring(lower), invalid)) {
        return std::move(*composed);
    }
    size_t middle = lower.rfind(L'\n', lower.size() / 2);
    if (middle == std::wstring_view::npos) {
        middle = lower.find(L'\n');
    }
    if (!invalid || middle == std::wstring_view::npos || middle + 1 >= lower.size()) {
        return std::wstring(lower);
    }
    return ComposedWherePossible(normalize, lower.substr(0, middle + 1)) +
           ComposedWherePossible(normalize, lower.substr(middle + 1));
}

}  // namespace

std::wstring FoldedForSearch(std::wstring_view text) {
    if (text.empty() || text.size() > INT_MAX / 4) {
        return std::wstring(text);
    }
    std::wstring lower = LowerCase(text);
    const NormalizeFn normalize = Normalizer();
    return normalize != nullptr ? ComposedWherePossible(normalize, lower) : lower;
}

namespace win32 {

OsResult LastError() {
    const DWORD error = GetLastError();
    return OsResult::Failure(error, SystemReason(error));
}

}  // namespace win32

}  // namespace lumarel
