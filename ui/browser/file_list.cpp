#include "ui/browser/file_list.h"

#include <windowsx.h>

#include <algorithm>

#include "ui/controls/dpi.h"
#include "platform/win32/text_fold.h"
#include "ui/browser/file_pattern.h"
#include "ui/window/handler_guard.h"

namespace lumarel {

namespace {

// Whether `name` starts with `text` (is it, when not `partial`), letter case aside.
bool NameMatches(std::wstring_view name, const std::wstring& text, bool partial) {
    if (name.size() < text.size() || (!partial && name.size() != text.size())) {
        return false;
    }
    return CompareStringOrdinal(name.data(), static_cast<int>(text.size()), text.c_str(),
                                static_cast<int>(text.size()), TRUE) == CSTR_EQUAL;
}

void SetStates(HWND listView, int item, UINT states) {
    LVITEMW change{};
    change.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    change.state = states;
    SendMessageW(listView, LVM_SETITEMSTATE, static_cast<WPARAM>(item),
                 reinterpret_cast<LPARAM>(&change));
}

}  // namespace

FileList::FileList(FileSystem& fileSystem, std::wstring patternList)
    : fileSystem_(fileSystem), patterns_(SplitPatternList(patternList)), typing_(FoldedForSearch) {}

FileList::~FileList() {
    RemoveGuardedSubclass<&FileList::OnListViewMessage>(listView_);
}

void FileList::Attach(HWND listView) {
    listView_ = listView;
    SendMessageW(listView_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                 LVS_EX_FULLROWSELECT);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    SendMessageW(listView_, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    // The list's hover text is Lumarel's ("Currently Selected ROM: ..."): no tooltip of the
    // list view's own may show over it.
    if (HWND own = reinterpret_cast<HWND>(SendMessageW(listView_, LVM_SETTOOLTIPS, 0, 0))) {
        DestroyWindow(own);
    }
    SetWindowSubclass(listView_, GuardedSubclass<&FileList::OnListViewMessage>, 0,
                      reinterpret_cast<DWORD_PTR>(this));
    FitColumn(CurrentlyScrolls());
}

OsResult FileList::SetDirectory(const std::wstring& directory) {
    DirectoryListing entries;
    const OsResult listed = fileSystem_.List(directory, entries);
    if (!listed.ok) {
        entries.Clear();
    }
    ShowDirectory(directory, std::make_shared<const DirectoryListing>(std::move(entries)));
    return listed;
}

void FileList::ShowDirectory(const std::wstring& directory,
                             std::shared_ptr<const DirectoryListing> entries) {
    // All that can run out of memory first, so that a failure leaves the old list whole.
    std::wstring shown = directory;
    std::vector<std::size_t> listed = ListedFiles(*entries, patterns_);
    directory_ = std::move(shown);
    entries_ = std::move(entries);
    listed_ = std::move(listed);
    typing_.NamesChanged();

    // The control learns only the count: no selection, the top in view, no click told.
    // Only the lines that hold a state are cleared: clearing all of them, or deleting them,
    // costs a step for every line of the old directory.
    selectingByCode_ = true;
    for (const int line :
         {selected_, static_cast<int>(SendMessageW(listView_, LVM_GETNEXTITEM,
                                                   static_cast<WPARAM>(-1), LVNI_FOCUSED))}) {
        if (line >= 0) {
            SetStates(listView_, line, 0);
        }
    }
    selected_ = -1;
    // Narrower before the count, wider only once the count has settled: a column widened
    // while the vertical bar goes is measured against the list's old width and brings a
    // horizontal bar that stays.
    if (ScrollsWith(listed_.size())) {
        FitColumn(true);
    }
    countChanging_ = true;
    SendMessageW(listView_, LVM_SETITEMCOUNT, listed_.size(), LVSICF_NOSCROLL);
    countChanging_ = false;
    FitColumn(CurrentlyScrolls());
    SendMessageW(listView_, LVM_ENSUREVISIBLE, 0, FALSE);
    selectingByCode_ = false;
}

int FileList::SelectedIndex() const {
    return selected_;
}

void FileList::SetSelectedIndex(int index) {
    selectingByCode_ = true;
    if (selected_ >= 0) {
        SetStates(listView_, selected_, 0);
    }
    if (index >= 0 && index < Count()) {
        SetStates(listView_, index, LVIS_SELECTED | LVIS_FOCUSED);
        SendMessageW(listView_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
    }
    selectingByCode_ = false;
}

std::wstring FileList::SelectedEntry() const {
    return Entry(SelectedIndex());
}

std::wstring FileList::Entry(int index) const {
    return std::wstring(Name(index));
}

std::wstring_view FileList::Name(int index) const {
    if (index < 0 || index >= Count()) {
        return {};
    }
    return entries_->NameAt(listed_[static_cast<size_t>(index)]);
}

int FileList::Find(const std::wstring& text, bool partial, bool wrap, int start) const {
    const int count = Count();
    if (count == 0 || start >= count) {
        if (!wrap || count == 0) {
            return -1;
        }
        start = 0;
    }
    start = std::max(start, 0);
    const int end = wrap ? start + count : count;
    for (int step = start; step < end; ++step) {
        if (NameMatches(Name(step % count), text, partial)) {
            return step % count;
        }
    }
    return -1;
}

void FileList::FitColumn(bool scrollBar) {
    // One column as wide as the list, less the scroll bar when it shows. Under Wine showing
    // a scroll bar costs some 20 ms: the column is made narrower before the vertical bar
    // comes (ShowDirectory), so that the horizontal one never does.
    RECT client{};
    GetClientRect(listView_, &client);
    const bool scrolls = (GetWindowLongPtrW(listView_, GWL_STYLE) & WS_VSCROLL) != 0;
    const int bar = SystemMetric(SM_CXVSCROLL, WindowDpi(listView_));
    const auto width = static_cast<int>(std::max<LONG>(
        0, client.right - client.left + (scrolls ? bar : 0) - (scrollBar ? bar : 0)));
    if (width != static_cast<int>(SendMessageW(listView_, LVM_GETCOLUMNWIDTH, 0, 0))) {
        SendMessageW(listView_, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(width, 0));
    }
}

bool FileList::ScrollsWith(std::size_t lines) const {
    // The list's own count of the lines a page holds, by which it decides on its bar. (The
    // height of all lines comes back in 16 bits, too few for a few thousand of them.)
    const auto perPage = SendMessageW(listView_, LVM_GETCOUNTPERPAGE, 0, 0);
    return lines > static_cast<std::size_t>(std::max<LRESULT>(perPage, 0));
}

std::optional<LRESULT> FileList::OnNotification(UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_NOTIFY) {
        return std::nullopt;
    }
    return OnNotify(*reinterpret_cast<NMHDR*>(lParam));
}

LRESULT FileList::OnNotify(NMHDR& header) {
    switch (header.code) {
        case LVN_GETDISPINFOW: {
            LVITEMW& item = reinterpret_cast<NMLVDISPINFOW&>(header).item;
            if ((item.mask & LVIF_TEXT) != 0 && item.pszText != nullptr && item.cchTextMax > 0) {
                // Copied into the asker's buffer, which may be another program's.
                const std::wstring_view name = Name(item.iItem);
                const size_t length =
                    std::min(name.size(), static_cast<size_t>(item.cchTextMax) - 1);
                std::copy_n(name.data(), length, item.pszText);
                item.pszText[length] = L'\0';
            }
            return 0;
        }
        case LVN_ODFINDITEMW: {
            // Finds asked for by other programs (LVM_FINDITEM). What is typed in the list is
            // found by Lumarel's own search (OnListViewMessage), never the list view's.
            const auto& find = reinterpret_cast<const NMLVFINDITEMW&>(header);
            // Newer Windows asks by LVFI_SUBSTRING, the same as LVFI_PARTIAL, which not every
            // header names.
            constexpr UINT kStartsWith = LVFI_PARTIAL | 0x0004;
            if ((find.lvfi.flags & (LVFI_STRING | kStartsWith)) == 0 || find.lvfi.psz == nullptr) {
                return -1;
            }
            return Find(find.lvfi.psz, (find.lvfi.flags & kStartsWith) != 0,
                        (find.lvfi.flags & LVFI_WRAP) != 0, find.iStart);
        }
        case LVN_ITEMCHANGED: {
            // The selection is kept here: the list view finds it only by looking at every
            // line in turn.
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
            if ((change.uChanged & LVIF_STATE) == 0 ||
                ((change.uNewState ^ change.uOldState) & LVIS_SELECTED) == 0) {
                return 0;
            }
            const int before = selected_;
            if ((change.uNewState & LVIS_SELECTED) != 0) {
                selected_ = change.iItem;
            } else if (change.iItem == selected_ || change.iItem < 0) {
                selected_ = -1;
            }
            if (selected_ >= 0 && selected_ != before && !selectingByCode_) {
                clickChangedSelection_ = true;
                Tell(kLineClick);
            }
            return 0;
        }
        case LVN_DELETEALLITEMS:
            return TRUE;  // no notice for each of thousands of lines: the list holds nothing
        case NM_CLICK: {
            // A click on the line already selected tells the window again, as a list box
            // does: its size and name come back to the status bar and the hover text.
            const int line = reinterpret_cast<const NMITEMACTIVATE&>(header).iItem;
            if (line >= 0 && line == selected_ && !clickChangedSelection_) {
                Tell(kLineClick);
            }
            return 0;
        }
        case NM_DBLCLK:
            if (reinterpret_cast<const NMITEMACTIVATE&>(header).iItem >= 0) {
                Tell(kLineDoubleClick);
            }
            return 0;
        case NM_CUSTOMDRAW: {
            auto& draw = reinterpret_cast<NMLVCUSTOMDRAW&>(header);
            if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) {
                return CDRF_NOTIFYITEMDRAW;
            }
            if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT ||
                static_cast<int>(draw.nmcd.dwItemSpec) != selected_) {
                return CDRF_DODEFAULT;
            }
            // A selected line in the highlight colours, with or without the focus, as in a
            // list box.
            draw.nmcd.uItemState &= ~CDIS_SELECTED;
            draw.clrText = GetSysColor(COLOR_HIGHLIGHTTEXT);
            draw.clrTextBk = GetSysColor(COLOR_HIGHLIGHT);
            return CDRF_NEWFONT;
        }
        default:
            return 0;
    }
}

std::optional<LRESULT> FileList::OnListViewMessage(HWND listView, UINT message, WPARAM wParam,
                                                   LPARAM lParam, DWORD_PTR data) {
    auto* self = reinterpret_cast<FileList*>(data);
    switch (message) {
        case WM_SIZE: {
            const LRESULT result = DefSubclassProc(listView, message, wParam, lParam);
            if (!self->countChanging_) {
                self->FitColumn(self->CurrentlyScrolls());
            }
            return result;
        }
        case WM_CHAR: {
            const int focused = static_cast<int>(
                SendMessageW(listView, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
            const ListTypeAhead::Outcome typed = self->typing_.Type(
                static_cast<wchar_t>(wParam), static_cast<std::uint32_t>(GetMessageTime()), focused,
                self->listed_.size(),
                [self](std::size_t line) { return self->Name(static_cast<int>(line)); });
            if (!typed.taken) {
                return std::nullopt;
            }
            if (typed.line >= 0) {
                // Selected as a click selects it: the list view tells the change, to the
                // window (File1_Click) and to screen readers alike.
                SetStates(listView, typed.line, LVIS_SELECTED | LVIS_FOCUSED);
                SendMessageW(listView, LVM_ENSUREVISIBLE, static_cast<WPARAM>(typed.line), FALSE);
            }
            return 0;
        }
        case WM_KEYDOWN:
            // A blank within a search is part of it: the list view must not take the key as
            // the selection's own and report the line again.
            if (wParam == VK_SPACE &&
                self->typing_.Searching(static_cast<std::uint32_t>(GetMessageTime()))) {
                return 0;
            }
            return std::nullopt;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
            // A list box does nothing with the right button but take the focus.
            SetFocus(listView);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            LVHITTESTINFO hit{};
            hit.pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (SendMessageW(listView, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) < 0) {
                // Below the last name: the selection stays, as in a list box.
                SetFocus(listView);
                return 0;
            }
            if (message == WM_LBUTTONDOWN) {
                self->clickChangedSelection_ = false;
            }
            return std::nullopt;
        }
        default:
            return std::nullopt;
    }
}

}  // namespace lumarel
