#pragma once
// The moments start-up reaches each of its phases, for make bench's trace: where the time of
// a start goes. One counter read a phase; nothing is written anywhere.

#include <windows.h>

#include <vector>

namespace lumarel {

class StartupTrace {
public:
    struct Mark {
        const wchar_t* phase;  // the phase that ends here
        LARGE_INTEGER at;
    };

    StartupTrace() { Reach(nullptr); }
    void Reach(const wchar_t* phaseDone) {
        LARGE_INTEGER now{};
        QueryPerformanceCounter(&now);
        marks_.push_back({phaseDone, now});
    }
    // The first mark is the start; every later one ends the phase it names.
    const std::vector<Mark>& Marks() const { return marks_; }

private:
    std::vector<Mark> marks_;
};

}  // namespace lumarel
