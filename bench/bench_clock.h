#pragma once
// Timing, medians and the temp folder, shared by the benchmark programs.

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

}  // namespace lumarel::bench
