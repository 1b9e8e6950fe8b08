#include "ui/controls/file_list.h"

#include "ui/controls/file_pattern.h"

namespace lumarel {

FileList::FileList(FileSystem& fileSystem, std::wstring patternList)
    : fileSystem_(fileSystem), patterns_(SplitPatternList(patternList)) {}

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

    // Thousands of entries: one reservation and no redraw until the list is complete.
    SendMessageW(listBox_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(listBox_, LB_RESETCONTENT, 0, 0);
    size_t characters = 0;
    for (const std::size_t entry : listed_) {
        characters += (*entries_)[entry].name.size() + 1;
    }
    SendMessageW(listBox_, LB_INITSTORAGE, listed_.size(), characters * sizeof(wchar_t));
    for (const std::size_t entry : listed_) {
        SendMessageW(listBox_, LB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>((*entries_)[entry].name.c_str()));
    }
    SendMessageW(listBox_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(listBox_, nullptr, TRUE);
}

int FileList::SelectedIndex() const {
    return static_cast<int>(SendMessageW(listBox_, LB_GETCURSEL, 0, 0));
}

void FileList::SetSelectedIndex(int index) {
    SendMessageW(listBox_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::wstring FileList::SelectedEntry() const {
    return Entry(SelectedIndex());
}

std::wstring FileList::Entry(int index) const {
    if (index < 0 || index >= Count()) {
        return {};
    }
    return (*entries_)[listed_[static_cast<size_t>(index)]].name;
}

void FileList::OnCommand(int code) {
    if (code == LBN_SELCHANGE && onClick) {
        onClick();
    } else if (code == LBN_DBLCLK && onDoubleClick) {
        onDoubleClick();
    }
}

}  // namespace lumarel
