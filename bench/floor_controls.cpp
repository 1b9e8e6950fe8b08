// The floor for start-up with Lumarel's controls: the same kinds and numbers of windows as
// the main window, the same menu bar and hover texts, at fixed places and in one font, and
// nothing else (no settings, no listing, no text measuring). What Lumarel takes above this is
// its own doing; what both take is the system's.

#include <windows.h>
#include <commctrl.h>

#include <iterator>
#include <span>

#include "launch/option_table.h"

namespace {

using lumarel::kFrameRates;
using lumarel::kJoystickTypes;
using lumarel::kScreenResolutions;
using lumarel::kSoundRates;

// The styles Lumarel gives each kind. Every control starts a group but an option button,
// which starts one only as the first of its frame (marked in its row).
constexpr DWORD kFrame = BS_GROUPBOX | WS_GROUP;
constexpr DWORD kLabel = SS_LEFTNOWORDWRAP | SS_NOPREFIX | WS_GROUP;
constexpr DWORD kCentred = SS_CENTER | SS_NOPREFIX | WS_GROUP;
constexpr DWORD kPicture = BS_PUSHBUTTON | BS_BITMAP | WS_TABSTOP | WS_GROUP;
constexpr DWORD kOption = BS_RADIOBUTTON | BS_NOTIFY | WS_TABSTOP;
constexpr DWORD kCheck = BS_3STATE | WS_TABSTOP | WS_GROUP;
constexpr DWORD kDropDown = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP;
constexpr DWORD kList = LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP | WS_GROUP;
constexpr DWORD kOwnerDrawnList = kList | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
constexpr DWORD kFileList = LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_OWNERDATA | LVS_SINGLESEL |
                            LVS_SHOWSELALWAYS | WS_TABSTOP | WS_GROUP;
constexpr DWORD kText = ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP;
constexpr DWORD kStatus = CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER | WS_GROUP;

// What a control is given after its creation.
enum class Setup { None, Items, Drives, Panels, Picture, Column };

struct Control {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
    const wchar_t* caption;
    const wchar_t* tooltip;
    int left, top, width, height;  // pixels of the client area at 96 dpi
    Setup setup = Setup::None;
    std::span<const wchar_t* const> items = {};
};

// Lumarel's main window at 96 dpi, in its creation order; a drop-down is as high as its open
// list.
// clang-format off
const Control kControls[] = {
    {WC_BUTTONW, kFrame, 0, L"", nullptr, 0, 0, 465, 409},
    {WC_BUTTONW, kFrame, 0, L"Rom Select", nullptr, 8, 16, 145, 385},
    {WC_BUTTONW, kFrame, 0, L"Screen Resolution", nullptr, 168, 16, 201, 49},
    {WC_BUTTONW, kFrame, 0, L"Frame Rate", nullptr, 376, 16, 81, 49},
    {WC_BUTTONW, kFrame, 0, L"Sound On/Off", nullptr, 168, 72, 129, 41},
    {WC_BUTTONW, kFrame, 0, L"Sound Stereo/Mono", nullptr, 304, 72, 153, 41},
    {WC_BUTTONW, kFrame, 0, L"Sound Rate", nullptr, 168, 120, 121, 49},
    {WC_BUTTONW, kFrame, 0, L"JoyStick Type", nullptr, 296, 120, 129, 49},
    {WC_BUTTONW, kFrame, 0, L"JoyStick On/Off", nullptr, 168, 176, 129, 41},
    {WC_BUTTONW, kFrame, 0, L"Other Graphic Options", nullptr, 304, 176, 153, 113},
    {WC_BUTTONW, kFrame, 0, L"SuperFX On/Off", nullptr, 168, 224, 129, 41},
    {WC_BUTTONW, kFrame, 0, L"Rom Settings", nullptr, 168, 272, 129, 61},
    {WC_BUTTONW, kFrame, 0, L"Extra Command Line Parameters", nullptr, 168, 340, 177, 49},
    {WC_STATICW, kLabel, 0, L"Click to Run!", nullptr, 376, 376, 61, 13},
    {WC_STATICW, kLabel, 0, L"Number of Roms:", nullptr, 24, 184, 82, 13},
    {WC_STATICW, kLabel, 0, L"0", nullptr, 112, 184, 30, 13},
    {WC_STATICW, kCentred, 0, L"File Type Supported:", nullptr, 32, 352, 99, 13},
    {WC_STATICW, kCentred, 0, L"*.SMC *.SFC *.SWC *.FIG", nullptr, 16, 368, 122, 13},
    {WC_STATICW, kCentred, 0, L"*.058 *.1 *.ZIP", nullptr, 42, 384, 69, 13},
    {STATUSCLASSNAMEW, kStatus, 0, L"", nullptr, 0, 410, 465, 25, Setup::Panels},

    {WC_BUTTONW, kPicture, 0, L"Run the Emulator", L"Run the Emulator", 352, 296, 105, 77, Setup::Picture},
    {WC_COMBOBOXW, kDropDown, 0, L"", L"Pick a screen resolution", 184, 32, 169, 240, Setup::Items, kScreenResolutions},
    {WC_BUTTONW, kOption | WS_GROUP, 0, L"On", L"Sound On", 184, 88, 41, 17},
    {WC_BUTTONW, kOption, 0, L"Off", L"Sound Off", 248, 88, 41, 17},
    {WC_BUTTONW, kOption | WS_GROUP, 0, L"Stereo", L"Stereo Sound", 320, 88, 57, 17},
    {WC_BUTTONW, kOption, 0, L"Mono", L"Mono Sound", 392, 88, 49, 17},
    {WC_COMBOBOXW, kDropDown, 0, L"", L"Pick a sound rate", 184, 136, 89, 240, Setup::Items, kSoundRates},
    {WC_COMBOBOXW, kDropDown, 0, L"", L"drives", 16, 32, 129, 240, Setup::Drives},
    {WC_LISTBOXW, kOwnerDrawnList, WS_EX_CLIENTEDGE, L"", L"Directories", 16, 64, 129, 111},
    {WC_LISTVIEWW, kFileList, WS_EX_CLIENTEDGE, L"", L"Roms in current directory", 16, 200, 129, 149, Setup::Column},
    {WC_COMBOBOXW, kDropDown, 0, L"", L"Pick a frame rate", 392, 32, 49, 240, Setup::Items, kFrameRates},
    {WC_COMBOBOXW, kDropDown, 0, L"", L"Pick a joystick type", 312, 136, 97, 240, Setup::Items, kJoystickTypes},
    {WC_BUTTONW, kOption | WS_GROUP, 0, L"On", L"Joystick On", 184, 192, 41, 17},
    {WC_BUTTONW, kOption, 0, L"Off", L"Joystick Off", 248, 192, 41, 17},
    {WC_BUTTONW, kOption | WS_GROUP, 0, L"On", L"-i2 option On", 184, 240, 41, 17},
    {WC_BUTTONW, kOption, 0, L"Off", L"-i2 option Off", 248, 240, 41, 17},
    {WC_BUTTONW, kCheck, 0, L"Scale Image to Screen", L"Scale image to current screen resolution", 312, 216, 129, 17},
    {WC_BUTTONW, kCheck, 0, L"Transparent Effects", L"Turn on transparent effects", 312, 240, 129, 17},
    {WC_BUTTONW, kOption | WS_GROUP, 0, L"Hi Rom", L"Hi-Rom format", 176, 288, 57, 17},
    {WC_BUTTONW, kOption, 0, L"Lo Rom", L"Lo Rom format", 232, 288, 57, 17},
    {WC_BUTTONW, kOption, 0, L"Don't Force", L"Don't force the rom format", 176, 308, 77, 17},
    {WC_BUTTONW, kCheck, 0, L"16 Bit Colour", L"16-bit Colour", 312, 192, 129, 17},
    {WC_EDITW, kText, WS_EX_CLIENTEDGE, L"", L"Enter extra parameters", 176, 356, 161, 19},
    {WC_BUTTONW, kCheck, 0, L"TV Support", nullptr, 312, 264, 77, 17},
};
// clang-format on

constexpr int kClientWidth = 465;
constexpr int kClientHeight = 435;
constexpr int kStatusEdges[] = {267, 462};
constexpr int kPictureWidth = 101;
constexpr int kPictureHeight = 74;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;

HMENU CreateMenuBar() {
    HMENU options = CreatePopupMenu();
    AppendMenuW(options, MF_STRING, 1001, L"File &Locations");
    AppendMenuW(options, MF_STRING, 1002, L"&Game Genie Codes");
    AppendMenuW(options, MF_STRING, 1003, L"Sa&ve Settings");
    HMENU help = CreatePopupMenu();
    AppendMenuW(help, MF_STRING, 1004, L"Snes9x &Keyboard Reference");
    AppendMenuW(help, MF_STRING, 1005, L"&Complete Snes9x Readme");
    AppendMenuW(help, MF_STRING, 1006, L"&About...");
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_STRING, 1000, L"E&xit");
    AppendMenuW(bar, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(options), L"&Options");
    AppendMenuW(bar, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"&Help");
    return bar;
}

void AddDrives(HWND comboBox) {
    const DWORD drives = GetLogicalDrives();
    for (int letter = 0; letter < 26; ++letter) {
        if ((drives & (1u << letter)) != 0) {
            const wchar_t text[] = {static_cast<wchar_t>(L'a' + letter), L':', L'\0'};
            SendMessageW(comboBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        }
    }
}

LRESULT CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    INITCOMMONCONTROLSEX common{sizeof(common),
                                ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&common);

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = FloorProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"LumarelFloorControls";
    if (RegisterClassExW(&windowClass) == 0) {
        return 1;
    }
    RECT outer{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&outer, kStyle, TRUE, kExStyle);
    HWND window =
        CreateWindowExW(kExStyle, windowClass.lpszClassName, L"Floor", kStyle, CW_USEDEFAULT,
                        CW_USEDEFAULT, outer.right - outer.left, outer.bottom - outer.top, nullptr,
                        CreateMenuBar(), instance, nullptr);
    if (window == nullptr) {
        return 1;
    }

    LOGFONTW logFont{};
    logFont.lfHeight = -MulDiv(8, USER_DEFAULT_SCREEN_DPI, 72);
    logFont.lfWeight = FW_NORMAL;
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfQuality = CLEARTYPE_QUALITY;
    lstrcpynW(logFont.lfFaceName, L"MS Shell Dlg 2", LF_FACESIZE);
    HFONT font = CreateFontIndirectW(&logFont);

    HWND tooltips =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr, instance, nullptr);
    SendMessageW(tooltips, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);

    HDC screen = GetDC(nullptr);
    HBITMAP picture = CreateCompatibleBitmap(screen, kPictureWidth, kPictureHeight);
    ReleaseDC(nullptr, screen);

    for (size_t index = 0; index < std::size(kControls); ++index) {
        const Control& c = kControls[index];
        HWND control = CreateWindowExW(
            c.exStyle, c.className, c.caption, WS_CHILD | WS_VISIBLE | c.style, c.left, c.top,
            c.width, c.height, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(100 + index)),
            instance, nullptr);
        if (control == nullptr) {
            return 1;
        }
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (c.setup == Setup::Items) {
            for (const wchar_t* item : c.items) {
                SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
            }
        } else if (c.setup == Setup::Drives) {
            AddDrives(control);
        } else if (c.setup == Setup::Panels) {
            SendMessageW(control, SB_SETPARTS, std::size(kStatusEdges),
                         reinterpret_cast<LPARAM>(kStatusEdges));
        } else if (c.setup == Setup::Picture) {
            SendMessageW(control, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
        } else if (c.setup == Setup::Column) {
            LVCOLUMNW column{};
            column.mask = LVCF_WIDTH;
            column.cx = c.width - 4;
            SendMessageW(control, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
        }
        if (c.tooltip != nullptr) {
            // Without TTF_SUBCLASS, as Lumarel adds its tools.
            TTTOOLINFOW tool{};
            tool.cbSize = sizeof(tool);
            tool.uFlags = TTF_IDISHWND;
            tool.hwnd = window;
            tool.uId = reinterpret_cast<UINT_PTR>(control);
            tool.lpszText = const_cast<wchar_t*>(c.tooltip);
            SendMessageW(tooltips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    DeleteObject(picture);
    DeleteObject(font);
    return 0;
}
