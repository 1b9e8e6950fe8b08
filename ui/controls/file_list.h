#pragma once
// A file list: the files of one directory whose names match a pattern list, in a list box.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/services.h"

namespace lumarel {

class FileList {
public:
    FileList(FileSystem& fileSystem, std::wstring patternList);

    // Takes over a list box that the window created.
    void Attach(HWND listBox) { listBox_ = listBox; }
    HWND Hwnd() const { return listBox_; }

    // Shows the matching files of the directory, with no selection. A directory that
    // cannot be read leaves the list empty; the reason is returned.
    OsResult SetDirectory(const std::wstring& directory);
    // The same for a directory whose entries were listed already; the list keeps them
    // rather than a copy of every name.
    void ShowDirectory(const std::wstring& directory,
                       std::shared_ptr<const std::vector<DirectoryEntry>> entries);
    const std::wstring& Directory() const { return directory_; }

    int Count() const { return static_cast<int>(listed_.size()); }
    int SelectedIndex() const;
    void SetSelectedIndex(int index);
    // The selected entry's name; empty when nothing is selected.
    std::wstring SelectedEntry() const;
    std::wstring Entry(int index) const;

    // The window's share of WM_COMMAND: a selection by mouse or keyboard, a double-click.
    void OnCommand(int code);
    std::function<void()> onClick;
    std::function<void()> onDoubleClick;

private:
    FileSystem& fileSystem_;
    std::vector<std::wstring> patterns_;
    HWND listBox_ = nullptr;
    std::wstring directory_;
    std::shared_ptr<const std::vector<DirectoryEntry>> entries_;
    std::vector<std::size_t> listed_;  // the entries shown, in their order
};

}  // namespace lumarel
