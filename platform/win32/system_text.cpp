// The system's words for errors, and text in the ANSI code page.

#include <windows.h>

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

namespace win32 {

OsResult LastError() {
    const DWORD error = GetLastError();
    return OsResult::Failure(error, SystemReason(error));
}

}  // namespace win32

}  // namespace lumarel
