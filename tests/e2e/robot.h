#pragma once
// A small test robot: starts the real programs and finds and acts on their windows from
// outside the process, through Win32. Every wait is bounded and waits for a condition.

#include <windows.h>

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace lumarel::robot {

using namespace std::chrono_literals;

// A path as CMake gave it (a Linux path when cross-built), as Windows knows it.
std::wstring WindowsPath(const char* buildPath);

// Waits until `condition` holds, checking every few milliseconds; false on time-out.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit);

class Process {
public:
    Process() = default;
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool Start(const std::wstring& commandLine, const std::wstring& workingDirectory = L"");
    DWORD Id() const { return info_.dwProcessId; }
    HANDLE Handle() const { return info_.hProcess; }
    // The exit code once the process has ended within the limit; nothing otherwise.
    bool WaitForExit(std::chrono::milliseconds limit, DWORD* exitCode = nullptr);
    void Kill();

private:
    PROCESS_INFORMATION info_{};
};

// What a running process holds, read from outside it.
struct Footprint {
    std::size_t pagefileBytes = 0;  // its private memory (under Wine: anonymous, resident)
    unsigned long handles = 0;      // its open handles, each counted
    unsigned long threads = 0;      // its threads, as the system lists them
};
// False when the system would not say.
bool ReadFootprint(const Process& process, Footprint& footprint);

// Whether the process has loaded the library of this name ("oleacc.dll").
bool HasLoaded(const Process& process, const std::wstring& library);

// The visible top-level window of the process with exactly this caption.
HWND FindTopLevel(DWORD processId, const std::wstring& caption, std::chrono::milliseconds limit);

std::wstring TextOf(HWND window);

// A message box (a standard dialog) that the process shows, and its text.
HWND FindMessageBox(DWORD processId, std::chrono::milliseconds limit);
std::wstring MessageBoxText(HWND box);

// The control that has the keyboard focus in the thread that owns `window`.
HWND FocusedControl(HWND window);

// A key pressed and released, posted as the keyboard would deliver it.
void PostKey(HWND target, WPARAM key);
// A menu item chosen from the keyboard, as a person does: Alt with the access key of the
// menu on the bar, then, once its menu shows, the item's (a command on the bar needs only its
// own). The keys arrive as the keyboard delivers them once translated. False when the menu
// did not show, or did not go, within 10 s.
bool ChooseFromMenu(HWND window, const std::wstring& accessKeys);
// Alt with an access key, as the keyboard delivers it once translated: the window's default
// handling opens the menu on the bar with that key.
inline void PostAltKey(HWND window, wchar_t key) {
    PostMessageW(window, WM_SYSCHAR, key, 1 | (1 << 29));
}
// A menu of the window's thread shows (the system's menu window class, "#32768").
inline bool MenuShows(HWND window) {
    bool shows = false;
    EnumThreadWindows(
        GetWindowThreadProcessId(window, nullptr),
        [](HWND candidate, LPARAM found) -> BOOL {
            wchar_t name[16] = L"";
            GetClassNameW(candidate, name, 16);
            if (IsWindowVisible(candidate) && std::wstring(name) == L"#32768") {
                *reinterpret_cast<bool*>(found) = true;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&shows));
    return shows;
}

// A key pressed and released on the keyboard itself, for the window's top-level window.
void PressKey(HWND window, WORD key);

// Any top-level window whose caption contains `part`, of any process.
HWND FindTopLevelContaining(const std::wstring& part, std::chrono::milliseconds limit);

// Moves the real pointer to the middle of a window, as the mouse would.
void RestPointerOn(HWND window);

// A click, or a double-click, of the real pointer at a point of the screen.
void ClickAt(POINT screen, int clicks = 1);

// Letters typed on the real keyboard, all at once, as a quick hand types them.
void TypeLetters(HWND window, const std::wstring& letters);

// A list view of another process, asked as outside programs ask it: the structures its
// messages point at are placed in that process's memory.
class RemoteListView {
public:
    explicit RemoteListView(HWND list);
    ~RemoteListView();
    RemoteListView(const RemoteListView&) = delete;
    RemoteListView& operator=(const RemoteListView&) = delete;

    int Count() const;
    std::wstring Text(int index) const;
    std::vector<std::wstring> Texts() const;
    int Selected() const;
    // Selected and focused, as a click leaves a line; the list view tells its window.
    void Select(int index) const;
    // The middle of a line, on the screen.
    POINT LinePoint(int index) const;

private:
    HWND list_;
    HANDLE process_ = nullptr;
    void* block_ = nullptr;  // in the list view's process
};

// The text of the hover-text window that the process shows now; empty when none shows.
std::wstring ShownTooltip(DWORD processId);

}  // namespace lumarel::robot
