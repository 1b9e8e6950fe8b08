#pragma once
// Helpers for tests that drive real windows in this process.

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <string_view>
#include <vector>

#include "ui/controls/control_table.h"

namespace lumarel::testing {

// Delivers everything that is waiting, as the message loop would.
inline void DrainMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// The hover text a tooltip control holds for a child window; empty when it has none.
inline std::wstring TooltipOf(HWND tooltips, HWND parent, HWND control) {
    wchar_t text[512] = L"";
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = parent;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text;
    SendMessageW(tooltips, TTM_GETTEXTW, sizeof(text) / sizeof(text[0]),
                 reinterpret_cast<LPARAM>(&tool));
    return text;
}

// The names a list view shows, asked of the control item by item as another program asks.
inline std::vector<std::wstring> ListViewTexts(HWND list) {
    std::vector<std::wstring> texts;
    const auto count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[MAX_PATH] = L"";
        LVITEMW item{};
        item.pszText = text;
        item.cchTextMax = MAX_PATH;
        SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&item));
        texts.emplace_back(text);
    }
    return texts;
}

// A list view's line selected and focused, as a click or an arrow key leaves it; the list
// view tells its window as it would then.
inline void SelectListViewLine(HWND list, int index) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&item));
}

// The middle of a list view's line, in the list view's own coordinates.
inline POINT ListViewLinePoint(HWND list, int index) {
    RECT line{};
    line.left = LVIR_BOUNDS;
    SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&line));
    return {(line.left + line.right) / 2, (line.top + line.bottom) / 2};
}

// Characters as a person types them into the focused control: a key of the keyboard where
// one gives the character, else the character itself as a Unicode key event.
inline void TypeByKeys(std::wstring_view text) {
    std::vector<INPUT> inputs;
    const auto press = [&inputs](WORD key, WORD scan, DWORD flags) {
        for (const DWORD up : {0ul, static_cast<DWORD>(KEYEVENTF_KEYUP)}) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wVk = key;
            input.ki.wScan = scan;
            input.ki.dwFlags = flags | up;
            inputs.push_back(input);
        }
    };
    for (const wchar_t unit : text) {
        const SHORT key = unit < 0x80 ? VkKeyScanW(unit) : -1;
        if (key == -1) {
            press(0, unit, KEYEVENTF_UNICODE);
            continue;
        }
        const bool shift = (HIBYTE(key) & 1) != 0;
        if (shift) {
            inputs.push_back({INPUT_KEYBOARD, {.ki = {VK_SHIFT, 0, 0, 0, 0}}});
        }
        press(LOBYTE(key), 0, 0);
        if (shift) {
            inputs.push_back({INPUT_KEYBOARD, {.ki = {VK_SHIFT, 0, KEYEVENTF_KEYUP, 0, 0}}});
        }
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Text an input method commits: it arrives as WM_IME_CHAR.
inline void TypeByInputMethod(HWND control, std::wstring_view text) {
    for (const wchar_t unit : text) {
        PostMessageW(control, WM_IME_CHAR, unit, 1);
    }
}

// Delivers messages until `reached` holds, two seconds at most.
template <typename Condition>
bool DeliverUntil(Condition reached) {
    const ULONGLONG until = GetTickCount64() + 2000;
    while (!reached() && GetTickCount64() < until) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        DrainMessages();
    }
    return reached();
}

// A file's bytes as they are on the disk; empty when it cannot be read.
inline std::string FileBytes(const std::wstring& path) {
    std::string bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    char buffer[4096];
    DWORD read = 0;
    while (file != INVALID_HANDLE_VALUE && ReadFile(file, buffer, sizeof(buffer), &read, nullptr) &&
           read > 0) {
        bytes.append(buffer, read);
    }
    CloseHandle(file);
    return bytes;
}

// A whole file of these bytes, made anew.
inline void PutFileBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

// The files, not folders, in a folder, with their full paths.
inline std::vector<std::wstring> FilesIn(const std::wstring& folder) {
    std::vector<std::wstring> paths;
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return paths;
    }
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            paths.push_back(folder + L"\\" + found.cFileName);
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return paths;
}

// The window tests' operator new (failing_allocation.cpp) fails the nth allocation from now
// on (1: the next) with std::bad_alloc, once, until it is stopped.
void FailAllocation(long nth);
// Back to allocating as usual; true when the failing allocation was reached.
bool StopFailingAllocations();

inline std::wstring ClassOf(HWND window) {
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    return name;
}

}  // namespace lumarel::testing
