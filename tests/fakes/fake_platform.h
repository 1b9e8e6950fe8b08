#pragma once
// Fakes of the platform services: they record what Lumarel asked for and answer at once.

#include <functional>
#include <map>
#include <new>
#include <set>
#include <string>
#include <vector>

#include "platform/services.h"

namespace lumarel::testing {

class FakeMessages final : public MessageBoxes {
public:
    void Show(const Message& message) override {
        shown.push_back(message);
        if (onShow) {
            onShow(message);
        }
    }
    std::vector<Message> shown;
    std::function<void(const Message&)> onShow;
};

// Paths convert to themselves unless a conversion is given; unknown paths fail when
// `unknownFails` is set.
class FakeShortPaths final : public ShortPaths {
public:
    std::wstring ShortPath(const std::wstring& path) override {
        asked.push_back(path);
        const auto found = conversions.find(path);
        if (found != conversions.end()) {
            return found->second;
        }
        return unknownFails ? std::wstring() : path;
    }
    std::map<std::wstring, std::wstring> conversions;
    bool unknownFails = false;
    std::vector<std::wstring> asked;
};

class FakeProcesses final : public ProcessStarter {
public:
    OsResult Start(const std::wstring& program, const std::wstring& commandLine,
                   WindowShow show) override {
        started.push_back({program, commandLine, show});
        if (onStart) {
            onStart(commandLine);
        }
        return result;
    }
    std::wstring SystemProgram(const std::wstring& fileName) override {
        return L"C:\\windows\\system32\\" + fileName;
    }
    struct Started {
        std::wstring program;
        std::wstring commandLine;
        WindowShow show;
    };
    std::vector<Started> started;
    OsResult result;
    std::function<void(const std::wstring&)> onStart;
};

// Whole files in memory, each with the time of its last write, renamed as a disk would.
class FakeTextFiles final : public TextFiles {
public:
    OsResult AppendLine(const std::wstring& path, const std::wstring& line) override {
        if (!appendResult.ok) {
            return appendResult;
        }
        files[path].push_back(line);
        return OsResult::Success();
    }
    OsResult EnsureExists(const std::wstring& path) override {
        if (!createResult.ok) {
            return createResult;
        }
        contents.try_emplace(path);
        return OsResult::Success();
    }
    OsResult ReadAll(const std::wstring& path, std::size_t largest, std::wstring& text) override {
        if (!readResult.ok) {
            return readResult;
        }
        const auto found = contents.find(path);
        if (found == contents.end()) {
            return OsResult::Failure(2, L"The system cannot find the file specified.");
        }
        if (found->second.size() > largest) {
            return OsResult::Failure(OsResult::kFileTooLarge, L"The file is too large.");
        }
        text = found->second;
        return OsResult::Success();
    }
    OsResult Look(const std::wstring& path, FileFacts& facts) override {
        const auto found = contents.find(path);
        facts = {};
        if (found != contents.end()) {
            facts = {true, found->second.size(), lastWrites[path]};
        }
        return OsResult::Success();
    }
    OsResult WriteWhole(const std::wstring& path, const std::wstring& text) override {
        if (!writeResult.ok) {
            return writeResult;
        }
        contents[path] = text;
        lastWrites[path] = clock += 10'000'000;
        return OsResult::Success();
    }
    OsResult Replace(const std::wstring& path, const std::wstring& replacement) override {
        return Rename(replacement, path);
    }
    OsResult Rename(const std::wstring& from, const std::wstring& to) override {
        if (blockedNames.count(to) != 0) {
            return OsResult::Failure(5, L"Access is denied.");
        }
        contents[to] = contents[from];
        lastWrites[to] = lastWrites[from];
        return Remove(from);
    }
    OsResult Remove(const std::wstring& path) override {
        contents.erase(path);
        lastWrites.erase(path);
        return OsResult::Success();
    }

    std::map<std::wstring, std::vector<std::wstring>> files;  // appended lines
    std::map<std::wstring, std::wstring> contents;            // whole files
    std::map<std::wstring, std::uint64_t> lastWrites;         // 0 unless written here
    std::uint64_t clock = 0;
    OsResult appendResult;
    OsResult createResult;
    OsResult readResult;
    OsResult writeResult;
    std::set<std::wstring> blockedNames;  // no file can be renamed to these
};

class FakeFileSystem final : public FileSystem {
public:
    OsResult List(const std::wstring& directory, DirectoryListing& listing) override {
        listed.push_back(directory);
        if (throwing.count(directory) != 0) {
            throw std::bad_alloc();
        }
        const auto failure = failures.find(directory);
        if (failure != failures.end()) {
            return failure->second;
        }
        listing.Clear();
        if (const auto found = directories.find(directory); found != directories.end()) {
            for (const DirectoryEntry& entry : found->second) {
                listing.Add(entry);
            }
        }
        return OsResult::Success();
    }
    OsResult Drives(std::vector<DriveInfo>& found) override {
        found = drives;
        return OsResult::Success();
    }
    std::wstring VolumeLabel(wchar_t letter) override {
        labelsAsked.push_back(letter);
        const auto found = volumeLabels.find(letter);
        return found != volumeLabels.end() ? found->second : std::wstring();
    }
    bool DriveIsPresent(wchar_t letter) override { return goneDrives.count(letter) == 0; }
    OsResult FileSize(const std::wstring& path, std::uint64_t& size) override {
        const auto found = sizes.find(path);
        if (found == sizes.end()) {
            return OsResult::Failure(2, L"The system cannot find the file specified.");
        }
        size = found->second;
        return OsResult::Success();
    }
    // A bare drive resolves to its root, as for a drive the process has not been on.
    std::wstring FullPath(const std::wstring& path) override {
        return path.size() == 2 && path[1] == L':' ? path + L"\\" : path;
    }
    std::wstring WorkingDirectory() override { return workingDirectory; }

    std::map<std::wstring, std::vector<DirectoryEntry>> directories;
    std::map<std::wstring, OsResult> failures;
    std::vector<std::wstring> listed;
    std::vector<DriveInfo> drives = {{L'C'}, {L'D', DriveKind::Removable}};
    std::map<wchar_t, std::wstring> volumeLabels = {{L'C', L"SYSTEM"}};
    std::vector<wchar_t> labelsAsked;
    std::set<wchar_t> goneDrives;     // drives whose root is not there
    std::set<std::wstring> throwing;  // listing these runs out of memory
    std::map<std::wstring, std::uint64_t> sizes;
    std::wstring workingDirectory = L"C:\\";
};

class FakeSession final : public Session {
public:
    ScreenSize PrimaryScreen() override { return screen; }
    std::wstring DecimalSeparator() override { return decimalSeparator; }
    void ExitNow() override { ++exits; }
    ScreenSize screen{1024, 768};
    std::wstring decimalSeparator = L".";
    int exits = 0;
};

// A disk that always answers: every call runs at once, here. `givenUp` stands for a person
// who stopped waiting earlier in the action.
class FakeCarrier final : public CallCarrier {
public:
    bool ActionGivenUp() const override { return givenUp; }
    void NoticeLongWaits(unsigned long, std::function<void()>) override {}
    bool givenUp = false;

protected:
    CallEnd Wait(const std::wstring&, const std::shared_ptr<Work>& work) override {
        work->Run();
        return CallEnd::Answered;
    }
};

// A person who stops waiting at a chosen call (1: the first), and a disk that may still finish
// that call afterwards. The rest of the action then ends at once, as with the real carrier.
class ScriptedCarrier final : public CallCarrier {
public:
    bool ActionGivenUp() const override { return givenUp; }
    void NoticeLongWaits(unsigned long, std::function<void()>) override {}
    int unansweredCall = 0;
    CallEnd end = CallEnd::GivenUp;  // how that call ends
    bool finishesAnyway = false;
    int calls = 0;
    bool givenUp = false;

protected:
    CallEnd Wait(const std::wstring&, const std::shared_ptr<Work>& work) override {
        ++calls;
        if (givenUp) {
            return CallEnd::GivenUp;
        }
        if (calls == unansweredCall) {
            givenUp = end == CallEnd::GivenUp;
            if (finishesAnyway) {
                work->Run();
            }
            return end;
        }
        work->Run();
        return CallEnd::Answered;
    }
};

struct FakePlatform {
    FakeMessages messages;
    FakeShortPaths shortPaths;
    FakeProcesses processes;
    FakeTextFiles textFiles;
    FakeFileSystem fileSystem;
    FakeSession session;
    FakeCarrier carrier;

    Platform Services() {
        return {messages, shortPaths, processes, textFiles, fileSystem, session, carrier};
    }
};

}  // namespace lumarel::testing
