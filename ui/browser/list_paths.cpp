#include "ui/browser/list_paths.h"

namespace lumarel {

std::wstring DriveListText(const DriveInfo& drive) {
    std::wstring text{static_cast<wchar_t>(drive.letter - L'A' + L'a'), L':'};
    if (!drive.label.empty()) {
        text += L" [" + drive.label + L"]";
    }
    return text;
}

wchar_t DriveLetterOf(const std::wstring& path) {
    if (path.size() < 2 || path[1] != L':') {
        return 0;
    }
    const wchar_t c = path[0];
    if (c >= L'a' && c <= L'z') {
        return static_cast<wchar_t>(c - L'a' + L'A');
    }
    return (c >= L'A' && c <= L'Z') ? c : 0;
}

std::vector<ChainEntry> DirectoryChain(const std::wstring& directory) {
    std::vector<ChainEntry> chain;
    size_t rootEnd = 0;  // the position after the root's backslash
    if (directory.rfind(L"\\\\", 0) == 0) {
        const size_t server = directory.find(L'\\', 2);
        const size_t share =
            server == std::wstring::npos ? std::wstring::npos : directory.find(L'\\', server + 1);
        rootEnd = share == std::wstring::npos ? directory.size() : share + 1;
    } else {
        const size_t first = directory.find(L'\\');
        rootEnd = first == std::wstring::npos ? directory.size() : first + 1;
    }
    std::wstring root = directory.substr(0, rootEnd);
    if (!root.empty() && root.back() != L'\\') {
        root += L'\\';
    }
    chain.push_back({root, root});
    size_t start = rootEnd;
    while (start < directory.size()) {
        size_t end = directory.find(L'\\', start);
        if (end == std::wstring::npos) {
            end = directory.size();
        }
        if (end > start) {
            chain.push_back({directory.substr(0, end), directory.substr(start, end - start)});
        }
        start = end + 1;
    }
    return chain;
}

}  // namespace lumarel
