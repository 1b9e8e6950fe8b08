#pragma once
// A world of its own for end-to-end tests: Lumarel copied into a directory with blanks in
// its name and a ROM beside it, the stand-in emulator in another directory with blanks.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/robot.h"
#include "ui/main/main_menu.h"

namespace lumarel::e2e {

using namespace robot;

inline std::wstring ShortForm(const std::wstring& path) {
    wchar_t buffer[1024] = L"";
    return GetShortPathNameW(path.c_str(), buffer, 1024) ? buffer : L"";
}

inline std::string ReadBytes(const std::wstring& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// Paths and lines here are ASCII (short paths); each character narrows as it is.
inline std::string Ascii(const std::wstring& text) {
    std::string narrow;
    narrow.reserve(text.size());
    for (wchar_t c : text) {
        narrow += static_cast<char>(c);
    }
    return narrow;
}

// The lines of a list box of another process.
inline std::vector<std::wstring> ListBoxLines(HWND list) {
    std::vector<std::wstring> lines;
    const auto count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[MAX_PATH] = L"";
        if (SendMessageW(list, LB_GETTEXTLEN, i, 0) < MAX_PATH) {
            SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        }
        lines.emplace_back(text);
    }
    return lines;
}

// A menu item of Lumarel's main window, chosen with the access keys its menu bar shows.
inline ::testing::AssertionResult Choose(HWND main, MenuItem item) {
    static const std::map<MenuItem, std::wstring> kAccessKeys = {
        {MenuItem::exit, L"x"},   {MenuItem::locations, L"ol"}, {MenuItem::game_genie, L"og"},
        {MenuItem::save, L"ov"},  {MenuItem::KeyBoard, L"hk"},  {MenuItem::mnuReadme, L"hc"},
        {MenuItem::About, L"ha"},
    };
    if (!ChooseFromMenu(main, kAccessKeys.at(item))) {
        return ::testing::AssertionFailure() << "no menu showed within 10 s";
    }
    return ::testing::AssertionSuccess();
}

// A world of its own: Lumarel in a directory with blanks in its name, its ROMs beside it,
// and the stand-in emulator in another directory with blanks.
class World : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        root = std::wstring(temp) + L"lumarel run " + std::to_wstring(GetCurrentProcessId()) +
               L" " + std::to_wstring(++worlds);
        std::error_code ignored;  // a world left by a run that was cut short
        std::filesystem::remove_all(std::filesystem::path(root), ignored);
        app = root + L"\\My Games";
        emulatorDir = root + L"\\My Emulators";
        for (const std::wstring& dir : {root, app, emulatorDir}) {
            ASSERT_TRUE(CreateDirectoryW(dir.c_str(), nullptr)) << Ascii(dir);
        }
        emulator = emulatorDir + L"\\snes9x.exe";
        ASSERT_TRUE(
            CopyFileW(WindowsPath(LUMAREL_EXE).c_str(), (app + L"\\lumarel.exe").c_str(), FALSE));
        ASSERT_TRUE(CopyFileW(WindowsPath(STAND_IN_EXE).c_str(), emulator.c_str(), FALSE));
        rom = app + L"\\a long game name.smc";
        std::ofstream(std::filesystem::path(rom), std::ios::binary) << std::string(1500000, 'r');
        std::ofstream(std::filesystem::path(app + L"\\Lumarel.ini"), std::ios::binary)
            << "Location of Snes9x: " << Ascii(emulator) << "\r\n";
    }

    void TearDown() override {
        lumarel.Kill();
        std::error_code ignored;
        std::filesystem::remove_all(std::filesystem::path(root), ignored);
    }

    HWND StartLumarel(const std::wstring& workingDirectory = L"") {
        if (!lumarel.Start(L"\"" + app + L"\\lumarel.exe\"",
                           workingDirectory.empty() ? app : workingDirectory)) {
            return nullptr;
        }
        return FindTopLevel(lumarel.Id(), L"Lumarel v1.5", 30s);
    }

    // The message box Lumarel shows: its text, after which OK is pressed.
    std::wstring AnswerMessageBox(std::wstring* title = nullptr) {
        HWND box = FindMessageBox(lumarel.Id(), 10s);
        if (box == nullptr) {
            return L"(no message box within 10 s)";
        }
        const std::wstring text = MessageBoxText(box);
        if (title != nullptr) {
            *title = TextOf(box);
        }
        PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
        WaitUntil([&] { return !IsWindow(box); }, 10s);
        return text;
    }

    std::wstring root, app, emulatorDir, emulator, rom;
    Process lumarel;
    static inline int worlds = 0;  // each test its own directories
};

}  // namespace lumarel::e2e
