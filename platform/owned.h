#pragma once
// The one owner of every Win32 object Lumarel makes: each kind names its handle type, the
// value that holds nothing and the call that releases it, and Owned<Kind> releases the object
// once, when it goes. Scope guards put back what a device context had selected, and release a
// device context. Both platform/win32/ and ui/ use this header, and it uses neither.

#include <windows.h>

#include <utility>

namespace lumarel {

template <typename Kind>
class Owned {
public:
    using Handle = typename Kind::Handle;

    Owned() = default;
    explicit Owned(Handle handle) : handle_(handle) {}
    ~Owned() { Reset(); }
    Owned(Owned&& other) noexcept : handle_(other.Release()) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    Handle Get() const { return handle_; }
    explicit operator bool() const { return Kind::Holds(handle_); }
    // Gives the object up without releasing it: whoever takes it releases it.
    Handle Release() { return std::exchange(handle_, Kind::None()); }
    void Reset(Handle handle = Kind::None()) {
        const Handle old = std::exchange(handle_, handle);
        if (Kind::Holds(old)) {
            Kind::Close(old);
        }
    }

private:
    Handle handle_ = Kind::None();
};

namespace owned_kinds {

// A handle that holds nothing is null, the usual way.
template <typename H>
struct NullIsNone {
    using Handle = H;
    static Handle None() { return nullptr; }
    static bool Holds(Handle handle) { return handle != nullptr; }
};

// Kernel objects: files answer INVALID_HANDLE_VALUE for nothing, processes and threads null.
struct Kernel : NullIsNone<HANDLE> {
    static bool Holds(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) { CloseHandle(handle); }
};

template <typename H>
struct Gdi : NullIsNone<H> {
    static void Close(H object) { DeleteObject(object); }
};

struct Icon : NullIsNone<HICON> {
    static void Close(HICON icon) { DestroyIcon(icon); }
};

struct Cursor : NullIsNone<HCURSOR> {
    static void Close(HCURSOR cursor) { DestroyCursor(cursor); }
};

struct Menu : NullIsNone<HMENU> {
    static void Close(HMENU menu) { DestroyMenu(menu); }
};

struct Local : NullIsNone<HLOCAL> {
    static void Close(HLOCAL memory) { LocalFree(memory); }
};

}  // namespace owned_kinds

using OwnedHandle = Owned<owned_kinds::Kernel>;
using OwnedFont = Owned<owned_kinds::Gdi<HFONT>>;
using OwnedBitmap = Owned<owned_kinds::Gdi<HBITMAP>>;
using OwnedBrush = Owned<owned_kinds::Gdi<HBRUSH>>;
using OwnedPen = Owned<owned_kinds::Gdi<HPEN>>;
using OwnedIcon = Owned<owned_kinds::Icon>;
using OwnedCursor = Owned<owned_kinds::Cursor>;
using OwnedMenu = Owned<owned_kinds::Menu>;
using OwnedLocalMemory = Owned<owned_kinds::Local>;

// A window's device context (the screen's, for no window), released when it goes.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_ != nullptr) {
            ReleaseDC(window_, dc_);
        }
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// An object selected into a device context for a scope; what was selected before comes back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~SelectedObject() {
        if (old_ != nullptr && old_ != HGDI_ERROR) {
            SelectObject(dc_, old_);
        }
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace lumarel
