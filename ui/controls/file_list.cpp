#include "ui/controls/file_list.h"

#include <windowsx.h>

#include <algorithm>

#include "ui/controls/file_pattern.h"
#include "ui/controls/handler_guard.h"

namespace lumarel {

namespace {

// Whether `name` starts with `text` (is it, when not `partial`), letter case aside.
bool NameMatches(const std::wstring& name, const std::wstring& text, bool partial) {
    if (name.size() < text.size() || (!partial && name.size() != text.size())) {
        return false;
    }
    return CompareStringOrdinal(name.c_str(), static_cast<int>(text.size()), text.c_str(),
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
    : fileSystem_(fileSystem), patterns_(SplitPatternList(patternList)) {}

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
    SetWindowSubclass(listView_, ListViewProc, 0, reinterpret_cast<DWORD_PTR>(this));
    FitColumn();
}

OsResult FileList::SetDirectory(const std::wstring& directory) {
    std::vector<DirectoryEntry> entries;
    const OsResult listed = fileSystem_.List(directory, entries);
    if (!listed.ok) {
        entries.clear();
    }
    ShowDirectory(directory,
                  std::make_shared<const std::vector<DirectoryEntry>>(std::move(entries)));
    return listed;
}

void FileList::ShowDirectory(const std::wstring& directory,
                             std::shared_ptr<const std::vector<DirectoryEntry>> entries) {
    // All that can run out of memory first, so that a failure leaves the old list whole.
    std::wstring shown = directory;
    std::vector<std::size_t> listed = ListedFiles(*entries, patterns_);
    directory_ = std::move(shown);
    entries_ = std::move(entries);
    listed_ = std::move(listed);

    // The control learns only the count: no selection, the top in view, no click told.
    selectingByCode_ = true;
    SendMessageW(listView_, LVM_DELETEALLITEMS, 0, 0);
    SendMessageW(listView_, LVM_SETITEMCOUNT, listed_.size(), 0);
    selectingByCode_ = false;
    FitColumn();
}

int FileList::SelectedIndex() const {
    return static_cast<int>(
        SendMessageW(listView_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void FileList::SetSelectedIndex(int index) {
    selectingByCode_ = true;
    SetStates(listView_, -1, 0);
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
    return Name(index);
}

const std::wstring& FileList::Name(int index) const {
    static const std::wstring kNone;
    if (index < 0 || index >= Count()) {
        return kNone;
    }
    return (*entries_)[listed_[static_cast<size_t>(index)]].name;
}

int FileList::Find(const std::wstring& text, bool partial, bool wrap, int start) const {
    const int count = Count();
    if (count == 0) {
        return -1;
    }
    start = std::clamp(start, 0, count - 1);
    const int end = wrap ? start + count : count;
    for (int step = start; step < end; ++step) {
        if (NameMatches(Name(step % count), text, partial)) {
            return step % count;
        }
    }
    return -1;
}

void FileList::FitColumn() {
    // One column as wide as the list, whether or not its scroll bar shows.
    RECT client{};
    GetClientRect(listView_, &client);
    SendMessageW(listView_, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(client.right - client.left, 0));
}

LRESULT FileList::OnNotify(NMHDR& header) {
    switch (header.code) {
        case LVN_GETDISPINFOW: {
            LVITEMW& item = reinterpret_cast<NMLVDISPINFOW&>(header).item;
            if ((item.mask & LVIF_TEXT) != 0 && item.pszText != nullptr && item.cchTextMax > 0) {
                // Copied into the asker's buffer, which may be another program's.
                const std::wstring& name = Name(item.iItem);
                const size_t length =
                    std::min(name.size(), static_cast<size_t>(item.cchTextMax) - 1);
                std::copy_n(name.data(), length, item.pszText);
                item.pszText[length] = L'\0';
            }
            return 0;
        }
        case LVN_ODFINDITEMW: {
            // Letters typed in the list, and finds asked for by other programs.
            const auto& find = reinterpret_cast<const NMLVFINDITEMW&>(header);
            if ((find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) == 0 || find.lvfi.psz == nullptr) {
                return -1;
            }
            return Find(find.lvfi.psz, (find.lvfi.flags & LVFI_PARTIAL) != 0,
                        (find.lvfi.flags & LVFI_WRAP) != 0, find.iStart);
        }
        case LVN_ITEMCHANGED: {
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
            const bool selected = (change.uChanged & LVIF_STATE) != 0 &&
                                  (change.uNewState & LVIS_SELECTED) != 0 &&
                                  (change.uOldState & LVIS_SELECTED) == 0;
            if (selected && !selectingByCode_ && onClick) {
                onClick();
            }
            return 0;
        }
        case NM_DBLCLK:
            if (reinterpret_cast<const NMITEMACTIVATE&>(header).iItem >= 0 && onDoubleClick) {
                onDoubleClick();
            }
            return 0;
        case NM_CUSTOMDRAW: {
            auto& draw = reinterpret_cast<NMLVCUSTOMDRAW&>(header);
            if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) {
                return CDRF_NOTIFYITEMDRAW;
            }
            const auto item = static_cast<WPARAM>(draw.nmcd.dwItemSpec);
            if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT &&
                (SendMessageW(listView_, LVM_GETITEMSTATE, item, LVIS_SELECTED) & LVIS_SELECTED)) {
                // A selected line in the highlight colours, with or without the focus, as in
                // a list box.
                draw.nmcd.uItemState &= ~CDIS_SELECTED;
                draw.clrText = GetSysColor(COLOR_HIGHLIGHTTEXT);
                draw.clrTextBk = GetSysColor(COLOR_HIGHLIGHT);
                return CDRF_NEWFONT;
            }
            return CDRF_DODEFAULT;
        }
        default:
            return 0;
    }
}

LRESULT CALLBACK FileList::ListViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR id, DWORD_PTR data) {
    return CatchAtSystemBoundary(
        message,
        [&]() -> LRESULT {
            auto* self = reinterpret_cast<FileList*>(data);
            switch (message) {
                case WM_SIZE: {
                    const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
                    self->FitColumn();
                    return result;
                }
                case WM_LBUTTONDOWN:
                case WM_LBUTTONDBLCLK:
                case WM_RBUTTONDOWN: {
                    // A click below the last name keeps the selection, as in a list box.
                    LVHITTESTINFO hit{};
                    hit.pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                    if (SendMessageW(window, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) < 0) {
                        SetFocus(window);
                        return 0;
                    }
                    break;
                }
                case WM_NCDESTROY:
                    RemoveWindowSubclass(window, ListViewProc, id);
                    break;
                default:
                    break;
            }
            return DefSubclassProc(window, message, wParam, lParam);
        },
        [&] { return DefSubclassProc(window, message, wParam, lParam); });
}

}  // namespace lumarel
