#pragma once
// Timing, medians, the temp folder and the bare enumeration of a directory, shared by the
// benchmark programs.

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace lumarel::bench {

// Milliseconds between two readings of the performance counter.
inline double MillisecondsBetween(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

class Stopwatch {
public:
    Stopwatch() { QueryPerformanceCounter(&start_); }
    double Milliseconds() const {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return MillisecondsBetween(start_, now);
    }

private:
    LARGE_INTEGER start_{};
};

inline double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

// The temp folder, without its closing backslash.
inline std::wstring TempDirectory() {
    wchar_t path[MAX_PATH + 1] = L"";
    const DWORD length = GetTempPathW(MAX_PATH + 1, path);
    std::wstring temp(path, length);
    if (!temp.empty() && temp.back() == L'\\') {
        temp.pop_back();
    }
    return temp;
}

// The bare enumeration Lumarel is measured against, what programs commonly use (basic
// information, large fetch): the number of entries, "." and ".." included.
inline int CountEntries(const std::wstring& directory) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileExW((directory + L"\\*").c_str(), FindExInfoBasic, &found,
                                     FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) {
        return 0;
    }
    int count = 0;
    do {
        ++count;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return count;
}

}  // namespace lumarel::bench
