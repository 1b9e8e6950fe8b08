#pragma once
// Libraries Lumarel loads when it first needs them, from the system's own folder only: a DLL
// of the same name beside Lumarel or in the working directory never loads in its place.

#include <windows.h>

namespace lumarel {

// Limits where every later library load looks to the system folder and the folders the
// program names; call it first thing. Windows 7 without its update lacks the call, and
// then only the libraries below are protected.
void LoadLibrariesFromSystemOnly();

// A library from the system folder ("mpr.dll"), or nullptr.
HMODULE LoadSystemLibrary(const wchar_t* fileName);

// A function of a library looked up by name, of the type the caller names; nullptr when the
// library is missing or lacks it (a call newer than the Windows it runs on).
template <typename Function>
Function FunctionOf(HMODULE library, const char* name) {
    return library == nullptr
               ? nullptr
               : reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace lumarel
