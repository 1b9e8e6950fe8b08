#pragma once
// The outcome of one call into the operating system, with the system's own reason when
// it failed, ready to be shown to the user.

#include <string>

namespace lumarel {

struct OsResult {
    bool ok = true;
    unsigned long error = 0;  // the system's error code when !ok
    std::wstring reason;      // the system's words for it

    // The file is larger than the reader takes (ERROR_FILE_TOO_LARGE).
    static constexpr unsigned long kFileTooLarge = 223;

    // The person stopped waiting for the call (ERROR_CANCELLED).
    static constexpr unsigned long kGivenUp = 1223;
    bool GivenUp() const { return !ok && error == kGivenUp; }

    // The file or its directory does not exist.
    bool NotFound() const { return !ok && (error == 2 || error == 3); }

    // The device is not there: an empty removable drive, a drive not ready, or gone.
    bool DeviceUnavailable() const {
        switch (error) {
            case 15:    // ERROR_INVALID_DRIVE
            case 21:    // ERROR_NOT_READY
            case 53:    // ERROR_BAD_NETPATH
            case 55:    // ERROR_DEV_NOT_EXIST
            case 67:    // ERROR_BAD_NET_NAME
            case 1117:  // ERROR_IO_DEVICE
            case 1167:  // ERROR_DEVICE_NOT_CONNECTED
                return !ok;
            default:
                return false;
        }
    }

    static OsResult Success() { return {}; }
    static OsResult Failure(unsigned long code, std::wstring why) {
        return {false, code, std::move(why)};
    }
};

}  // namespace lumarel
