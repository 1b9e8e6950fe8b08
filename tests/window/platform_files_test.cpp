// The real Win32 file services on a real (Wine) disk, with the failures users meet.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "launch/command_line.h"
#include "platform/win32/file_calls.h"
#include "platform/win32/text_fold.h"
#include "platform/win32/win32_services.h"
#include "settings/settings_format.h"
#include "settings/settings_store.h"
#include "tests/fakes/fake_option_controls.h"
#include "tests/fakes/fake_platform.h"
#include "tests/window/window_test_support.h"

namespace lumarel {
namespace {

using testing::FakeMessages;
using testing::FakeOptionControls;
using testing::FileBytes;
using testing::FilesIn;
using testing::PutFileBytes;

// ---- The settings file when the disk fails, through the real calls ----

// The end of the process, as a kill or a pulled plug brings it: no further call runs.
struct CutOff {};

enum class Call {
    OpenToRead,
    Create,
    OpenAlways,
    Write,
    Flush,
    Read,
    Size,
    Replace,
    Move,
    Delete,
    Look
};
const char* const kCallNames[] = {"open to read", "create", "open or create", "write",
                                  "flush",        "read",   "size",           "replace",
                                  "move",         "delete", "attributes"};

// An error a call really returns, and what the call did all the same.
enum class Effect { None, HalfWritten, ReplacedFileRemoved };
struct Injected {
    DWORD error;
    Effect effect = Effect::None;
};

// The errors each call can return on a real disk: a read-only file or folder, a file another
// program holds, a full disk, a stick pulled out (its folder gone, or the device), a failing
// device, a locked range; and ReplaceFileW's own, 1176 removing the old file unless a race
// puts one back, and the old file gone meanwhile.
const std::vector<Injected>& ErrorsOf(Call call) {
    using enum Effect;
    static const std::vector<Injected> kHeld = {
        {ERROR_ACCESS_DENIED}, {ERROR_SHARING_VIOLATION}, {ERROR_DEVICE_NOT_CONNECTED}};
    static const std::vector<Injected> kCreate = {{ERROR_ACCESS_DENIED},
                                                  {ERROR_SHARING_VIOLATION},
                                                  {ERROR_DISK_FULL},
                                                  {ERROR_DEVICE_NOT_CONNECTED}};
    static const std::vector<Injected> kWrite = {
        {ERROR_DISK_FULL, HalfWritten}, {ERROR_IO_DEVICE}, {ERROR_DEVICE_NOT_CONNECTED}};
    static const std::vector<Injected> kRead = {
        {ERROR_IO_DEVICE}, {ERROR_LOCK_VIOLATION}, {ERROR_DEVICE_NOT_CONNECTED}};
    static const std::vector<Injected> kDevice = {{ERROR_IO_DEVICE}, {ERROR_DEVICE_NOT_CONNECTED}};
    static const std::vector<Injected> kReplace = {
        {ERROR_ACCESS_DENIED},
        {ERROR_SHARING_VIOLATION},
        {ERROR_UNABLE_TO_REMOVE_REPLACED},
        {ERROR_UNABLE_TO_MOVE_REPLACEMENT, ReplacedFileRemoved},
        {ERROR_UNABLE_TO_MOVE_REPLACEMENT},
        {ERROR_FILE_NOT_FOUND},
        {ERROR_DEVICE_NOT_CONNECTED}};
    static const std::vector<Injected> kLook = {
        {ERROR_ACCESS_DENIED}, {ERROR_PATH_NOT_FOUND}, {ERROR_DEVICE_NOT_CONNECTED}};
    switch (call) {
        case Call::Create:
        case Call::OpenAlways:
            return kCreate;
        case Call::Write:
            return kWrite;
        case Call::Read:
            return kRead;
        case Call::Flush:
        case Call::Size:
            return kDevice;
        case Call::Replace:
            return kReplace;
        case Call::Look:
            return kLook;
        default:
            return kHeld;
    }
}

// The folder as a power cut leaves it, in the manner of the crash tests of embedded
// databases: file data comes back only as far as it was flushed, and a change of names only
// when it was written through, or when a later flush or write-through wrote the file
// system's journal past it (the journal is written in order). Data written but not flushed
// comes back either as it was before, or as zeros of the written length.
class DiskModel {
public:
    void Begin(const std::wstring& folder) {
        folder_ = folder;
        for (const std::wstring& path : FilesIn(folder)) {
            WIN32_FILE_ATTRIBUTE_DATA data{};
            GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
            const std::string bytes = FileBytes(path);
            contents_.push_back({bytes, bytes, false, bytes, data.ftLastWriteTime});
            names_[path] = namesOnDisk_[path] = static_cast<int>(contents_.size()) - 1;
        }
    }
    void Opened(HANDLE file, const std::wstring& path, DWORD disposition) {
        const auto named = names_.find(path);
        if (named == names_.end()) {
            contents_.emplace_back();
            names_[path] = open_[file] = static_cast<int>(contents_.size()) - 1;
            journal_.push_back({path, open_[file]});
            return;
        }
        open_[file] = named->second;
        if (disposition == CREATE_ALWAYS) {
            contents_[named->second].written.clear();
            contents_[named->second].dirty = true;
        }
    }
    void Written(HANDLE file, const void* data, DWORD size) {
        Content& content = contents_[open_.at(file)];
        content.written.append(static_cast<const char*>(data), size);
        content.dirty = true;
    }
    void Flushed(HANDLE file) {
        Content& content = contents_[open_.at(file)];
        content.onDisk = content.written;
        content.dirty = false;
        Commit();
    }
    void Renamed(const std::wstring& from, const std::wstring& to, bool writeThrough) {
        const int content = names_.at(from);
        names_.erase(from);
        names_[to] = content;
        journal_.push_back({from, -1});
        journal_.push_back({to, content});
        if (writeThrough) {
            Commit();
        }
    }
    void Deleted(const std::wstring& path) {
        names_.erase(path);
        journal_.push_back({path, -1});
    }
    void PowerCut(bool zeroed) {
        for (const std::wstring& path : FilesIn(folder_)) {
            DeleteFileW(path.c_str());
        }
        for (const auto& [path, index] : namesOnDisk_) {
            const Content& c = contents_[static_cast<size_t>(index)];
            const std::string bytes =
                c.dirty && zeroed ? std::string(c.written.size(), '\0') : c.onDisk;
            PutFileBytes(path, bytes);
            if (c.original == bytes) {  // a file the work never changed keeps its time
                HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
                SetFileTime(file, nullptr, nullptr, &c.originalTime);
                CloseHandle(file);
            }
        }
    }

private:
    struct Content {
        std::string onDisk, written;
        bool dirty = false;
        std::optional<std::string> original;  // for a file there before the work
        FILETIME originalTime{};
    };
    struct NameChange {
        std::wstring path;
        int content;  // -1: the name goes
    };
    void Commit() {
        for (const NameChange& change : journal_) {
            if (change.content < 0) {
                namesOnDisk_.erase(change.path);
            } else {
                namesOnDisk_[change.path] = change.content;
            }
        }
        journal_.clear();
    }

    std::wstring folder_;
    std::vector<Content> contents_;
    std::map<std::wstring, int> names_, namesOnDisk_;
    std::vector<NameChange> journal_;
    std::map<HANDLE, int> open_;
};

// How the work ends early: killed, or by a power cut that takes what was not on the disk.
enum class Cut { None, Kill, PowerLost, PowerZeroed };

// The real file calls, but for those the plan strikes; it keeps the disk model up to date.
class FaultyDisk final : public win32::FileCalls {
public:
    // The plan; calls are counted from 1.
    int failAt = 0;     // this call fails...
    size_t choice = 0;  // ...with this one of its errors
    int goneFrom = 0;   // from this call on, every call finds the device gone
    int cutAt = 0;      // the work ends after this call
    Cut cut = Cut::None;
    // Failures of a test's own, asked for at every call with the name it gives a file or
    // opens.
    std::function<std::optional<Injected>(Call, const std::wstring&)> rule;

    int calls = 0;
    bool noSuchError = false;  // the call that fails has fewer errors than `choice`
    std::string struck;        // what befell which call, for the test's report
    DiskModel model;

    HANDLE Open(const wchar_t* path, DWORD access, DWORD share, DWORD disposition) override {
        const Call call = disposition == CREATE_ALWAYS ? Call::Create
                          : disposition == OPEN_ALWAYS ? Call::OpenAlways
                                                       : Call::OpenToRead;
        HANDLE file = INVALID_HANDLE_VALUE;
        try {
            Strike(call, path, [&] {
                file = FileCalls::Open(path, access, share, disposition);
                if (file != INVALID_HANDLE_VALUE) {
                    model.Opened(file, path, disposition);
                }
                return file != INVALID_HANDLE_VALUE;
            });
        } catch (const CutOff&) {
            if (file != INVALID_HANDLE_VALUE) {
                CloseHandle(file);  // as the system does for a process that ends
            }
            throw;
        }
        return file;
    }
    BOOL Write(HANDLE file, const void* data, DWORD size, DWORD* written) override {
        const auto write = [&](DWORD part) {
            const BOOL done = FileCalls::Write(file, data, part, written);
            if (done) {
                model.Written(file, data, *written);
            }
            return done;
        };
        *written = 0;
        return Strike(
            Call::Write, nullptr, [&] { return write(size); },
            [&](Effect effect) {
                if (effect == Effect::HalfWritten) {
                    write(size / 2);
                }
            });
    }
    BOOL Flush(HANDLE file) override {
        return Strike(Call::Flush, nullptr, [&] {
            const BOOL done = FileCalls::Flush(file);
            if (done) {
                model.Flushed(file);
            }
            return done;
        });
    }
    BOOL Read(HANDLE file, void* buffer, DWORD size, DWORD* read) override {
        *read = 0;
        return Strike(Call::Read, nullptr,
                      [&] { return FileCalls::Read(file, buffer, size, read); });
    }
    BOOL Size(HANDLE file, LARGE_INTEGER* size) override {
        return Strike(Call::Size, nullptr, [&] { return FileCalls::Size(file, size); });
    }
    BOOL Replace(const wchar_t* replaced, const wchar_t* replacement) override {
        return Strike(
            Call::Replace, replaced,
            [&] {
                const BOOL done = FileCalls::Replace(replaced, replacement);
                if (done) {
                    model.Renamed(replacement, replaced, false);
                }
                return done;
            },
            [&](Effect effect) {
                if (effect == Effect::ReplacedFileRemoved && FileCalls::Delete(replaced)) {
                    model.Deleted(replaced);
                }
            });
    }
    BOOL Move(const wchar_t* from, const wchar_t* to, DWORD flags) override {
        return Strike(Call::Move, to, [&] {
            const BOOL done = FileCalls::Move(from, to, flags);
            if (done) {
                model.Renamed(from, to, (flags & MOVEFILE_WRITE_THROUGH) != 0);
            }
            return done;
        });
    }
    BOOL Delete(const wchar_t* path) override {
        return Strike(Call::Delete, path, [&] {
            const BOOL done = FileCalls::Delete(path);
            if (done) {
                model.Deleted(path);
            }
            return done;
        });
    }
    BOOL Attributes(const wchar_t* path, WIN32_FILE_ATTRIBUTE_DATA* data) override {
        return Strike(Call::Look, path, [&] { return FileCalls::Attributes(path, data); });
    }

private:
    // Runs one call: the failure the plan gives it (after what that error still does), or
    // the real call; then ends the work when the plan says so.
    BOOL Strike(Call call, const wchar_t* name, const std::function<BOOL()>& real,
                const std::function<void(Effect)>& partly = {}) {
        if (const std::optional<Injected> failure = Planned(call, name)) {
            if (partly) {
                partly(failure->effect);
            }
            if (cut != Cut::None && calls == cutAt) {
                throw CutOff{};  // killed as the call failed, what it did done
            }
            SetLastError(failure->error);
            return FALSE;
        }
        const BOOL done = real();
        const DWORD error = GetLastError();
        if (cut != Cut::None && calls == cutAt) {
            throw CutOff{};
        }
        SetLastError(error);
        return done;
    }
    std::optional<Injected> Planned(Call call, const wchar_t* name) {
        const std::wstring target = name != nullptr ? name : L"";
        ++calls;
        const auto note = [&](const std::string& what) {
            struck += (struck.empty() ? "" : ", then ") + what + " at call " +
                      std::to_string(calls) + " (" + kCallNames[static_cast<int>(call)] + ")";
        };
        if (calls == cutAt) {
            note(cut == Cut::Kill ? "cut off" : "power cut");
        }
        if (rule) {
            return rule(call, target);
        }
        if (goneFrom != 0 && calls >= goneFrom) {
            if (calls == goneFrom) {
                note("the device gone");
            }
            return Injected{ERROR_DEVICE_NOT_CONNECTED};
        }
        if (calls != failAt) {
            return std::nullopt;
        }
        const std::vector<Injected>& errors = ErrorsOf(call);
        if (choice >= errors.size()) {
            noSuchError = true;
            return std::nullopt;
        }
        const Injected failure = errors[choice];
        note("error " + std::to_string(failure.error) +
             (failure.effect == Effect::ReplacedFileRemoved ? " (the old file removed)" : "") +
             (failure.effect == Effect::HalfWritten ? " (half written)" : ""));
        return failure;
    }
};

class PlatformFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        directory = std::wstring(temp) + L"lumarel files " + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(directory.c_str(), nullptr);
        settings = directory + L"\\Lumarel.ini";
    }
    void TearDown() override {
        for (const std::wstring& file : FilesIn(directory)) {
            SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(file.c_str());
        }
        RemoveDirectoryW(directory.c_str());
    }
    std::wstring Read(const std::wstring& path) {
        std::wstring text;
        files.ReadAll(path, kLargestSettingsFile, text);
        return text;
    }

    Win32TextFiles files;
    Win32FileSystem fileSystem;
    Win32ShortPaths shortPaths;
    std::wstring directory, settings;
};

TEST_F(PlatformFilesTest, SaveReplacesTheWholeFileAndLeavesNothingBeside) {
    FakeOptionControls controls;
    FakeMessages told;
    SaveSettings(directory, files, told, controls, L"C:\\first\\snes9x.exe");
    SaveSettings(directory, files, told, controls, L"C:\\second\\snes9x.exe");
    EXPECT_EQ(Read(settings), SettingsText(L"C:\\second\\snes9x.exe", controls.options));
    EXPECT_EQ(FilesIn(directory), std::vector<std::wstring>{settings});
    EXPECT_TRUE(told.shown.empty());
}

TEST_F(PlatformFilesTest, SaveOverAFileHeldByAnotherProgramFailsAndKeepsIt) {
    // Held by a program that lets others read it, and by one that lets nobody in.
    const std::wstring saving = settings + kSavingSuffix;
    for (const DWORD sharing : {DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE}, DWORD{0}}) {
        FakeOptionControls controls;
        FakeMessages told;
        SaveSettings(directory, files, told, controls, L"C:\\before\\snes9x.exe");
        const std::wstring before = Read(settings);
        HANDLE held = CreateFileW(settings.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        SaveSettings(directory, files, told, controls, L"C:\\new\\snes9x.exe");
        ASSERT_TRUE(CloseHandle(held));
        EXPECT_EQ(Read(settings), before) << sharing;
        EXPECT_EQ(GetFileAttributesW(saving.c_str()), INVALID_FILE_ATTRIBUTES) << sharing;
        ASSERT_EQ(told.shown.size(), 1u) << sharing;
        EXPECT_NE(told.shown[0].text.find(L"unchanged"), std::wstring::npos) << sharing;
    }
}

TEST_F(PlatformFilesTest, FailuresComeBackWithTheSystemsReason) {
    const std::wstring nowhere = directory + L"\\missing\\qzdebug.out";
    const OsResult appended = files.AppendLine(nowhere, L"line");
    EXPECT_FALSE(appended.ok);
    EXPECT_FALSE(appended.reason.empty());
    std::wstring text;
    EXPECT_TRUE(files.ReadAll(directory + L"\\none.ini", kLargestSettingsFile, text).NotFound());
    DirectoryListing entries;
    EXPECT_FALSE(fileSystem.List(directory + L"\\missing", entries).ok);
}

TEST_F(PlatformFilesTest, LargeBinarySettingsFileReadsWithoutHarm) {
    std::string bytes(10 << 20, '\0');
    for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(i * 31);
    }
    HANDLE file = CreateFileW(settings.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    std::wstring text;
    ASSERT_TRUE(files.ReadAll(settings, 16 << 20, text).ok);
    EXPECT_EQ(text.size(), bytes.size());
    EXPECT_EQ(files.ReadAll(settings, kLargestSettingsFile, text).error, OsResult::kFileTooLarge);
}

TEST_F(PlatformFilesTest, ADriveLetterWithoutARootIsNotPresentAndItsListingIsNotFound) {
    std::vector<DriveInfo> drives;
    ASSERT_TRUE(fileSystem.Drives(drives).ok);
    ASSERT_FALSE(drives.empty());
    wchar_t missing = 0;
    for (wchar_t letter = L'Y'; letter > L'D' && missing == 0; --letter) {
        if ((GetLogicalDrives() & (1u << (letter - L'A'))) == 0) {
            missing = letter;
        }
    }
    ASSERT_NE(missing, 0);
    EXPECT_TRUE(fileSystem.DriveIsPresent(L'C'));
    EXPECT_FALSE(fileSystem.DriveIsPresent(missing));
    DirectoryListing entries;
    const OsResult listed = fileSystem.List(std::wstring{missing, L':', L'\\'}, entries);
    EXPECT_TRUE(listed.NotFound() || listed.DeviceUnavailable()) << listed.error;
}

TEST(TextFold, CaseAndTheWayAnAccentIsWrittenFoldAlikeNamesJoinedFoldAsAlone) {
    struct Case {
        const wchar_t* text;
        const wchar_t* folded;
    };
    const Case cases[] = {
        {L"\u00c9toile", L"\u00e9toile"},    // É
        {L"E\u0301toile", L"\u00e9toile"},   // E and a combining acute
        {L"\u307b\u30db", L"\u307b\u30db"},  // hiragana and katakana stay apart
        {L"\uff71\u30a2", L"\uff71\u30a2"},  // and half-width and full-width kana
        {L"\U0001F680 Run", L"\U0001F680 run"},
        // A name that cannot be composed (a lone surrogate, which a file name may hold) stays
        // lower case only; the names joined with it are composed still.
        {L"Cafe\u0301\n\xD800X\nE\u0301\n", L"caf\u00e9\n\xD800x\n\u00e9\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FoldedForSearch(c.text), c.folded) << ::testing::PrintToString(c.text);
    }
}

TEST_F(PlatformFilesTest, ShortPathsOfUnusualPaths) {
    // A name outside the ANSI code page still gets a short form the emulator can take.
    const std::wstring rom = directory + L"\\\u03a9 game.smc";
    HANDLE file = CreateFileW(rom.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    const std::wstring shortRom = shortPaths.ShortPath(rom);
    ASSERT_FALSE(shortRom.empty());
    EXPECT_EQ(shortRom.find(L' '), std::wstring::npos);
    // Paths past the old limits do not exist here: they convert to nothing, without harm.
    for (size_t length : {300u, 1000u, 40000u}) {
        EXPECT_EQ(shortPaths.ShortPath(L"C:\\" + std::wstring(length, L'x') + L".smc"), L"")
            << length;
    }
}

// Settings as a start reads them from a file's text: its lines applied, then completed.
struct LoadedSettings {
    FakeOptionControls controls;
    std::wstring location;
    std::wstring Text() const { return SettingsText(location, controls.options); }
};
LoadedSettings Loaded(const std::wstring& text) {
    LoadedSettings loaded;
    ApplySettingChanges(ReadSettings(text), loaded.controls, loaded.location);
    ApplySettingChanges(CompletionChanges(loaded.controls.TakeLaunchOptions()), loaded.controls,
                        loaded.location);
    return loaded;
}

// Three sets of settings and the defaults, told apart by their locations. Made when first
// asked for: the settings format's own tables are ready only once the program runs.
struct KnownSettings {
    std::wstring old, kept, fresh, defaults;
};
const KnownSettings& Known() {
    static const KnownSettings known{
        Loaded(L"Location of Snes9x: C:\\Old\\snes9x.exe\r\nSound: True\r\nFrame Rate: 2\r\n")
            .Text(),
        Loaded(L"Location of Snes9x: C:\\Kept\\snes9x.exe\r\nRom Forcing: HiRom\r\n").Text(),
        Loaded(L"Location of Snes9x: C:\\New\\snes9x.exe\r\nJoystick: True\r\nTV Mode: 1\r\n")
            .Text(),
        Loaded(L"").Text()};
    return known;
}

std::string Narrow(const std::wstring& ascii) {
    return std::string(ascii.begin(), ascii.end());
}

// One state of the disk, and the work done on it: a start, or a save of Known().fresh.
struct DiskScenario {
    const char* what;
    bool saves;
    std::optional<std::wstring> placed;  // Lumarel.ini; nothing: missing
    std::optional<std::wstring> saving;  // Lumarel.ini.saving; nothing: missing
    bool placedNewer;                    // Lumarel.ini written after the copy beside it
    std::wstring before;                 // what a start reads before the work
};

// What one run of the work did, and what the next start reads afterwards.
struct DiskRun {
    bool cut = false;
    std::vector<Message> told;
    std::wstring read;  // what a start read
    std::wstring next;  // what the next start reads
    bool handleLeft = false;
    std::string placedAfter, savingAfter;  // the files' bytes after the work
};

class SettingsDiskTest : public PlatformFilesTest {
protected:
    void Prepare(const DiskScenario& s) {
        for (const std::wstring& path : FilesIn(directory)) {
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(path.c_str());
        }
        // An hour ago, so that a file written now is newer than both.
        FILETIME now{};
        GetSystemTimeAsFileTime(&now);
        const auto at = [&now](int seconds) {
            ULARGE_INTEGER time{{now.dwLowDateTime, now.dwHighDateTime}};
            time.QuadPart -= (3600ull - static_cast<unsigned>(seconds)) * 10'000'000ull;
            return FILETIME{time.LowPart, time.HighPart};
        };
        const auto put = [&](const std::wstring& path, const std::wstring& text, int seconds) {
            PutFileBytes(path, Narrow(text));
            HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            const FILETIME written = at(seconds);
            SetFileTime(file, nullptr, nullptr, &written);
            CloseHandle(file);
        };
        if (s.saving) {
            put(saving(), *s.saving, 10);
        }
        if (s.placed) {
            put(settings, *s.placed, s.placedNewer ? 20 : 0);
        }
    }
    std::wstring saving() const { return settings + kSavingSuffix; }

    DiskRun Run(const DiskScenario& s, FaultyDisk& disk) {
        DiskRun run;
        Win32TextFiles faulty(disk);
        FakeMessages told;
        LoadedSettings work = s.saves ? Loaded(Known().fresh) : LoadedSettings{};
        try {
            if (s.saves) {
                SaveSettings(directory, faulty, told, work.controls, work.location);
            } else {
                LoadSettings(directory, faulty, told, work.controls, work.location);
                run.read = work.Text();
            }
        } catch (const CutOff&) {
            run.cut = true;
        }
        run.told = told.shown;
        return run;
    }
    void Finish(DiskRun& run) {
        // What a killed process leaves open, the system closes: nothing may stay held.
        for (const std::wstring& path : FilesIn(directory)) {
            HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
            run.handleLeft = run.handleLeft || file == INVALID_HANDLE_VALUE;
            CloseHandle(file);
        }
        run.placedAfter = FileBytes(settings);
        run.savingAfter = FileBytes(saving());
        run.next = NextStart();
    }
    std::wstring NextStart() {
        LoadedSettings next;
        FakeMessages told;
        LoadSettings(directory, files, told, next.controls, next.location);
        return next.Text();
    }
};

std::string Name(const std::wstring& settingsText) {
    return settingsText == Known().old        ? "the old settings"
           : settingsText == Known().fresh    ? "the new settings"
           : settingsText == Known().kept     ? "the kept copy"
           : settingsText == Known().defaults ? "the defaults"
                                              : "something else";
}

bool Says(const Message& message, const std::wstring& words) {
    return message.text.find(words) != std::wstring::npos;
}

// What is wrong with a run: settings lost, or a message that the disk belies.
std::optional<std::string> Fault(const DiskScenario& s, const DiskRun& run,
                                 const std::wstring& savingPath) {
    if (run.handleLeft) {
        return "a file stayed held open";
    }
    const std::wstring placed(run.placedAfter.begin(), run.placedAfter.end());
    if (!placed.empty() && !IsCompleteSettingsText(placed)) {
        return "Lumarel.ini was left neither empty nor complete";
    }
    if (run.next != s.before && !(s.saves && run.next == Known().fresh)) {
        return "the next start reads " + Name(run.next) + ": settings lost";
    }
    // A complete copy beside the file goes only for a complete file at least as new.
    if (s.saving == Known().kept && run.savingAfter != Narrow(Known().kept) &&
        run.savingAfter != Narrow(Known().fresh) &&
        !(run.savingAfter.empty() && !run.placedAfter.empty())) {
        return std::string("the complete copy beside the file was destroyed");
    }
    if (s.saving == Known().kept && !s.saves && s.placedNewer &&
        run.savingAfter != Narrow(Known().kept)) {
        return std::string("the older copy beside the emptied file was taken or destroyed");
    }
    if (run.cut) {
        return std::nullopt;  // nobody was there to be told
    }
    const auto expect = [&](const std::wstring& wanted,
                            const char* promise) -> std::optional<std::string> {
        if (run.next == wanted) {
            return std::nullopt;
        }
        return std::string("untrue: it said ") + promise + ", but the next start reads " +
               Name(run.next);
    };
    if (s.saves) {
        if (run.told.empty()) {
            return expect(Known().fresh, "nothing");
        }
        for (const Message& m : run.told) {
            std::optional<std::string> untrue;
            if (Says(m, L"are unchanged") || Says(m, L"saved before are kept in")) {
                untrue = expect(s.before, "the settings saved before stay");
            } else if (Says(m, L"They are kept in " + savingPath + L", which Lumarel takes")) {
                untrue = expect(Known().fresh, "the new settings are taken at the next start");
                if (run.savingAfter != Narrow(Known().fresh)) {
                    untrue = "untrue: it said the new settings are kept beside the file";
                }
            } else if (!Says(m, L"They are kept in " + savingPath + L".") &&
                       !Says(m, L"If that file is complete, Lumarel takes it")) {
                untrue = "a message the walk cannot judge";
            }
            if (untrue) {
                return untrue;
            }
        }
        return std::nullopt;
    }
    if (run.told.empty() && run.read != s.before) {
        return "the start read " + Name(run.read) + " without a word";
    }
    for (const Message& m : run.told) {
        if (Says(m, L"again at its next start") && run.next != run.read) {
            return "untrue: it said the same settings come again, but the next start reads " +
                   Name(run.next);
        }
    }
    if (s.placedNewer && s.saving && !s.saves && run.told.empty()) {
        return std::string("the older copy beside the file was not named");
    }
    return std::nullopt;
}

TEST_F(SettingsDiskTest, NoFailureOrCutOffOfAFileCallLosesTheSettingsOrIsToldUntrue) {
    const DiskScenario scenarios[] = {
        {"a save over saved settings", true, Known().old, {}, false, Known().old},
        {"the first save", true, L"", {}, false, Known().defaults},
        {"a save with no file in place", true, {}, {}, false, Known().defaults},
        {"a save beside a leftover copy", true, Known().old, Known().kept, false, Known().old},
        {"a save while a kept copy waits", true, L"", Known().kept, false, Known().kept},
        {"a save while a kept copy waits and no file is in place",
         true,
         {},
         Known().kept,
         false,
         Known().kept},
        {"a save after the file was emptied by hand", true, L"", Known().kept, true,
         Known().defaults},
        {"a start", false, Known().old, {}, false, Known().old},
        {"the first start", false, {}, {}, false, Known().defaults},
        {"a start beside a leftover copy", false, Known().old, Known().kept, false, Known().old},
        {"a start after a cut-off save, the file empty", false, L"", Known().kept, false,
         Known().kept},
        {"a start after a cut-off save, no file", false, {}, Known().kept, false, Known().kept},
        {"a start after the file was emptied by hand", false, L"", Known().kept, true,
         Known().defaults},
        {"a start beside a half-written copy", false, L"",
         Known().kept.substr(0, Known().kept.size() / 2), false, Known().defaults},
        {"a save beside a half-written copy", true, L"",
         Known().kept.substr(0, Known().kept.size() / 2), false, Known().defaults},
    };
    // Each call of each piece of work fails in turn with each error it can return; after
    // such a failure, the work is also ended after each later call. Each call in turn also
    // finds the device gone from then on, and each ends the work.
    enum Kind { kClean, kFails, kFailsThenEnds, kDeviceGone, kKilled, kPowerLost, kPowerZeroed };
    const char* const kindNames[] = {"no failure",
                                     "one call fails",
                                     "one call fails, a later one ends the work",
                                     "the device gone from a call on",
                                     "killed after a call",
                                     "power cut after a call, unflushed data lost",
                                     "power cut after a call, unflushed data zeroed"};
    struct Tally {
        std::set<std::pair<const DiskScenario*, int>> points;  // calls struck
        int runs = 0, faults = 0;
    };
    Tally tally[std::size(kindNames)];
    std::vector<std::string> faults;
    const Cut cuts[] = {Cut::Kill, Cut::PowerLost, Cut::PowerZeroed};
    const auto cutKind = [](Cut cut) {
        return cut == Cut::Kill ? kKilled : cut == Cut::PowerLost ? kPowerLost : kPowerZeroed;
    };
    for (const DiskScenario& s : scenarios) {
        // Runs one plan; false when it asks for a call or an error the work never reaches.
        const auto attempt = [&](Kind kind, FaultyDisk plan, int* callsMade = nullptr) {
            Prepare(s);
            FaultyDisk& disk = plan;
            disk.model.Begin(directory);
            DiskRun run = Run(s, disk);
            if (callsMade != nullptr) {
                *callsMade = disk.calls;
            }
            if (disk.calls < std::max({disk.failAt, disk.goneFrom, disk.cutAt}) ||
                disk.noSuchError) {
                return false;
            }
            if (disk.cut == Cut::PowerLost || disk.cut == Cut::PowerZeroed) {
                disk.model.PowerCut(disk.cut == Cut::PowerZeroed);
            }
            Finish(run);
            ++tally[kind].runs;
            tally[kind].points.insert({&s, std::max({disk.failAt, disk.goneFrom, disk.cutAt})});
            if (const auto fault = Fault(s, run, saving())) {
                ++tally[kind].faults;
                faults.push_back(std::string(s.what) + ", " +
                                 (disk.struck.empty() ? "no failure" : disk.struck) + ": " +
                                 *fault);
            }
            return true;
        };
        attempt(kClean, {});
        for (int at = 1;; ++at) {
            bool reached = false;
            for (size_t choice = 0;; ++choice) {
                FaultyDisk plan;
                plan.failAt = at;
                plan.choice = choice;
                int calls = 0;
                if (!attempt(kFails, plan, &calls)) {
                    break;
                }
                reached = true;
                for (int later = at; later <= calls; ++later) {
                    for (const Cut cut : cuts) {
                        plan.cutAt = later;
                        plan.cut = cut;
                        attempt(kFailsThenEnds, plan);
                    }
                }
            }
            if (!reached) {
                break;
            }
            FaultyDisk gone;
            gone.goneFrom = at;
            attempt(kDeviceGone, gone);
            for (const Cut cut : cuts) {
                FaultyDisk ended;
                ended.cutAt = at;
                ended.cut = cut;
                attempt(cutKind(cut), ended);
            }
        }
    }
    std::printf("%-48s %7s %6s %7s\n", "settings file walk", "calls", "runs", "faults");
    for (size_t k = 0; k < std::size(kindNames); ++k) {
        std::printf("%-48s %7zu %6d %7d\n", kindNames[k], tally[k].points.size(), tally[k].runs,
                    tally[k].faults);
    }
    std::string report;
    for (size_t i = 0; i < faults.size() && i < 40; ++i) {
        report += "\n  " + faults[i];
    }
    EXPECT_TRUE(faults.empty()) << faults.size() << " runs went wrong:" << report;
}

TEST_F(SettingsDiskTest, ACopyKeptBesideAFileHeldOpenByAnotherProgramIsNeverDestroyed) {
    // Another program holds the empty settings file open without delete sharing: neither
    // ReplaceFileW nor MoveFileExW may give the copy beside it the file's name.
    Prepare({"", false, L"", Known().kept, false, Known().kept});
    std::unique_ptr<void, decltype(&CloseHandle)> held(
        CreateFileW(settings.c_str(), GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr),
        &CloseHandle);
    ASSERT_NE(held.get(), INVALID_HANDLE_VALUE);
    LoadedSettings start;
    FakeMessages told;
    LoadSettings(directory, files, told, start.controls, start.location);
    EXPECT_EQ(Name(start.Text()), Name(Known().kept));
    ASSERT_EQ(told.shown.size(), 1u);
    EXPECT_NE(told.shown[0].text.find(saving()), std::wstring::npos) << Narrow(told.shown[0].text);
    EXPECT_EQ(Name(NextStart()), Name(Known().kept)) << "while the file is still held";
    held.reset();
    EXPECT_EQ(Name(NextStart()), Name(Known().kept)) << "once the file is free";
    EXPECT_EQ(FileBytes(settings), Narrow(Known().kept)) << "not put in place once it could be";
}

TEST_F(SettingsDiskTest, ASecondSaveWhileTheNameStaysBlockedKeepsTheNewerCopy) {
    Prepare({"", true, Known().old, {}, false, Known().old});
    FaultyDisk disk;
    // ReplaceFileW removes the old file and cannot rename the new one, nor can any file
    // take the settings file's name.
    disk.rule = [this](Call call, const std::wstring& target) -> std::optional<Injected> {
        if (call == Call::Replace) {
            return Injected{ERROR_UNABLE_TO_MOVE_REPLACEMENT, Effect::ReplacedFileRemoved};
        }
        if (call == Call::Move && target == settings) {
            return Injected{ERROR_ACCESS_DENIED};
        }
        return std::nullopt;
    };
    Win32TextFiles faulty(disk);
    FakeMessages told;
    LoadedSettings first = Loaded(Known().fresh);
    SaveSettings(directory, faulty, told, first.controls, first.location);
    LoadedSettings second = Loaded(Known().kept);
    SaveSettings(directory, faulty, told, second.controls, second.location);
    ASSERT_EQ(told.shown.size(), 2u);
    for (const Message& m : told.shown) {
        EXPECT_NE(m.text.find(saving()), std::wstring::npos) << Narrow(m.text);
        EXPECT_EQ(m.text.find(L"unchanged"), std::wstring::npos) << Narrow(m.text);
    }
    // The second save's complete file took the place of the first one's, never an empty one.
    EXPECT_EQ(Name(NextStart()), Name(Known().kept));
}

}  // namespace
}  // namespace lumarel
