#pragma once
// The Win32 implementations of the platform services.

#include "platform/services.h"

namespace lumarel {

// The system's own words for an error code, without the trailing line break.
std::wstring SystemReason(unsigned long error);

// Text in the system's ANSI code page, as the settings and diagnostic files hold it.
std::string ToAnsi(const std::wstring& text);
std::wstring FromAnsi(const std::string& text);

namespace Code {
// The short (8.3) form of a path, or the empty text when the path cannot be converted.
std::wstring ShortPath(const std::wstring& path);
}  // namespace Code

class Win32MessageBoxes final : public MessageBoxes {
public:
    void Show(const Message& message) override;
};

class Win32ShortPaths final : public ShortPaths {
public:
    std::wstring ShortPath(const std::wstring& path) override { return Code::ShortPath(path); }
};

class Win32ProcessStarter final : public ProcessStarter {
public:
    OsResult Start(const std::wstring& commandLine, WindowShow show) override;
};

class Win32TextFiles final : public TextFiles {
public:
    OsResult AppendLine(const std::wstring& path, const std::wstring& line) override;
    OsResult EnsureExists(const std::wstring& path) override;
    OsResult ReadAll(const std::wstring& path, std::wstring& text) override;
    OsResult ReplaceWhole(const std::wstring& path, const std::wstring& text) override;
};

class Win32FileSystem final : public FileSystem {
public:
    OsResult List(const std::wstring& directory, std::vector<DirectoryEntry>& entries) override;
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

// One instance of each, for the real program.
struct Win32Platform {
    Win32MessageBoxes messages;
    Win32ShortPaths shortPaths;
    Win32ProcessStarter processes;
    Win32TextFiles textFiles;
    Win32FileSystem fileSystem;
    Win32Session session;

    Platform Services() {
        return {messages, shortPaths, processes, textFiles, fileSystem, session};
    }
};

}  // namespace lumarel
