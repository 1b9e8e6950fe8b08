#include "ui/window/window_base.h"

#include <algorithm>

#include "platform/owned.h"
#include "platform/win32/live_wait.h"
#include "resources/resource_ids.h"
#include "ui/controls/dpi.h"
#include "ui/window/placement.h"
#include "ui/window/window_thunk.h"

namespace lumarel {

namespace {

// Lumarel's own message: the notifications announced during a wait run now.
constexpr UINT kRunDeferredMessage = WM_APP + 1;

bool RegisterWindowClass(HINSTANCE instance, const wchar_t* className, bool withIcon) {
    WNDCLASSEXW windowClass{};
    if (GetClassInfoExW(instance, className, &windowClass)) {
        return true;
    }
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = ForwardToOwner<WindowBase>;
    windowClass.hInstance = instance;
    if (withIcon) {
        windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_LUMAREL));
        windowClass.hIconSm = static_cast<HICON>(
            LoadImageW(instance, MAKEINTRESOURCEW(IDI_LUMAREL), IMAGE_ICON,
                       GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    }
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    return RegisterClassExW(&windowClass) != 0;
}

}  // namespace

WindowBase::WindowBase(HINSTANCE instance, Session& session, Design design)
    : instance_(instance), session_(session), design_(design) {
    controls_.WireTo([this](int id, int notification) { RunWired(id, notification); });
}

WindowBase::~WindowBase() {
    if (window_ == nullptr) {
        return;
    }
    HWND window = window_;
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    EndWindow();
    DestroyWindow(window);
}

bool WindowBase::CreateOwnWindow(HWND owner, HMENU menu) {
    OwnedMenu ownMenu(menu);  // until the window takes it
    if (!RegisterWindowClass(instance_, design_.className, design_.withIcon)) {
        return false;
    }
    window_ = CreateWindowExW(design_.exStyle, design_.className, design_.caption, design_.style,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner,
                              menu, instance_, this);
    if (window_ == nullptr) {
        return false;
    }
    ownMenu.Release();
    SizeToClientArea(WindowDpi(window_));
    return true;
}

bool WindowBase::CreateControls() {
    if (!controls_.Create(window_, design_.controls, WindowDpi(window_))) {
        DestroyWindow(window_);
        return false;
    }
    return true;
}

void WindowBase::CentreOnScreen() {
    RECT outer{};
    GetWindowRect(window_, &outer);
    const WindowOrigin origin =
        CentredOrigin(session_.PrimaryScreen(), outer.right - outer.left, outer.bottom - outer.top);
    SetWindowPos(window_, nullptr, origin.left, origin.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WindowBase::DisableOwnerWhileOpen(HWND owner) {
    if (owner != nullptr && EnableWindow(owner, FALSE) == FALSE) {
        disabledOwner_ = owner;
    }
}

void WindowBase::Close() {
    if (window_ != nullptr) {
        GiveOwnerBack();
        DestroyWindow(window_);
    }
}

void WindowBase::GiveOwnerBack() {
    if (disabledOwner_ != nullptr) {
        EnableWindow(disabledOwner_, TRUE);
        disabledOwner_ = nullptr;
    }
}

void WindowBase::EndWindow() {
    GiveOwnerBack();
    RemovePropW(window_, kTooltipsProperty);
    window_ = nullptr;
}

void WindowBase::RunWired(int source, int notification) {
    const auto wire = std::find_if(
        design_.wiring.begin(), design_.wiring.end(),
        [&](const Wire& w) { return w.source == source && w.notification == notification; });
    if (wire == design_.wiring.end()) {
        return;
    }
    if (win32::WaitUnderWay()) {
        // Not inside the handler that waits: after it, and once however often it was told,
        // since the handler reads the control's latest state then.
        if (deferred_.empty()) {
            win32::SendAfterTheHandler(window_, kRunDeferredMessage);
        }
        std::erase(deferred_, std::pair{source, notification});
        deferred_.emplace_back(source, notification);
        return;
    }
    wire->run(*this, source);
}

void WindowBase::RunDeferred() {
    // Each once: one that waits again is put off anew.
    for (const auto& [source, notification] : std::exchange(deferred_, {})) {
        RunWired(source, notification);
    }
}

void WindowBase::SizeToClientArea(UINT dpi) {
    const SIZE client{TwipsToPixels(design_.clientWidthTwips, dpi),
                      TwipsToPixels(design_.clientHeightTwips, dpi)};
    const SIZE outer = OuterSizeForClient(client, design_.style, design_.exStyle,
                                          GetMenu(window_) != nullptr, dpi);
    SetWindowPos(window_, nullptr, 0, 0, outer.cx, outer.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool WindowBase::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

void WindowBase::OnDpiChanged(UINT) {}

LRESULT WindowBase::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (OnMessage(message, wParam, lParam, result)) {
        return result;
    }
    if (const std::optional<LRESULT> answer = controls_.Decode(message, wParam, lParam)) {
        return *answer;
    }
    switch (message) {
        case WM_COMMAND:
            if (lParam == 0 && HIWORD(wParam) == 0) {
                RunWired(LOWORD(wParam), kChosen);
            } else {
                controls_.OnCommand(LOWORD(wParam), HIWORD(wParam));
                RunWired(LOWORD(wParam), HIWORD(wParam));
            }
            return 0;
        case WM_SETCURSOR:
            // A child's default handling asks its window first: a control with a pointer
            // of its own gets it here.
            if (LOWORD(lParam) == HTCLIENT) {
                if (HCURSOR pointer = controls_.PointerOver(reinterpret_cast<HWND>(wParam))) {
                    SetCursor(pointer);
                    return TRUE;
                }
            }
            break;
        case WM_SYSCOLORCHANGE:
        case WM_THEMECHANGED:
            controls_.FollowSystemLook(message, wParam, lParam);
            break;
        case WM_DPICHANGED: {
            const UINT dpi = HIWORD(wParam);
            controls_.Layout(dpi);
            OnDpiChanged(dpi);
            MoveToSuggestedRect(window_, lParam);
            SizeToClientArea(dpi);
            return 0;
        }
        case WM_CLOSE:
            if (win32::WaitUnderWay()) {
                win32::CloseAfterWait(window_);  // off the screen now, closed after the wait
            } else {
                Close();
            }
            return 0;
        case kRunDeferredMessage:
            RunDeferred();
            return 0;
        case WM_DESTROY: {
            if (endRunWhenClosed_) {
                PostQuitMessage(0);
            }
            HWND window = window_;
            EndWindow();
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            return DefWindowProcW(window, message, wParam, lParam);
        }
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace lumarel
