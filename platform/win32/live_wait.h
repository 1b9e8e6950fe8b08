#pragma once
// The window's thread waiting, live, for a call that runs on another thread. While it waits
// it answers the messages other programs send, paints once the wait is noticeable, shows the
// arrow with the hourglass over Lumarel's windows, and starts no handler: keyboard and mouse
// input stays queued, as Windows queued it, and takes effect once the wait is over. Esc gives
// the wait up; the close box, Alt+F4 or a posted WM_CLOSE give it up and close the window.

#include <windows.h>

#include <functional>

namespace lumarel::win32 {

enum class WaitEnd { Answered, GivenUp };

// How long a call may take before the wait shows: until then nothing looks different.
inline constexpr DWORD kUnnoticedWaitMs = 150;

struct WaitHooks {
    unsigned long noticeAfterMs = 0;
    std::function<void()> notice;    // runs once when the wait has lasted noticeAfterMs
    std::function<void()> eachPass;  // runs at every look at the queue (tests act here)
};

// Waits until `answered` is signalled or the person gives the wait up.
WaitEnd WaitLive(HANDLE answered, const WaitHooks& hooks = {});

// Whether this thread is waiting in WaitLive. A change that another program announces
// meanwhile (a WM_COMMAND sent to a window) must not run inside the waiting handler: it runs
// after it.
bool WaitUnderWay();

// Whether the person gave up a wait of the action under way: its remaining calls are not
// waited for again.
bool ActionGivenUp();

// The message loop takes its next message: a new action, whose calls are waited for anew.
void StartNextAction();

// The person asked for `window` to close while a call was waited for: the window and those it
// owns leave the screen at once (the owner it disabled takes input again, so that Windows hands
// it the activation), the wait ends given up, and the window closes as usual once the waiting
// handler has returned.
void CloseAfterWait(HWND window);
// Whether a close asked during a wait is still to come for this window.
bool CloseAskedFor(HWND window);

// Work that must not run inside the handler that waits, nor in a message box's loop later in
// that handler: the changes other programs announced during a wait. The message loop runs it
// once that handler has returned (RunWorkAfterHandlers), after the closes asked meanwhile.
void AfterTheHandler(std::function<void()> work);
// The same for a message to a window, sent then if the window is still there.
void SendAfterTheHandler(HWND window, UINT message, WPARAM wParam = 0);
// The message loop, between messages: the closes asked during waits, then the work put off.
void RunWorkAfterHandlers();

}  // namespace lumarel::win32
