#pragma once
// A file list: the files of one directory whose names match a pattern list, in a list view
// that holds no names of its own. It learns only how many there are and asks for a name when
// it draws one or when another program or a screen reader reads one, so a directory of
// thousands of ROMs costs what reading it costs.

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/services.h"
#include "ui/browser/type_ahead.h"
#include "ui/controls/decoding_control.h"

namespace lumarel {

class FileList final : public DecodingControl {
public:
    FileList(FileSystem& fileSystem, std::wstring patternList);
    // Takes its handler off the list view, which may outlive it.
    ~FileList();

    // Takes over an owner-data list view that the window created: one column, no header.
    void Attach(HWND listView);
    HWND Hwnd() const { return listView_; }

    // Shows the matching files of the directory, with no selection. A directory that
    // cannot be read leaves the list empty; the reason is returned.
    OsResult SetDirectory(const std::wstring& directory);
    // The same for a directory whose entries were listed already; the list keeps them
    // rather than a copy of every name.
    void ShowDirectory(const std::wstring& directory,
                       std::shared_ptr<const DirectoryListing> entries);
    const std::wstring& Directory() const { return directory_; }

    int Count() const { return static_cast<int>(listed_.size()); }
    int SelectedIndex() const;
    // Selects an entry (-1: none) as code does it: no click is reported.
    void SetSelectedIndex(int index);
    // The selected entry's name; empty when nothing is selected.
    std::wstring SelectedEntry() const;
    std::wstring Entry(int index) const;

    // Names asked for, a selection by mouse or keyboard (told as kLineClick),
    // a double-click (kLineDoubleClick), the drawing of a selected line.
    std::optional<LRESULT> OnNotification(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT OnNotify(NMHDR& header);
    static std::optional<LRESULT> OnListViewMessage(HWND listView, UINT message, WPARAM wParam,
                                                    LPARAM lParam, DWORD_PTR data);
    std::wstring_view Name(int index) const;
    // The first entry from `start` on, going round when asked, whose name starts with (or
    // is) `text`, letter case aside.
    int Find(const std::wstring& text, bool partial, bool wrap, int start) const;
    void FitColumn(bool scrollBar);
    // Whether the list shows its scroll bar, or would with so many lines.
    bool CurrentlyScrolls() const {
        return (GetWindowLongPtrW(listView_, GWL_STYLE) & WS_VSCROLL) != 0;
    }
    bool ScrollsWith(std::size_t lines) const;

    FileSystem& fileSystem_;
    std::vector<std::wstring> patterns_;
    HWND listView_ = nullptr;
    std::wstring directory_;
    std::shared_ptr<const DirectoryListing> entries_ = std::make_shared<const DirectoryListing>();
    std::vector<std::size_t> listed_;  // the entries shown, in their order
    int selected_ = -1;                // the selected line, as the list view reports it
    bool selectingByCode_ = false;
    bool clickChangedSelection_ = false;  // the click under way selected another line
    bool countChanging_ = false;          // the column is fitted once the count has settled
    ListTypeAhead typing_;
};

}  // namespace lumarel
