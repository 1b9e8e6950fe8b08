#include "platform/long_paths.h"

#include <cwctype>

namespace lumarel {

std::wstring JoinPath(const std::wstring& directory, const std::wstring& name) {
    if (!directory.empty() && directory.back() == L'\\') {
        return directory + name;
    }
    return directory + L'\\' + name;
}

namespace {

constexpr wchar_t kExtendedPrefix[] = L"\\\\?\\";
constexpr wchar_t kExtendedUncPrefix[] = L"\\\\?\\UNC\\";

bool StartsWith(const std::wstring& text, const wchar_t* prefix) {
    return text.rfind(prefix, 0) == 0;
}

bool IsDriveLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

bool IsDrivePath(const std::wstring& path) {
    return path.size() >= 3 && path[1] == L':' && path[2] == L'\\' && IsDriveLetter(path[0]);
}

}  // namespace

std::wstring ExtendedLengthPath(const std::wstring& path) {
    if (path.size() < kClassicPathLimit || StartsWith(path, kExtendedPrefix) ||
        StartsWith(path, L"\\\\.\\")) {
        return path;
    }
    if (IsDrivePath(path)) {
        return kExtendedPrefix + path;
    }
    if (StartsWith(path, L"\\\\")) {
        return kExtendedUncPrefix + path.substr(2);
    }
    return path;  // relative: the prefix would make it mean something else
}

std::wstring WithoutExtendedLengthPrefix(const std::wstring& path) {
    if (StartsWith(path, kExtendedUncPrefix)) {
        return L"\\\\" + path.substr(std::char_traits<wchar_t>::length(kExtendedUncPrefix));
    }
    if (StartsWith(path, kExtendedPrefix)) {
        return path.substr(std::char_traits<wchar_t>::length(kExtendedPrefix));
    }
    return path;
}

std::wstring DeviceOf(const std::wstring& path) {
    const std::wstring plain = WithoutExtendedLengthPrefix(path);
    if (plain.size() >= 2 && plain[1] == L':' && IsDriveLetter(plain[0])) {
        return {static_cast<wchar_t>(std::towupper(plain[0])), L':'};
    }
    if (!StartsWith(plain, L"\\\\")) {
        return {};
    }
    // A server and its share: the third backslash ends the server, the fourth the share.
    const std::size_t server = plain.find(L'\\', 2);
    const std::size_t share = server == std::wstring::npos ? server : plain.find(L'\\', server + 1);
    std::wstring device = plain.substr(0, share);
    for (wchar_t& c : device) {
        c = static_cast<wchar_t>(std::towupper(c));
    }
    return device;
}

std::wstring ShortFormOf(const std::wstring& path,
                         const std::function<std::wstring(const std::wstring&)>& convert,
                         const std::function<bool(const std::wstring&)>& exists) {
    const std::wstring systemPath = ExtendedLengthPath(path);
    const std::wstring converted = convert(systemPath);
    if (!converted.empty()) {
        return WithoutExtendedLengthPrefix(converted);
    }
    // Better the whole path than none: the emulator can still open it.
    return exists(systemPath) ? path : std::wstring();
}

}  // namespace lumarel
