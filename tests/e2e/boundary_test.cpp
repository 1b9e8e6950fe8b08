// The real lumarel.exe at the edge of the system: programs planted beside it, a location its
// ANSI code page cannot hold, an emulator that is gone.

#include <gtest/gtest.h>

#include "tests/e2e/world.h"
#include "ui/main/main_layout.h"
#include "ui/main/main_menu.h"

namespace lumarel {
namespace {

using namespace e2e;

class BoundaryTest : public World {
protected:
    void WriteSettings(const std::string& bytes) {
        std::ofstream(std::filesystem::path(app + L"\\Lumarel.ini"), std::ios::binary) << bytes;
    }
    void PressRun() {
        RemoteListView(GetDlgItem(main, File1)).Select(0);
        PostMessageW(GetDlgItem(main, Go_Button), BM_CLICK, 0, 0);
    }

    HWND main = nullptr;
};

// UTF-8 of ASCII and Cyrillic text, as another editor would save it.
std::string Utf8(const std::wstring& text) {
    std::string bytes;
    for (const wchar_t c : text) {
        if (c < 0x80) {
            bytes += static_cast<char>(c);
        } else {
            bytes += static_cast<char>(0xC0 | (c >> 6));
            bytes += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return bytes;
}

TEST_F(BoundaryTest, ANotepadPlantedBesideLumarelOrInItsWorkingDirectoryNeverRuns) {
    const std::wstring work = root + L"\\work";
    ASSERT_TRUE(CreateDirectoryW(work.c_str(), nullptr));
    std::ofstream(std::filesystem::path(emulatorDir + L"\\readme.txt"), std::ios::binary)
        << "The emulator's own readme.\r\n";
    // Beside Lumarel is searched first, so the working directory gets a round of its own.
    for (const std::wstring& folder : {work, app}) {
        ASSERT_TRUE(CopyFileW(WindowsPath(STAND_IN_EXE).c_str(),
                              (folder + L"\\notepad.exe").c_str(), FALSE));
        main = StartLumarel(work);
        ASSERT_NE(main, nullptr);
        ASSERT_TRUE(Choose(main, MenuItem::mnuReadme));
        HWND editor = FindTopLevelContaining(L"readme", 20s);
        ASSERT_NE(editor, nullptr) << "the system's editor did not open readme.txt";
        PostMessageW(editor, WM_CLOSE, 0, 0);
        WaitUntil([&] { return !IsWindow(editor); }, 10s);
        EXPECT_EQ(ReadBytes(folder + L"\\received.txt"), "") << "the planted notepad ran";
        lumarel.Kill();
    }
}

TEST_F(BoundaryTest, AnEmulatorInACyrillicFolderIsReadSavedAndStarted) {
    const std::wstring folder = root + L"\\\u042d\u043c\u0443\u043b\u044f\u0442\u043e\u0440";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const std::wstring cyrillicEmulator = folder + L"\\snes9x.exe";
    ASSERT_TRUE(CopyFileW(WindowsPath(STAND_IN_EXE).c_str(), cyrillicEmulator.c_str(), FALSE));
    const std::string location = "Location of Snes9x: " + Utf8(cyrillicEmulator) + "\r\n";
    WriteSettings("\xEF\xBB\xBF" + location);  // as an editor saves UTF-8

    main = StartLumarel();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(Choose(main, MenuItem::save));
    ASSERT_TRUE(Choose(main, MenuItem::exit));
    ASSERT_TRUE(lumarel.WaitForExit(10s));
    const std::string saved = ReadBytes(app + L"\\Lumarel.ini");
    EXPECT_EQ(saved.substr(0, 3 + location.size()), "\xEF\xBB\xBF" + location);

    main = StartLumarel();
    ASSERT_NE(main, nullptr);
    PressRun();
    const std::wstring received = folder + L"\\received.txt";
    ASSERT_TRUE(WaitUntil([&] { return !ReadBytes(received).empty(); }, 20s))
        << "the emulator in the Cyrillic folder did not start; on the screen: "
        << Ascii(MessageBoxText(FindMessageBox(lumarel.Id(), 1s)));
    EXPECT_EQ(ReadBytes(received).substr(0, ShortForm(cyrillicEmulator).size()),
              Ascii(ShortForm(cyrillicEmulator)));
}

TEST_F(BoundaryTest, AnEmulatorThatIsGoneIsNamedAsNotFound) {
    const std::wstring gone = emulatorDir + L"\\old\\snes9x.exe";
    WriteSettings("Location of Snes9x: " + Ascii(gone) + "\r\n");
    main = StartLumarel();
    ASSERT_NE(main, nullptr);
    PressRun();
    std::wstring title;
    EXPECT_EQ(AnswerMessageBox(&title),
              L"Snes9x was not found:\n" + gone +
                  L"\n\nChoose where it is under Options > File Locations.");
    EXPECT_EQ(title, L"Lumarel");
    EXPECT_TRUE(WaitUntil([&] { return TextOf(main) == L"Lumarel v1.5"; }, 5s));
}

}  // namespace
}  // namespace lumarel
