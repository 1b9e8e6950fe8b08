#pragma once
// The outcome of one call into the operating system, with the system's own reason when
// it failed, ready to be shown to the user.

#include <string>

namespace lumarel {

struct OsResult {
    bool ok = true;
    unsigned long error = 0;  // the system's error code when !ok
    std::wstring reason;      // the system's words for it

    // The file or its directory does not exist.
    bool NotFound() const { return !ok && (error == 2 || error == 3); }

    static OsResult Success() { return {}; }
    static OsResult Failure(unsigned long code, std::wstring why) {
        return {false, code, std::move(why)};
    }
};

}  // namespace lumarel
