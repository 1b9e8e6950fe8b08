#include "tests/e2e/robot.h"

#include <commctrl.h>

#include <psapi.h>
#include <tlhelp32.h>

#include <cstring>
#include <thread>
#include <vector>

namespace lumarel::robot {

std::wstring WindowsPath(const char* buildPath) {
    std::wstring path(buildPath, buildPath + std::char_traits<char>::length(buildPath));
    if (!path.empty() && path.front() == L'/') {
        path = L"Z:" + path;  // Wine's drive for the Linux root
    }
    for (wchar_t& c : path) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    return path;
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

Process::~Process() {
    Kill();
}

bool Process::Start(const std::wstring& commandLine, const std::wstring& workingDirectory) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    std::wstring line = commandLine;
    return CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          workingDirectory.empty() ? nullptr : workingDirectory.c_str(), &startup,
                          &info_) != FALSE;
}

bool Process::WaitForExit(std::chrono::milliseconds limit, DWORD* exitCode) {
    if (info_.hProcess == nullptr ||
        WaitForSingleObject(info_.hProcess, static_cast<DWORD>(limit.count())) != WAIT_OBJECT_0) {
        return false;
    }
    if (exitCode != nullptr) {
        GetExitCodeProcess(info_.hProcess, exitCode);
    }
    return true;
}

void Process::Kill() {
    if (info_.hProcess != nullptr) {
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(info_.hProcess, 99);
            WaitForSingleObject(info_.hProcess, 5000);
        }
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
        info_ = {};
    }
}

namespace {

// The system's list of every open handle (SystemExtendedHandleInformation): a count, then one
// entry per handle naming its process.
constexpr ULONG kSystemExtendedHandleInformation = 64;
constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
struct HandleListHead {
    ULONG_PTR count;
    ULONG_PTR reserved;
};
struct HandleEntry {
    void* object;
    ULONG_PTR processId;
    ULONG_PTR handle;
    ULONG grantedAccess;
    USHORT creatorBackTraceIndex;
    USHORT objectTypeIndex;
    ULONG attributes;
    ULONG reserved;
};
static_assert(sizeof(HandleListHead) == 2 * sizeof(void*));
static_assert(sizeof(HandleEntry) == 3 * sizeof(void*) + 16);

// Wine reads 0 from GetProcessHandleCount, and its process list's HandleCount is the size of
// the handle table, which only doubles or halves; the system's handle list names each handle.
bool CountHandles(const Process& process, unsigned long& handles) {
    DWORD count = 0;
    if (GetProcessHandleCount(process.Handle(), &count) && count != 0) {
        handles = count;
        return true;
    }
    using Query = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    if (query == nullptr) {
        return false;
    }
    std::vector<unsigned char> list(1 << 16);
    LONG status = 0;
    while ((status = query(kSystemExtendedHandleInformation, list.data(),
                           static_cast<ULONG>(list.size()), nullptr)) == kInfoLengthMismatch &&
           list.size() < (1u << 28)) {
        list.resize(list.size() * 2);
    }
    if (status != 0) {
        return false;
    }
    HandleListHead head{};
    std::memcpy(&head, list.data(), sizeof(head));
    if (head.count > (list.size() - sizeof(head)) / sizeof(HandleEntry)) {
        return false;
    }
    handles = 0;
    for (ULONG_PTR i = 0; i < head.count; ++i) {
        HandleEntry entry{};
        std::memcpy(&entry, list.data() + sizeof(head) + i * sizeof(entry), sizeof(entry));
        handles += entry.processId == process.Id() ? 1 : 0;
    }
    return handles != 0;
}

}  // namespace

bool ReadFootprint(const Process& process, Footprint& footprint) {
    // Under Wine PrivateUsage reads 0; PagefileUsage is the process's anonymous memory.
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    if (!GetProcessMemoryInfo(process.Handle(), &memory, sizeof(memory))) {
        return false;
    }
    footprint.pagefileBytes = memory.PagefileUsage;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return false;
    }
    THREADENTRY32 thread{};
    thread.dwSize = sizeof(thread);
    footprint.threads = 0;
    for (BOOL more = Thread32First(snapshot, &thread); more;
         more = Thread32Next(snapshot, &thread)) {
        footprint.threads += thread.th32OwnerProcessID == process.Id() ? 1 : 0;
    }
    CloseHandle(snapshot);
    return CountHandles(process, footprint.handles);
}

bool HasLoaded(const Process& process, const std::wstring& library) {
    HMODULE modules[512];
    DWORD bytes = 0;
    if (!EnumProcessModules(process.Handle(), modules, sizeof(modules), &bytes)) {
        return false;
    }
    for (DWORD i = 0; i < bytes / sizeof(HMODULE) && i < 512; ++i) {
        wchar_t name[MAX_PATH] = L"";
        if (GetModuleBaseNameW(process.Handle(), modules[i], name, MAX_PATH) != 0 &&
            CompareStringOrdinal(name, -1, library.c_str(), -1, TRUE) == CSTR_EQUAL) {
            return true;
        }
    }
    return false;
}

std::wstring TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) {
        return {};
    }
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 2000, &copied);
    text.resize(copied < text.size() ? copied : 0);
    return text;
}

namespace {

struct WindowSearch {
    DWORD processId = 0;  // 0: any process
    std::function<bool(HWND)> matches;
    HWND found = nullptr;
};

HWND Search(WindowSearch& search, std::chrono::milliseconds limit) {
    WaitUntil(
        [&] {
            EnumWindows(
                [](HWND window, LPARAM data) -> BOOL {
                    auto* s = reinterpret_cast<WindowSearch*>(data);
                    DWORD owner = 0;
                    GetWindowThreadProcessId(window, &owner);
                    if ((s->processId == 0 || owner == s->processId) && IsWindowVisible(window) &&
                        s->matches(window)) {
                        s->found = window;
                        return FALSE;
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        limit);
    return search.found;
}

std::wstring ClassName(HWND window) {
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    return name;
}

}  // namespace

HWND FindTopLevel(DWORD processId, const std::wstring& caption, std::chrono::milliseconds limit) {
    WindowSearch search{processId, [&caption](HWND window) { return TextOf(window) == caption; }};
    return Search(search, limit);
}

HWND FindMessageBox(DWORD processId, std::chrono::milliseconds limit) {
    WindowSearch search{processId, [](HWND window) { return ClassName(window) == L"#32770"; }};
    return Search(search, limit);
}

std::wstring MessageBoxText(HWND box) {
    std::wstring text;
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (_wcsicmp(ClassName(child).c_str(), L"Static") == 0) {
            const std::wstring part = TextOf(child);
            if (part.size() > text.size()) {
                text = part;
            }
        }
    }
    return text;
}

HWND FocusedControl(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus
                                                                              : nullptr;
}

void PressKey(HWND window, WORD key) {
    SetForegroundWindow(GetAncestor(window, GA_ROOT));
    INPUT inputs[2] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
    }
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
}

bool ChooseFromMenu(HWND window, const std::wstring& accessKeys) {
    PostAltKey(window, accessKeys.at(0));
    for (size_t i = 1; i < accessKeys.size(); ++i) {
        if (!WaitUntil([&] { return MenuShows(window); }, 10s)) {
            return false;
        }
        PostMessageW(window, WM_CHAR, accessKeys[i], 1);
    }
    // The next keys are for the window again, not for this menu.
    return accessKeys.size() == 1 || WaitUntil([&] { return !MenuShows(window); }, 10s);
}

void PostKey(HWND target, WPARAM key) {
    const UINT scan = MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
    PostMessageW(target, WM_KEYDOWN, key, 1 | (scan << 16));
    if (key == VK_SPACE) {
        PostMessageW(target, WM_CHAR, L' ', 1 | (scan << 16));
    }
    PostMessageW(target, WM_KEYUP, key, 1 | (scan << 16) | (1u << 30) | (1u << 31));
}

HWND FindTopLevelContaining(const std::wstring& part, std::chrono::milliseconds limit) {
    WindowSearch search{
        0, [&part](HWND window) { return TextOf(window).find(part) != std::wstring::npos; }};
    return Search(search, limit);
}

namespace {

// Absolute coordinates of the primary screen, on the scale SendInput expects.
INPUT PointerAt(POINT point, DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(point.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(point.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
    return input;
}

// Arriving from a pixel away, as a hand does: a pointer already on the spot would make no
// movement, and the control would never hear of it. Waits until the pointer is there.
void MovePointerTo(POINT target) {
    INPUT moves[] = {PointerAt({target.x - 1, target.y - 1}, MOUSEEVENTF_MOVE),
                     PointerAt(target, MOUSEEVENTF_MOVE)};
    SendInput(2, moves, sizeof(INPUT));
    WaitUntil(
        [&] {
            POINT now{};
            return GetCursorPos(&now) && now.x == target.x && now.y == target.y;
        },
        2s);
}

}  // namespace

void RestPointerOn(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    MovePointerTo({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

void ClickAt(POINT screen, int clicks) {
    MovePointerTo(screen);
    std::vector<INPUT> inputs;
    for (int click = 0; click < clicks; ++click) {
        inputs.push_back(PointerAt(screen, MOUSEEVENTF_LEFTDOWN));
        inputs.push_back(PointerAt(screen, MOUSEEVENTF_LEFTUP));
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void TypeLetters(HWND window, const std::wstring& letters) {
    SetForegroundWindow(GetAncestor(window, GA_ROOT));
    std::vector<INPUT> inputs;
    for (const wchar_t letter : letters) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = static_cast<WORD>(LOBYTE(VkKeyScanW(letter)));
        inputs.push_back(input);
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

RemoteListView::RemoteListView(HWND list) : list_(list) {
    DWORD processId = 0;
    GetWindowThreadProcessId(list, &processId);
    process_ =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (process_ != nullptr) {
        block_ = VirtualAllocEx(process_, nullptr, sizeof(LVITEMW) + MAX_PATH * sizeof(wchar_t),
                                MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
}

RemoteListView::~RemoteListView() {
    if (block_ != nullptr) {
        VirtualFreeEx(process_, block_, 0, MEM_RELEASE);
    }
    if (process_ != nullptr) {
        CloseHandle(process_);
    }
}

int RemoteListView::Count() const {
    return static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0));
}

std::wstring RemoteListView::Text(int index) const {
    if (block_ == nullptr) {
        return L"(the list view's process could not be reached)";
    }
    auto* remoteText = reinterpret_cast<wchar_t*>(static_cast<char*>(block_) + sizeof(LVITEMW));
    LVITEMW item{};
    item.pszText = remoteText;
    item.cchTextMax = MAX_PATH;
    wchar_t text[MAX_PATH] = L"";
    if (!WriteProcessMemory(process_, block_, &item, sizeof(item), nullptr) ||
        !WriteProcessMemory(process_, remoteText, text, sizeof(text), nullptr)) {
        return L"(the list view's process could not be written)";
    }
    SendMessageW(list_, LVM_GETITEMTEXTW, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(block_));
    ReadProcessMemory(process_, remoteText, text, sizeof(text) - sizeof(wchar_t), nullptr);
    return text;
}

std::vector<std::wstring> RemoteListView::Texts() const {
    std::vector<std::wstring> texts;
    for (int index = 0, count = Count(); index < count; ++index) {
        texts.push_back(Text(index));
    }
    return texts;
}

int RemoteListView::Selected() const {
    return static_cast<int>(
        SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void RemoteListView::Select(int index) const {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    if (block_ != nullptr && WriteProcessMemory(process_, block_, &item, sizeof(item), nullptr)) {
        SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(block_));
    }
}

POINT RemoteListView::LinePoint(int index) const {
    RECT line{};
    line.left = LVIR_BOUNDS;
    if (block_ != nullptr && WriteProcessMemory(process_, block_, &line, sizeof(line), nullptr)) {
        SendMessageW(list_, LVM_GETITEMRECT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(block_));
        ReadProcessMemory(process_, block_, &line, sizeof(line), nullptr);
    }
    POINT middle{(line.left + line.right) / 2, (line.top + line.bottom) / 2};
    ClientToScreen(list_, &middle);
    return middle;
}

std::wstring ShownTooltip(DWORD processId) {
    WindowSearch search{processId,
                        [](HWND window) { return ClassName(window) == L"tooltips_class32"; }};
    HWND tip = Search(search, 0ms);
    return tip != nullptr ? TextOf(tip) : std::wstring();
}

}  // namespace lumarel::robot
