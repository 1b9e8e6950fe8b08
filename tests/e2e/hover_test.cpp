// Hover texts as a person meets them: the real pointer rests on a control of the real
// lumarel.exe, and the hover-text window that shows up is read.

#include <gtest/gtest.h>

#include "tests/e2e/world.h"
#include "ui/main/main_layout.h"

namespace lumarel {
namespace {

using namespace e2e;

class HoverTest : public World {
protected:
    // Rests the pointer on the control and waits for its hover text to show; gives what
    // showed last.
    std::wstring HoverTextOf(int id, const std::wstring& expected) {
        std::wstring shown;
        // A window that has only just appeared may not yet take the pointer's first
        // movement; a person would move the pointer again, and so does this, twice at most.
        for (int attempt = 0; attempt < 3 && shown != expected; ++attempt) {
            RestPointerOn(GetDlgItem(main, id));
            WaitUntil(
                [&] {
                    shown = ShownTooltip(lumarel.Id());
                    return shown == expected;
                },
                3s);
        }
        return shown;
    }

    HWND main = nullptr;
};

TEST_F(HoverTest, RestingThePointerOnAControlShowsItsHoverText) {
    main = StartLumarel();
    ASSERT_NE(main, nullptr);
    SetForegroundWindow(main);
    WaitUntil([&] { return GetForegroundWindow() == main; }, 5s);
    const std::pair<int, const wchar_t*> cases[] = {
        {Go_Button, L"Run the Emulator"},
        {Sound_Stereo, L"Stereo Sound"},
        {Frame_Rate, L"Pick a frame rate"},
        {File1, L"Roms in current directory"},
    };
    for (const auto& [id, text] : cases) {
        EXPECT_EQ(HoverTextOf(id, text), text) << "control " << id;
    }

    // A selection names the ROM in the list's hover text.
    RemoteListView(GetDlgItem(main, File1)).Select(0);
    EXPECT_EQ(HoverTextOf(Go_Button, L"Run the Emulator"), L"Run the Emulator");
    const std::wstring named = L"Currently Selected ROM: a long game name.smc";
    EXPECT_EQ(HoverTextOf(File1, named), named);

    // tv has no hover text: the one shown goes away and none comes back.
    RestPointerOn(GetDlgItem(main, tv));
    EXPECT_TRUE(WaitUntil([&] { return ShownTooltip(lumarel.Id()).empty(); }, 5s));
    EXPECT_FALSE(WaitUntil([&] { return !ShownTooltip(lumarel.Id()).empty(); }, 2s))
        << "tv showed " << Ascii(ShownTooltip(lumarel.Id()));
}

}  // namespace
}  // namespace lumarel
