#include "ui/browser/directory_list.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/long_paths.h"
#include "platform/owned.h"
#include "platform/win32/live_wait.h"
#include "platform/win32/text_fold.h"
#include "ui/controls/dpi.h"
#include "ui/window/handler_guard.h"
#include "ui/browser/list_paths.h"

namespace lumarel {

namespace {

// Lumarel's own message to the list box: open the selected line now.
constexpr UINT kOpenSelectedMessage = WM_APP + 2;

// Twips each level of the path is indented by, and a folder picture's size.
constexpr int kIndentTwips = 180;
constexpr int kFolderTwips = 240;

// A folder drawn in a square of `size` pixels: a tab and a body, and for an open folder a
// lighter front leaning back. Drawn rather than asked of the shell, whose first icon request
// costs a noticeable part of Lumarel's start-up.
void DrawFolder(HDC dc, int x, int y, int size, bool open) {
    // Drawn on a grid of 16 steps, whatever the size the dpi gives.
    const auto at = [size](int step) { return step * size / 16; };
    const OwnedPen outline(CreatePen(PS_SOLID, 1, RGB(150, 110, 20)));
    const OwnedBrush body(CreateSolidBrush(RGB(232, 190, 80)));
    const OwnedBrush front(CreateSolidBrush(RGB(250, 220, 120)));
    // Put back before the pen and brushes go, as the guards go first.
    const SelectedObject pen(dc, outline.Get());
    const SelectedObject brush(dc, body.Get());
    Rectangle(dc, x + at(1), y + at(3), x + at(7), y + at(6));    // tab
    Rectangle(dc, x + at(1), y + at(5), x + at(15), y + at(14));  // body
    if (open) {
        SelectObject(dc, front.Get());
        const POINT lid[] = {{x + at(3), y + at(8)},
                             {x + at(16) - 1, y + at(8)},
                             {x + at(14), y + at(14)},
                             {x + at(1), y + at(14)}};
        Polygon(dc, lid, 4);
    }
}

bool LessIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_LESS_THAN;
}

// "C:\ROMS\" and "C:\ROMS" are one directory; a root keeps its backslash.
std::wstring WithoutTrailingBackslash(std::wstring path) {
    while (path.size() > 3 && path.back() == L'\\' && path.rfind(L"\\\\", 0) != 0) {
        path.pop_back();
    }
    return path;
}

}  // namespace

DirectoryList::DirectoryList(FileSystem& fileSystem)
    : fileSystem_(fileSystem), typing_(FoldedForSearch) {}

DirectoryList::~DirectoryList() {
    RemoveGuardedSubclass<&DirectoryList::OnListBoxMessage>(listBox_);
}

void DirectoryList::Attach(HWND listBox, UINT dpi) {
    listBox_ = listBox;
    SetWindowSubclass(listBox_, GuardedSubclass<&DirectoryList::OnListBoxMessage>, 0,
                      reinterpret_cast<DWORD_PTR>(this));
    SetDpi(dpi);
}

void DirectoryList::SetDpi(UINT dpi) {
    dpi_ = dpi;
    const int lineHeight = TwipsToPixels(kFolderTwips, dpi) + 2;
    SendMessageW(listBox_, LB_SETITEMHEIGHT, 0, lineHeight);
}

OsResult DirectoryList::SetDirectory(const std::wstring& path) {
    std::wstring full = fileSystem_.FullPath(path);
    if (full.empty()) {
        return OsResult::Failure(161, L"The specified path is invalid.");  // ERROR_BAD_PATHNAME
    }
    full = WithoutTrailingBackslash(full);
    DirectoryListing entries;
    const OsResult listed = fileSystem_.List(full, entries);
    if (!listed.ok) {
        return listed;
    }

    std::vector<std::wstring> subdirectories;
    for (const DirectoryListing::Entry& entry : entries.Entries()) {
        if (entry.isDirectory && !entry.isHidden) {
            subdirectories.emplace_back(entries.NameOf(entry));
        }
    }
    std::sort(subdirectories.begin(), subdirectories.end(), LessIgnoringCase);

    // The new lines are built aside and taken only when whole: running out of memory
    // half-way leaves the old lines, directory and entries together with the list box.
    std::vector<Line> lines;
    int level = 0;
    for (const ChainEntry& ancestor : DirectoryChain(full)) {
        lines.push_back({ancestor.path, ancestor.display, level++, true});
    }
    for (const std::wstring& name : subdirectories) {
        lines.push_back({JoinPath(full, name), name, level, false});
    }
    auto listing = std::make_shared<const DirectoryListing>(std::move(entries));
    lines_.swap(lines);
    directory_ = std::move(full);
    entries_ = std::move(listing);
    typing_.NamesChanged();

    SendMessageW(listBox_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(listBox_, LB_RESETCONTENT, 0, 0);
    for (const Line& line : lines_) {
        SendMessageW(listBox_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.text.c_str()));
    }
    const int current = level - 1;
    SendMessageW(listBox_, LB_SETCURSEL, static_cast<WPARAM>(current), 0);
    SendMessageW(listBox_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(listBox_, nullptr, TRUE);
    Tell(kListChange);
    return OsResult::Success();
}

std::wstring DirectoryList::LinePath(int index) const {
    return index >= 0 && index < Count() ? lines_[static_cast<size_t>(index)].path : std::wstring();
}

std::wstring DirectoryList::LineText(int index) const {
    return index >= 0 && index < Count() ? lines_[static_cast<size_t>(index)].text : std::wstring();
}

int DirectoryList::LineLevel(int index) const {
    return index >= 0 && index < Count() ? lines_[static_cast<size_t>(index)].level : -1;
}

void DirectoryList::OpenSelected() {
    if (win32::WaitUnderWay()) {
        // Asked by another program while a handler waits for a drive: opened after it, as the
        // list is selected then.
        win32::SendAfterTheHandler(listBox_, kOpenSelectedMessage);
        return;
    }
    const int selected = static_cast<int>(SendMessageW(listBox_, LB_GETCURSEL, 0, 0));
    const std::wstring path = LinePath(selected);
    if (!path.empty()) {
        SetDirectory(path);  // an unreadable directory leaves the list as it was
    }
}

std::optional<LRESULT> DirectoryList::OnNotification(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DRAWITEM) {
        DrawLine(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == LBN_DBLCLK) {
        OpenSelected();
    }
    return 0;
}

void DirectoryList::DrawLine(const DRAWITEMSTRUCT& item) const {
    if (item.itemID == static_cast<UINT>(-1) || static_cast<int>(item.itemID) >= Count()) {
        return;
    }
    const Line& line = lines_[item.itemID];
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const int iconSize = TwipsToPixels(kFolderTwips, dpi_);
    int x = item.rcItem.left + 2 + line.level * TwipsToPixels(kIndentTwips, dpi_);
    const int height = item.rcItem.bottom - item.rcItem.top;
    DrawFolder(item.hDC, x, item.rcItem.top + (height - iconSize) / 2, iconSize, line.open);
    x += iconSize + 3;
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT text = item.rcItem;
    text.left = x;
    DrawTextW(item.hDC, line.text.c_str(), static_cast<int>(line.text.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if ((item.itemState & ODS_FOCUS) != 0) {
        DrawFocusRect(item.hDC, &item.rcItem);
    }
}

std::optional<LRESULT> DirectoryList::OnListBoxMessage(HWND listBox, UINT message, WPARAM wParam,
                                                       LPARAM lParam, DWORD_PTR data) {
    auto* self = reinterpret_cast<DirectoryList*>(data);
    switch (message) {
        case WM_GETDLGCODE:
            // Enter opens the selected directory instead of pressing a default button.
            if (lParam != 0 && reinterpret_cast<const MSG*>(lParam)->message == WM_KEYDOWN &&
                reinterpret_cast<const MSG*>(lParam)->wParam == VK_RETURN) {
                return DLGC_WANTMESSAGE | DefSubclassProc(listBox, message, wParam, lParam);
            }
            return std::nullopt;
        case WM_KEYDOWN:
            if (wParam == VK_RETURN) {
                self->OpenSelected();
                return 0;
            }
            return std::nullopt;
        case WM_CHAR: {
            // Typing moves the selection, as the arrow keys do; it opens nothing.
            const ListTypeAhead::Outcome typed = self->typing_.Type(
                static_cast<wchar_t>(wParam), static_cast<std::uint32_t>(GetMessageTime()),
                static_cast<int>(SendMessageW(listBox, LB_GETCURSEL, 0, 0)), self->lines_.size(),
                [self](std::size_t line) { return std::wstring_view(self->lines_[line].text); });
            if (!typed.taken) {
                return std::nullopt;
            }
            if (typed.line >= 0) {
                SendMessageW(listBox, LB_SETCURSEL, static_cast<WPARAM>(typed.line), 0);
            }
            return 0;
        }
        case kOpenSelectedMessage:
            self->OpenSelected();
            return 0;
        default:
            return std::nullopt;
    }
}

}  // namespace lumarel
