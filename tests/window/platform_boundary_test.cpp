// The boundary to the system through the real Win32 calls under Wine: the bytes files get and
// give, memory and handles that must not grow, libraries that must come from the system.

#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <string>

#include "platform/win32/system_libraries.h"
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

class PlatformBoundaryTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        directory =
            std::wstring(temp) + L"lumarel boundary " + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(directory.c_str(), nullptr);
        settings = SettingsFilePath(directory);
    }
    void TearDown() override {
        DeleteFileW(settings.c_str());
        DeleteFileW((settings + kSavingSuffix).c_str());
        RemoveDirectoryW(directory.c_str());
    }
    void WriteBytes(const std::string& bytes) { testing::PutFileBytes(settings, bytes); }
    std::string ReadBytes() { return testing::FileBytes(settings); }
    // Loads the settings file as the main window's start-up does.
    std::wstring LoadLocation() {
        FakeOptionControls controls;
        std::wstring location;
        LoadSettings(directory, files, messages, controls, location);
        return location;
    }
    static PROCESS_MEMORY_COUNTERS Memory() {
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof(counters);
        K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
        return counters;
    }

    Win32TextFiles files;
    FakeMessages messages;
    std::wstring directory, settings;
};

TEST_F(PlatformBoundaryTest, ALocationTheAnsiCodePageLacksIsSavedAsUtf8AndReadBack) {
    ASSERT_EQ(GetACP(), 1252u) << "the cases below are written for Western code page 1252";
    const std::wstring cyrillic =
        L"C:\\\u042d\u043c\u0443\u043b\u044f\u0442\u043e\u0440\\snes9x.exe";
    FakeOptionControls controls;
    SaveSettings(directory, files, messages, controls, cyrillic);
    const std::string bytes = ReadBytes();
    EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF") << "no byte-order mark";
    EXPECT_EQ(bytes.substr(3, 22), "Location of Snes9x: C:") << "not UTF-8";
    EXPECT_EQ(LoadLocation(), cyrillic);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PlatformBoundaryTest, AnAnsiOnlySaveGivesTheBytesOfEarlierVersions) {
    ASSERT_EQ(GetACP(), 1252u);
    FakeOptionControls controls;
    controls.options.Sound_Off = controls.options.Sound_Mono = true;
    controls.options.JoyStick_off = controls.options.SuperFX_off = true;
    controls.options.DontRom = true;
    for (ListChoice* list : {&controls.options.Sound_Rate, &controls.options.Joy_Stick_Type,
                             &controls.options.Screen_Resolution, &controls.options.Frame_Rate}) {
        list->index = 0;
    }
    SaveSettings(directory, files, messages, controls, L"C:\\\u00c9mulateurs\\snes9x.exe");
    EXPECT_EQ(ReadBytes(),
              "Location of Snes9x: C:\\\xC9mulateurs\\snes9x.exe\r\n"
              "Sound: False\r\nStereo Sound: False\r\nSound Rate: 0\r\nJoystick: False\r\n"
              "Joystick Type: 0\r\nScreen Resolution: 0\r\nFrame Rate: 0\r\nSuperFX: False\r\n"
              "16-bit Colour: 0\r\nScale Image to Fit: 0\r\nTransparent Effects: 0\r\n"
              "TV Mode: 0\r\nRom Forcing: Don't Force\r\n");
}

TEST_F(PlatformBoundaryTest, NoCharacterIsChangedOnTheWayIntoTheFile) {
    ASSERT_EQ(GetACP(), 1252u);
    struct Case {
        std::wstring location;
        std::string mark;  // the byte-order mark the file starts with
    };
    const Case cases[] = {
        // The code page would guess L for the stroked L.
        {L"C:\\\u0141\u00f3d\u017a\\snes9x.exe", "\xEF\xBB\xBF"},
        // Its 1252 bytes read as UTF-8 "Pok\u00e9mon".
        {L"C:\\Pok\u00c3\u00a9mon\\snes9x.exe", "\xEF\xBB\xBF"},
        // Half a surrogate pair, which NTFS takes in a name and UTF-8 cannot hold.
        {L"C:\\Emu\xD83D\\snes9x.exe", "\xFF\xFE"},
    };
    for (const Case& c : cases) {
        FakeOptionControls controls;
        SaveSettings(directory, files, messages, controls, c.location);
        EXPECT_EQ(ReadBytes().substr(0, c.mark.size()), c.mark);
        EXPECT_EQ(LoadLocation(), c.location);
    }
    // The diagnostic record stays in the code page, with "?" rather than a look-alike.
    const std::wstring record = directory + L"\\record.out";
    ASSERT_TRUE(files.AppendLine(record, L"-x \u03a9").ok);
    std::wstring text;
    ASSERT_TRUE(files.ReadAll(record, kLargestSettingsFile, text).ok);
    DeleteFileW(record.c_str());
    EXPECT_EQ(text, L"-x ?\r\n");
}

TEST_F(PlatformBoundaryTest, FilesOfOtherEditorsAreRead) {
    const std::wstring location = L"C:\\\u0141\u00f3d\u017a\\snes9x.exe";  // Łódź
    struct Case {
        const char* what;
        std::string bytes;
    };
    const std::string utf8 =
        "Location of Snes9x: C:\\\xC5\x81\xC3\xB3"
        "d\xC5\xBA\\snes9x.exe\r\n";
    std::string utf16le = "\xFF\xFE";
    std::string utf16be = "\xFE\xFF";
    for (const wchar_t c : L"Location of Snes9x: " + location + L"\r\n") {
        utf16le += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
        utf16be += {static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)};
    }
    const Case cases[] = {
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + utf8},
        {"UTF-8 without one", utf8},
        {"UTF-16 LE", utf16le},
        {"UTF-16 BE", utf16be},
    };
    for (const Case& c : cases) {
        WriteBytes(c.bytes);
        EXPECT_EQ(LoadLocation(), location) << c.what;
    }
}

TEST_F(PlatformBoundaryTest, AHugeFileOfLineEndsIsToldWithBoundedMemory) {
    {  // written a megabyte at a time, so that the test itself raises no peak
        WriteBytes("");
        HANDLE file = CreateFileW(settings.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        const std::string megabyte(1 << 20, '\r');
        for (int i = 0; i < 48; ++i) {
            DWORD written = 0;
            WriteFile(file, megabyte.data(), static_cast<DWORD>(megabyte.size()), &written,
                      nullptr);
        }
        CloseHandle(file);
    }
    const SIZE_T peakBefore = Memory().PeakPagefileUsage;
    EXPECT_EQ(LoadLocation(), L"");
    const SIZE_T peakAfter = Memory().PeakPagefileUsage;
    EXPECT_LT(peakAfter - peakBefore, SIZE_T{16} << 20) << "the whole file was read";
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find(L"larger than 1 MB"), std::wstring::npos);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(settings.c_str(), GetFileExInfoStandard, &data);
    EXPECT_EQ(data.nFileSizeLow, 48u << 20) << "the file was changed";
}

TEST_F(PlatformBoundaryTest, ALocationWithANulInsideIsSkipped) {
    WriteBytes(std::string("Location of Snes9x: C:\\x\\a.bat\0.exe\r\n", 38));
    EXPECT_EQ(LoadLocation(), L"");
}

TEST_F(PlatformBoundaryTest, ListingsLeaveNoMemoryBehind) {
    Win32FileSystem fileSystem;
    DirectoryListing entries;
    ASSERT_TRUE(fileSystem.List(directory, entries).ok);
    const SIZE_T before = Memory().PagefileUsage;
    for (int i = 0; i < 1000; ++i) {
        fileSystem.List(directory, entries);
    }
    const SIZE_T after = Memory().PagefileUsage;
    EXPECT_LT(after > before ? after - before : 0, SIZE_T{512} << 10) << "a search handle leaks";
}

TEST_F(PlatformBoundaryTest, LibrariesComeFromTheSystemFolderOnly) {
    // planted.dll lies beside the test program, where a bare LoadLibrary looks first.
    HMODULE planted = LoadLibraryW(L"planted.dll");
    ASSERT_NE(planted, nullptr) << "the planted library is missing beside the tests";
    FreeLibrary(planted);
    EXPECT_EQ(LoadSystemLibrary(L"planted.dll"), nullptr);

    // Once Lumarel has said so at its start, a bare load does not look beside it either.
    LoadLibrariesFromSystemOnly();
    EXPECT_EQ(LoadLibraryW(L"planted.dll"), nullptr);

    HMODULE mpr = LoadSystemLibrary(L"mpr.dll");
    ASSERT_NE(mpr, nullptr);
    wchar_t loaded[MAX_PATH] = L"";
    GetModuleFileNameW(mpr, loaded, MAX_PATH);
    wchar_t system[MAX_PATH] = L"";
    GetSystemDirectoryW(system, MAX_PATH);
    EXPECT_EQ(_wcsnicmp(loaded, system, wcslen(system)), 0);
}

}  // namespace
}  // namespace lumarel
