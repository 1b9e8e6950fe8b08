#pragma once
// The services whose calls may wait on a device, each call carried by a CallCarrier: a
// listing of a sleeping share, a ROM's size, a short path, the command-line record, the start
// of a program, the settings file. A call that is not answered fails with the carrier's
// reason (UnansweredCall) and leaves what it would have filled as it was. Calls that touch no
// device (a full path, the working directory, the system's folders) go straight through.

#include <string>
#include <vector>

#include "platform/call_carrier.h"
#include "platform/services.h"

namespace lumarel {

// What the drive table's calls (the drives and their kinds) count as, beside the drives'
// own names.
inline constexpr wchar_t kDriveTable[] = L"drives";

class CarriedFileSystem final : public FileSystem {
public:
    // `inner` lives as long as the process: a given-up call may still use it.
    CarriedFileSystem(FileSystem& inner, CallCarrier& carrier) : inner_(inner), carrier_(carrier) {}
    OsResult List(const std::wstring& directory, DirectoryListing& listing) override;
    OsResult Drives(std::vector<DriveInfo>& drives) override;
    // Empty when the drive does not answer.
    std::wstring VolumeLabel(wchar_t letter) override;
    // A drive that does not answer counts as present: it is not gone, only slow.
    bool DriveIsPresent(wchar_t letter) override;
    OsResult FileSize(const std::wstring& path, std::uint64_t& size) override;
    std::wstring FullPath(const std::wstring& path) override { return inner_.FullPath(path); }
    std::wstring WorkingDirectory() override { return inner_.WorkingDirectory(); }

private:
    FileSystem& inner_;
    CallCarrier& carrier_;
};

class CarriedTextFiles final : public TextFiles {
public:
    CarriedTextFiles(TextFiles& inner, CallCarrier& carrier) : inner_(inner), carrier_(carrier) {}
    OsResult AppendLine(const std::wstring& path, const std::wstring& line) override;
    OsResult EnsureExists(const std::wstring& path) override;
    OsResult ReadAll(const std::wstring& path, std::size_t largest, std::wstring& text) override;
    OsResult Look(const std::wstring& path, FileFacts& facts) override;
    OsResult WriteWhole(const std::wstring& path, const std::wstring& text) override;
    OsResult Replace(const std::wstring& path, const std::wstring& replacement) override;
    OsResult Rename(const std::wstring& from, const std::wstring& to) override;
    OsResult Remove(const std::wstring& path) override;

private:
    TextFiles& inner_;
    CallCarrier& carrier_;
};

class CarriedShortPaths final : public ShortPaths {
public:
    CarriedShortPaths(ShortPaths& inner, CallCarrier& carrier) : inner_(inner), carrier_(carrier) {}
    // Empty when the drive does not answer, as for a path that is not there; the run action
    // asks the carrier whether the person gave up.
    std::wstring ShortPath(const std::wstring& path) override;

private:
    ShortPaths& inner_;
    CallCarrier& carrier_;
};

class CarriedProcessStarter final : public ProcessStarter {
public:
    CarriedProcessStarter(ProcessStarter& inner, CallCarrier& carrier)
        : inner_(inner), carrier_(carrier) {}
    OsResult Start(const std::wstring& program, const std::wstring& commandLine,
                   WindowShow show) override;
    std::wstring SystemProgram(const std::wstring& fileName) override {
        return inner_.SystemProgram(fileName);
    }

private:
    ProcessStarter& inner_;
    CallCarrier& carrier_;
};

}  // namespace lumarel
