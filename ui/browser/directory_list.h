#pragma once
// A directory list: the current directory's path from the root down, each ancestor one step
// further in with an open folder, then its subdirectories with closed folders. A
// double-click or Enter opens an entry, typing the start of a name selects it. It never
// changes the process's current directory.

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/services.h"
#include "ui/browser/type_ahead.h"
#include "ui/controls/decoding_control.h"

namespace lumarel {

class DirectoryList final : public DecodingControl {
public:
    explicit DirectoryList(FileSystem& fileSystem);
    // Takes its handler off the list box, which may outlive it.
    ~DirectoryList();

    // Takes over an owner-drawn list box that the window created.
    void Attach(HWND listBox, UINT dpi);
    HWND Hwnd() const { return listBox_; }

    const std::wstring& Directory() const { return directory_; }
    // Everything in the directory shown, as listed when it was opened: a file list that
    // follows can take it instead of reading the directory a second time.
    std::shared_ptr<const DirectoryListing> Entries() const { return entries_; }

    // Shows a directory ("D:" alone means that drive's current directory) and tells the
    // change (kListChange) before returning. When the directory cannot be read, nothing changes and
    // the reason is returned.
    OsResult SetDirectory(const std::wstring& path);

    // The number of lines, and the directory a line opens.
    int Count() const { return static_cast<int>(lines_.size()); }
    std::wstring LinePath(int index) const;
    std::wstring LineText(int index) const;
    int LineLevel(int index) const;

    // A double-click opens a line; the lines are drawn here.
    std::optional<LRESULT> OnNotification(UINT message, WPARAM wParam, LPARAM lParam) override;
    void SetDpi(UINT dpi);

private:
    struct Line {
        std::wstring path;
        std::wstring text;
        int level = 0;
        bool open = false;  // an ancestor or the directory itself
    };
    static std::optional<LRESULT> OnListBoxMessage(HWND listBox, UINT message, WPARAM wParam,
                                                   LPARAM lParam, DWORD_PTR data);
    void OpenSelected();
    void DrawLine(const DRAWITEMSTRUCT& item) const;

    FileSystem& fileSystem_;
    HWND listBox_ = nullptr;
    std::wstring directory_;
    std::vector<Line> lines_;
    std::shared_ptr<const DirectoryListing> entries_ = std::make_shared<const DirectoryListing>();
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    ListTypeAhead typing_;
};

}  // namespace lumarel
