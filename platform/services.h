#pragma once
// The operating-system services Lumarel uses, each behind an interface small enough that a
// test can put a fake in its place. The Win32 implementations live in platform/win32/.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "platform/call_carrier.h"
#include "platform/os_result.h"

namespace lumarel {

enum class MessageIcon { None, Exclamation, Information, Error };

struct Message {
    std::wstring text;
    std::wstring title;
    MessageIcon icon = MessageIcon::None;
};

// The title of every message that asks the user to put something right.
inline constexpr wchar_t kHumanError[] = L"Human Error!";

// The system's own words for an error code, without the trailing line break.
std::wstring SystemReason(unsigned long error);

// Modal message boxes with a single OK button, owned by the window that is active.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual void Show(const Message& message) = 0;
};

// The short (8.3) form of a path. A path that exists but has no short form comes back whole;
// one that does not exist comes back empty.
class ShortPaths {
public:
    virtual ~ShortPaths() = default;
    virtual std::wstring ShortPath(const std::wstring& path) = 0;
};

enum class WindowShow { Normal, Maximized };

// Starts a program as a new process, without a shell and without waiting for it. The program
// is named in full, so that nothing found first on a search path runs in its place; the
// command line is what the program receives.
class ProcessStarter {
public:
    virtual ~ProcessStarter() = default;
    virtual OsResult Start(const std::wstring& program, const std::wstring& commandLine,
                           WindowShow show) = 0;
    // The full path of a program that comes with Windows ("notepad.exe").
    virtual std::wstring SystemProgram(const std::wstring& fileName) = 0;
};

// What the disk says of one file.
struct FileFacts {
    bool exists = false;
    std::uint64_t size = 0;
    std::uint64_t lastWrite = 0;  // in 100-ns steps since 1601, as Windows keeps it
};

// Whole text files. Lumarel writes the system's ANSI code page, as earlier versions did,
// unless a text holds a character that code page lacks; it reads that code page, UTF-8 and
// UTF-16.
class TextFiles {
public:
    virtual ~TextFiles() = default;
    // Appends the line and CR LF in the ANSI code page, creating the file when it is missing.
    // A character the code page lacks becomes "?", never a look-alike.
    virtual OsResult AppendLine(const std::wstring& path, const std::wstring& line) = 0;
    // Creates the file empty when it is missing; an existing file keeps its content.
    virtual OsResult EnsureExists(const std::wstring& path) = 0;
    // Reads a whole file of at most `largest` bytes; a larger one is not read and fails with
    // kFileTooLarge.
    virtual OsResult ReadAll(const std::wstring& path, std::size_t largest, std::wstring& text) = 0;
    // Whether the file is there, with its size and last write; a missing file is no failure.
    virtual OsResult Look(const std::wstring& path, FileFacts& facts) = 0;
    // A new file of this name, replacing any, holding the whole text, on the disk when this
    // returns. The text goes in the ANSI code page when it fits, else in UTF-8 with a
    // byte-order mark (UTF-16 for half a surrogate pair, which UTF-8 cannot hold). A failure
    // may leave part of the file behind.
    virtual OsResult WriteWhole(const std::wstring& path, const std::wstring& text) = 0;
    // Gives `replacement` the name of the existing file `path` in one step, keeping that
    // file's attributes and permissions.
    virtual OsResult Replace(const std::wstring& path, const std::wstring& replacement) = 0;
    // Renames a file in one step, written through to the disk; a file of the new name is
    // replaced.
    virtual OsResult Rename(const std::wstring& from, const std::wstring& to) = 0;
    virtual OsResult Remove(const std::wstring& path) = 0;
};

// One entry of a directory, as it is described outside a listing.
struct DirectoryEntry {
    std::wstring name;
    bool isDirectory = false;
    bool isHidden = false;
    bool isSystem = false;
    std::uint64_t size = 0;
};

// A directory's entries in the order they were read, every name in one block: tens of
// thousands of ROMs must not cost as many allocations.
class DirectoryListing {
public:
    struct Entry {
        std::size_t nameAt = 0;  // where the name starts in the block
        std::size_t nameLength = 0;
        bool isDirectory = false;
        bool isHidden = false;
        bool isSystem = false;
        std::uint64_t size = 0;
    };

    DirectoryListing() = default;
    DirectoryListing(std::initializer_list<DirectoryEntry> entries) {
        for (const DirectoryEntry& entry : entries) {
            Add(entry);
        }
    }

    // An entry whose name is `name`; the facts' own name fields are not read.
    void Add(std::wstring_view name, Entry facts) {
        facts.nameAt = names_.size();
        facts.nameLength = name.size();
        names_.append(name);
        entries_.push_back(facts);
    }
    void Add(const DirectoryEntry& entry) {
        Add(entry.name, {0, 0, entry.isDirectory, entry.isHidden, entry.isSystem, entry.size});
    }
    void Clear() {
        names_.clear();
        entries_.clear();
    }

    std::size_t Count() const { return entries_.size(); }
    const Entry& At(std::size_t index) const { return entries_[index]; }
    std::wstring_view NameOf(const Entry& entry) const {
        return std::wstring_view(names_).substr(entry.nameAt, entry.nameLength);
    }
    std::wstring_view NameAt(std::size_t index) const { return NameOf(entries_[index]); }
    const std::vector<Entry>& Entries() const { return entries_; }

private:
    std::wstring names_;
    std::vector<Entry> entries_;
};

// What kind of device a drive is: it decides whether its volume label may be asked for.
enum class DriveKind { Unknown, Removable, Fixed, Remote, Optical, RamDisk };

// One drive of the machine, as a drive list shows it.
struct DriveInfo {
    wchar_t letter = L'C';  // upper case
    DriveKind kind = DriveKind::Fixed;
    std::wstring label;  // a network drive's share name; a volume label once it was read
};

// Directory listings and drives. A listing that fails says why.

class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual OsResult List(const std::wstring& directory, DirectoryListing& listing) = 0;
    // The machine's drives with their kinds and network names, without volume labels:
    // reading those wakes sleeping disks.
    virtual OsResult Drives(std::vector<DriveInfo>& drives) = 0;
    // A drive's volume label; empty when it has none or cannot be read.
    virtual std::wstring VolumeLabel(wchar_t letter) = 0;
    // False when the drive's root directory is not there at all: a drive removed, a network
    // share dropped, a substituted drive undone.
    virtual bool DriveIsPresent(wchar_t letter) = 0;
    virtual OsResult FileSize(const std::wstring& path, std::uint64_t& size) = 0;
    // A path made absolute; a bare drive ("D:") becomes that drive's current directory.
    virtual std::wstring FullPath(const std::wstring& path) = 0;
    // The directory Lumarel was started in (it never changes it).
    virtual std::wstring WorkingDirectory() = 0;
};

struct ScreenSize {
    int width = 0;
    int height = 0;
};

// The screen, and the end of the process.
class Session {
public:
    virtual ~Session() = default;
    virtual ScreenSize PrimaryScreen() = 0;  // in pixels
    // The user's decimal separator, for numbers shown to them.
    virtual std::wstring DecimalSeparator() = 0;
    // Ends Lumarel at once: no window is told, nothing is saved.
    virtual void ExitNow() = 0;
};

// Everything above, handed to the windows as one bundle.
struct Platform {
    MessageBoxes& messages;
    ShortPaths& shortPaths;
    ProcessStarter& processes;
    TextFiles& textFiles;
    FileSystem& fileSystem;
    Session& session;
    // What carries the calls above that may wait on a device, for the window's thread.
    CallCarrier& carrier;
};

}  // namespace lumarel
