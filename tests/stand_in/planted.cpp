// A library planted beside a program, for tests only: it must never be what a system library
// load finds.

#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
