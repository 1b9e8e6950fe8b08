#include "ui/controls/modal_window.h"

#include "ui/controls/dpi.h"
#include "ui/controls/window_thunk.h"
#include "ui/controls/message_loop.h"
#include "ui/controls/placement.h"

namespace lumarel {

namespace {

constexpr wchar_t kSecondaryClass[] = L"LumarelSecondary";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME;

bool RegisterSecondaryClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    if (GetClassInfoExW(instance, kSecondaryClass, &windowClass)) {
        return true;
    }
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kSecondaryClass;
    return RegisterClassExW(&windowClass) != 0;
}

}  // namespace

ModalWindow::ModalWindow(HINSTANCE instance, Session& session, Design design)
    : session_(session), instance_(instance), design_(design) {}

ModalWindow::~ModalWindow() {
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
}

bool ModalWindow::Create(HWND owner) {
    owner_ = owner;
    if (!RegisterSecondaryClass(instance_, ForwardToOwner<ModalWindow>)) {
        return false;
    }
    window_ = CreateWindowExW(kExStyle, kSecondaryClass, design_.caption, kStyle, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                              instance_, this);
    if (window_ == nullptr) {
        return false;
    }
    const UINT dpi = WindowDpi(window_);
    if (!controls_.Create(window_, design_.controls, dpi)) {
        DestroyWindow(window_);
        return false;
    }
    SizeToClientArea(dpi);
    Form_Load();
    return true;
}

void ModalWindow::ShowModal() {
    if (window_ == nullptr) {
        return;
    }
    if (owner_ != nullptr) {
        EnableWindow(owner_, FALSE);
    }
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    SetFocus(Control(InitialFocus()));
    controls_.NameControlsForScreenReaders();
    PumpMessagesUntil([this] { return window_ == nullptr; });
}

void ModalWindow::Close() {
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
}

void ModalWindow::CentreOnScreen() {
    RECT outer{};
    GetWindowRect(window_, &outer);
    const WindowOrigin origin =
        CentredOrigin(session_.PrimaryScreen(), outer.right - outer.left, outer.bottom - outer.top);
    SetWindowPos(window_, nullptr, origin.left, origin.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ModalWindow::SizeToClientArea(UINT dpi) {
    const SIZE client{TwipsToPixels(design_.clientWidthTwips, dpi),
                      TwipsToPixels(design_.clientHeightTwips, dpi)};
    const SIZE outer = OuterSizeForClient(client, kStyle, kExStyle, false, dpi);
    SetWindowPos(window_, nullptr, 0, 0, outer.cx, outer.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool ModalWindow::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

LRESULT ModalWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (OnMessage(message, wParam, lParam, result)) {
        return result;
    }
    switch (message) {
        case WM_COMMAND:
            controls_.OnCommand(LOWORD(wParam), HIWORD(wParam));
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_DPICHANGED: {
            const UINT dpi = HIWORD(wParam);
            controls_.Layout(dpi);
            MoveToSuggestedRect(window_, lParam);
            SizeToClientArea(dpi);
            return 0;
        }
        case WM_DESTROY: {
            // The owner comes back before this window goes, so that Windows hands the
            // activation to it and not to another program.
            if (owner_ != nullptr) {
                EnableWindow(owner_, TRUE);
                if (GetActiveWindow() == window_) {
                    SetActiveWindow(owner_);
                }
            }
            HWND window = window_;
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            window_ = nullptr;
            return DefWindowProcW(window, message, wParam, lParam);
        }
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace lumarel
