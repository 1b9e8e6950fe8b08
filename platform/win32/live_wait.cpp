#include "platform/win32/live_wait.h"

#include <algorithm>
#include <vector>

namespace lumarel::win32 {

namespace {

// How often the wait looks at the queue for a person giving up, and paints: well within the
// 250 ms after which a window that does not answer seems to hang.
constexpr DWORD kPassMs = 25;

struct ThreadWaits {
    int depth = 0;                              // WaitLive calls under way on this thread
    bool givenUp = false;                       // in the action under way
    std::vector<HWND> closing;                  // asked to close during a wait
    std::vector<std::function<void()>> putOff;  // announced during a wait
};

// GetMessage returns once there is a message: this one tells the loop that work waits.
void WakeTheMessageLoop() {
    PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
}

ThreadWaits& Waits() {
    thread_local ThreadWaits waits;
    return waits;
}

bool IsOwnWindow(HWND window) {
    return window != nullptr && GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
}

// The messages other programs (and the system) send are answered here; nothing posted or
// typed is taken.
void AnswerSentMessages() {
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

// The first queued message of one kind when it is the one asked for, taken off the queue.
bool TakeFirst(UINT kind, const std::function<bool(const MSG&)>& wanted, HWND* window) {
    MSG message;
    if (!PeekMessageW(&message, nullptr, kind, kind, PM_NOREMOVE | PM_NOYIELD) ||
        !wanted(message)) {
        return false;
    }
    PeekMessageW(&message, nullptr, kind, kind, PM_REMOVE | PM_NOYIELD);
    *window = message.hwnd;
    return true;
}

bool KeyIsDown(int key) {
    return (GetAsyncKeyState(key) & 0x8000) != 0;
}

// A key pressed now, in a window of this thread, beyond any keys typed before it that still
// wait in the queue: a hand holds a key for a tenth of a second or so.
bool HeldInOwnWindow(int key) {
    return KeyIsDown(key) && IsOwnWindow(GetForegroundWindow());
}

// Whether a point of the screen is the close box of one of this thread's windows that takes
// input.
bool ClosesAt(POINT point) {
    HWND under = GetAncestor(WindowFromPoint(point), GA_ROOT);
    return IsOwnWindow(under) && IsWindowEnabled(under) &&
           SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y)) == HTCLOSE;
}

bool IsAlt(WPARAM key) {
    return key == VK_MENU || key == VK_LMENU || key == VK_RMENU;
}

// What the person does to give a wait up, read off the queue (where posted messages and keys
// typed before the wait arrive) and off the keys and button held now (a hand pressing them
// behind keys typed earlier, which stay queued).
class GivingUp {
public:
    GivingUp() = default;
    GivingUp(const GivingUp&) = delete;
    GivingUp& operator=(const GivingUp&) = delete;
    // The Alt keys taken to see whether F4 came with them go back to the queue, in order,
    // unless a window closes.
    ~GivingUp() {
        if (!closing_) {
            for (const MSG& alt : takenAlts_) {
                PostMessageW(alt.hwnd, alt.message, alt.wParam, alt.lParam);
            }
        }
    }

    // True when the person gave the wait up; `closing` is then the window they asked to
    // close, or nullptr for Esc.
    bool Look(HWND* closing) {
        *closing = nullptr;
        // The taskbar's "Close window" and other programs post WM_CLOSE, or the system command.
        if (TakeFirst(
                WM_CLOSE, [](const MSG& m) { return IsOwnWindow(m.hwnd); }, closing) ||
            TakeFirst(
                WM_SYSCOMMAND, [](const MSG& m) { return (m.wParam & 0xFFF0) == SC_CLOSE; },
                closing) ||
            TakeFirst(
                WM_NCLBUTTONDOWN, [](const MSG& m) { return m.wParam == HTCLOSE; }, closing) ||
            // A control that holds the mouse for a press whose release waits in the queue (the
            // double-click that opened a directory) gets the close box's click as its own.
            TakeFirst(
                WM_LBUTTONDOWN,
                [](const MSG& m) { return GetCapture() != nullptr && ClosesAt(m.pt); }, closing) ||
            TakeAltF4(closing)) {
            closing_ = true;
            return true;
        }
        if (HeldInOwnWindow(VK_F4) && KeyIsDown(VK_MENU)) {
            *closing = GetForegroundWindow();
            closing_ = true;
            return true;
        }
        POINT pointer{};
        // The button a person clicks with, whichever side of the mouse it is on.
        const int primary = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
        if (KeyIsDown(primary) && GetCursorPos(&pointer) && ClosesAt(pointer)) {
            *closing = WindowFromPoint(pointer);
            closing_ = true;
            return true;
        }
        HWND escaped = nullptr;
        return TakeFirst(
                   WM_KEYDOWN, [](const MSG& m) { return m.wParam == VK_ESCAPE; }, &escaped) ||
               HeldInOwnWindow(VK_ESCAPE);
    }

private:
    // Alt comes down before F4, and again and again while it is held: each is set aside to
    // see what follows it.
    bool TakeAltF4(HWND* closing) {
        constexpr std::size_t kMostAltsAside = 64;
        MSG key;
        while (
            PeekMessageW(&key, nullptr, WM_SYSKEYDOWN, WM_SYSKEYDOWN, PM_NOREMOVE | PM_NOYIELD)) {
            if (key.wParam == VK_F4) {
                PeekMessageW(&key, nullptr, WM_SYSKEYDOWN, WM_SYSKEYDOWN, PM_REMOVE | PM_NOYIELD);
                *closing = key.hwnd;
                return true;
            }
            if (!IsAlt(key.wParam) || takenAlts_.size() >= kMostAltsAside) {
                return false;
            }
            PeekMessageW(&key, nullptr, WM_SYSKEYDOWN, WM_SYSKEYDOWN, PM_REMOVE | PM_NOYIELD);
            takenAlts_.push_back(key);
        }
        return false;
    }

    std::vector<MSG> takenAlts_;
    bool closing_ = false;
};

// The windows the wait keeps painting: this thread's, whatever needs it, children included.
void PaintOwnWindows() {
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM) -> BOOL {
            if (IsWindowVisible(window)) {
                RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            }
            return TRUE;
        },
        0);
}

// The arrow with the hourglass over Lumarel's windows while a wait shows, and the pointer
// of whatever is under it again afterwards.
class WaitingPointer {
public:
    WaitingPointer() = default;
    WaitingPointer(const WaitingPointer&) = delete;
    WaitingPointer& operator=(const WaitingPointer&) = delete;
    ~WaitingPointer() {
        if (!shown_) {
            return;
        }
        // As the system asks when the pointer moves: the window under it sets its own.
        POINT pointer{};
        HWND under = GetCursorPos(&pointer) ? WindowFromPoint(pointer) : nullptr;
        if (IsOwnWindow(under)) {
            const LRESULT hit =
                SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(pointer.x, pointer.y));
            SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
                         MAKELPARAM(LOWORD(hit), WM_MOUSEMOVE));
        }
    }
    // Wherever the pointer is now: over another program's window it is that program's.
    void Show() {
        POINT pointer{};
        if (GetCursorPos(&pointer) && IsOwnWindow(WindowFromPoint(pointer))) {
            SetCursor(LoadCursorW(nullptr, IDC_APPSTARTING));
            shown_ = true;
        }
    }

private:
    bool shown_ = false;
};

}  // namespace

bool WaitUnderWay() {
    return Waits().depth > 0;
}

bool ActionGivenUp() {
    return Waits().givenUp;
}

void StartNextAction() {
    Waits().givenUp = false;
}

void CloseAfterWait(HWND window) {
    HWND root = GetAncestor(window, GA_ROOT);
    if (!IsOwnWindow(root)) {
        return;
    }
    // A secondary window disabled its owner: Windows hands the activation on as a window
    // hides, and only to a window that takes input.
    if (HWND owner = GetWindow(root, GW_OWNER)) {
        EnableWindow(owner, TRUE);
    }
    // The windows it owns first, so that none shows alone for a moment.
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND candidate, LPARAM owner) -> BOOL {
            for (HWND above = GetWindow(candidate, GW_OWNER); above != nullptr;
                 above = GetWindow(above, GW_OWNER)) {
                if (above == reinterpret_cast<HWND>(owner)) {
                    ShowWindow(candidate, SW_HIDE);
                    break;
                }
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(root));
    ShowWindow(root, SW_HIDE);
    ThreadWaits& waits = Waits();
    waits.givenUp = true;
    if (!CloseAskedFor(root)) {
        waits.closing.push_back(root);
        WakeTheMessageLoop();
    }
}

bool CloseAskedFor(HWND window) {
    const std::vector<HWND>& closing = Waits().closing;
    return std::find(closing.begin(), closing.end(), GetAncestor(window, GA_ROOT)) != closing.end();
}

void AfterTheHandler(std::function<void()> work) {
    Waits().putOff.push_back(std::move(work));
    WakeTheMessageLoop();
}

void SendAfterTheHandler(HWND window, UINT message, WPARAM wParam) {
    AfterTheHandler([window, message, wParam] {
        if (IsWindow(window)) {
            SendMessageW(window, message, wParam, 0);
        }
    });
}

void RunWorkAfterHandlers() {
    ThreadWaits& waits = Waits();
    while (waits.depth == 0 && (!waits.closing.empty() || !waits.putOff.empty())) {
        if (!waits.closing.empty()) {
            HWND window = waits.closing.front();
            waits.closing.erase(waits.closing.begin());
            if (IsWindow(window)) {
                SendMessageW(window, WM_CLOSE, 0, 0);
            }
            continue;
        }
        const std::function<void()> work = std::move(waits.putOff.front());
        waits.putOff.erase(waits.putOff.begin());
        // An action of its own, as the message that announced it would have started: a wait
        // given up in the handler it waited for is no reason not to wait in this one.
        StartNextAction();
        work();
    }
}

WaitEnd WaitLive(HANDLE answered, const WaitHooks& hooks) {
    ThreadWaits& waits = Waits();
    struct Depth {
        int& depth;
        explicit Depth(int& counter) : depth(++counter) {}
        ~Depth() { --depth; }
    } depth(waits.depth);

    const ULONGLONG started = GetTickCount64();
    ULONGLONG lastPass = started;
    bool noticed = hooks.notice == nullptr;
    WaitingPointer pointer;
    GivingUp givingUp;
    // A call that answers soon is waited for as any call was: nothing else happens meanwhile,
    // not even the window system's own news, so that nothing looks or acts differently.
    if (WaitForSingleObject(answered, kUnnoticedWaitMs) == WAIT_OBJECT_0) {
        return WaitEnd::Answered;
    }
    for (;;) {
        const DWORD woke = MsgWaitForMultipleObjectsEx(1, &answered, kPassMs, QS_SENDMESSAGE, 0);
        if (woke == WAIT_OBJECT_0) {
            return WaitEnd::Answered;
        }
        if (woke == WAIT_FAILED) {
            // Nothing to wait live with: the call is waited for as any call would be.
            WaitForSingleObject(answered, INFINITE);
            return WaitEnd::Answered;
        }
        AnswerSentMessages();
        const ULONGLONG now = GetTickCount64();
        if (now - lastPass < kPassMs) {
            continue;  // sent messages come often: the queue is looked at on its own clock
        }
        lastPass = now;
        if (hooks.eachPass) {
            hooks.eachPass();
        }
        HWND closing = nullptr;
        if (givingUp.Look(&closing)) {
            if (closing != nullptr) {
                CloseAfterWait(closing);
            }
            waits.givenUp = true;
        }
        if (waits.givenUp) {
            return WaitEnd::GivenUp;
        }
        if (!noticed && now - started >= hooks.noticeAfterMs) {
            noticed = true;
            hooks.notice();
        }
        if (now - started >= kUnnoticedWaitMs) {
            pointer.Show();
            PaintOwnWindows();
        }
    }
}

}  // namespace lumarel::win32
