#include <windows.h>

#include "platform/win32/win32_services.h"

namespace lumarel {

ScreenSize Win32Session::PrimaryScreen() {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

std::wstring Win32Session::DecimalSeparator() {
    wchar_t separator[8] = L"";
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) == 0) {
        return L".";
    }
    return separator;
}

void Win32Session::ExitNow() {
    ExitProcess(0);
}

}  // namespace lumarel
