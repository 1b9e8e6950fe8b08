// The real Win32 file services on a real (Wine) disk, with the failures users meet.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "launch/command_line.h"
#include "platform/win32/win32_services.h"
#include "settings/settings_format.h"

namespace lumarel {
namespace {

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
        for (const std::wstring& file :
             {settings, settings + L".saving", directory + L"\\\u03a9 game.smc"}) {
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

TEST_F(PlatformFilesTest, SaveReplacesTheWholeFile) {
    ASSERT_TRUE(files.ReplaceWhole(settings, L"first\r\n").ok);
    ASSERT_TRUE(files.ReplaceWhole(settings, L"second\r\n").ok);
    EXPECT_EQ(Read(settings), L"second\r\n");
    EXPECT_EQ(GetFileAttributesW((settings + L".saving").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(PlatformFilesTest, SaveOverAFileLockedByAnotherProgramFailsAndKeepsIt) {
    ASSERT_TRUE(files.ReplaceWhole(settings, L"saved before\r\n").ok);
    HANDLE lock = CreateFileW(settings.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    const OsResult saved = files.ReplaceWhole(settings, L"new\r\n");
    CloseHandle(lock);
    EXPECT_FALSE(saved.ok);
    EXPECT_FALSE(saved.reason.empty());
    EXPECT_EQ(Read(settings), L"saved before\r\n");
    EXPECT_EQ(GetFileAttributesW((settings + L".saving").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(PlatformFilesTest, FailuresComeBackWithTheSystemsReason) {
    const std::wstring nowhere = directory + L"\\missing\\qzdebug.out";
    const OsResult appended = files.AppendLine(nowhere, L"line");
    EXPECT_FALSE(appended.ok);
    EXPECT_FALSE(appended.reason.empty());
    std::wstring text;
    EXPECT_TRUE(files.ReadAll(directory + L"\\none.ini", kLargestSettingsFile, text).NotFound());
    std::vector<DirectoryEntry> entries;
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
    std::vector<DirectoryEntry> entries;
    const OsResult listed = fileSystem.List(std::wstring{missing, L':', L'\\'}, entries);
    EXPECT_TRUE(listed.NotFound() || listed.DeviceUnavailable()) << listed.error;
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

}  // namespace
}  // namespace lumarel
