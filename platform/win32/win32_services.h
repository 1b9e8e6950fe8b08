#pragma once
// The Win32 implementations of the platform services.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/carried_services.h"
#include "platform/services.h"
#include "platform/win32/file_calls.h"
#include "platform/win32/live_wait.h"

namespace lumarel {

// Text in the system's ANSI code page, as the settings and diagnostic files hold it. The
// exact form gives nothing when a character would be lost or replaced by a look-alike; the
// other turns such a character into the code page's "?".
std::optional<std::string> ToAnsiExactly(const std::wstring& text);
std::string ToAnsi(const std::wstring& text);
std::wstring FromAnsi(std::string_view text);

class Win32MessageBoxes final : public MessageBoxes {
public:
    void Show(const Message& message) override;
};

class Win32ShortPaths final : public ShortPaths {
public:
    std::wstring ShortPath(const std::wstring& path) override;
};

class Win32ProcessStarter final : public ProcessStarter {
public:
    OsResult Start(const std::wstring& program, const std::wstring& commandLine,
                   WindowShow show) override;
    std::wstring SystemProgram(const std::wstring& fileName) override;
};

class Win32TextFiles final : public TextFiles {
public:
    explicit Win32TextFiles(win32::FileCalls& calls = win32::SystemFileCalls()) : calls_(calls) {}
    OsResult AppendLine(const std::wstring& path, const std::wstring& line) override;
    OsResult EnsureExists(const std::wstring& path) override;
    OsResult ReadAll(const std::wstring& path, std::size_t largest, std::wstring& text) override;
    OsResult Look(const std::wstring& path, FileFacts& facts) override;
    OsResult WriteWhole(const std::wstring& path, const std::wstring& text) override;
    OsResult Replace(const std::wstring& path, const std::wstring& replacement) override;
    OsResult Rename(const std::wstring& from, const std::wstring& to) override;
    OsResult Remove(const std::wstring& path) override;

private:
    win32::FileCalls& calls_;
};

class Win32FileSystem final : public FileSystem {
public:
    OsResult List(const std::wstring& directory, DirectoryListing& listing) override;
    OsResult Drives(std::vector<DriveInfo>& drives) override;
    std::wstring VolumeLabel(wchar_t letter) override;
    bool DriveIsPresent(wchar_t letter) override;
    OsResult FileSize(const std::wstring& path, std::uint64_t& size) override;
    std::wstring FullPath(const std::wstring& path) override;
    std::wstring WorkingDirectory() override;
};

class Win32Session final : public Session {
public:
    ScreenSize PrimaryScreen() override;
    std::wstring DecimalSeparator() override;
    void ExitNow() override;
};

// Each call on a thread that carries calls one after another, waited for live by the window's
// thread (live_wait.h). A given-up call keeps its thread to itself until it returns; at most
// two such calls still run on one device, beyond that the device does not answer.
class Win32CallCarrier final : public CallCarrier {
public:
    Win32CallCarrier();
    ~Win32CallCarrier() override;
    Win32CallCarrier(const Win32CallCarrier&) = delete;
    Win32CallCarrier& operator=(const Win32CallCarrier&) = delete;
    bool ActionGivenUp() const override;
    void NoticeLongWaits(unsigned long afterMs, std::function<void()> notice) override;

protected:
    CallEnd Wait(const std::wstring& device, const std::shared_ptr<Work>& work) override;

private:
    struct Shared;
    struct Call;
    struct Carrying;
    static DWORD WINAPI CarryOn(void* thread);
    // The idle carrying thread, or a new one; nullptr when the system has none to give.
    std::shared_ptr<Carrying> TakeThread();
    // Leaves the call to its thread, or takes the thread back when the call has returned.
    void GiveUp(const std::shared_ptr<Carrying>& thread, Call& call);

    std::shared_ptr<Shared> shared_;
    std::shared_ptr<Carrying> idle_;
    win32::WaitHooks hooks_;
};

// One instance of each, for the real program; the calls that may wait on a device are
// carried.
struct Win32Platform {
    Win32MessageBoxes messages;
    Win32ShortPaths shortPaths;
    Win32ProcessStarter processes;
    Win32TextFiles textFiles;
    Win32FileSystem fileSystem;
    Win32Session session;
    Win32CallCarrier carrier;
    CarriedShortPaths carriedShortPaths{shortPaths, carrier};
    CarriedProcessStarter carriedProcesses{processes, carrier};
    CarriedTextFiles carriedTextFiles{textFiles, carrier};
    CarriedFileSystem carriedFileSystem{fileSystem, carrier};

    Platform Services() {
        return {messages,          carriedShortPaths, carriedProcesses, carriedTextFiles,
                carriedFileSystem, session,           carrier};
    }
};

}  // namespace lumarel
