// The real lumarel.exe, started as a user would start it.

#include <gtest/gtest.h>

#include "tests/e2e/robot.h"

namespace lumarel {
namespace {

using namespace robot;

TEST(Smoke, ShowsItsMainWindowAndEndsCleanlyWhenClosed) {
    Process lumarel;
    ASSERT_TRUE(lumarel.Start(L"\"" + WindowsPath(LUMAREL_EXE) + L"\""));
    HWND main = FindTopLevel(lumarel.Id(), L"Lumarel v1.5", 30s);
    ASSERT_NE(main, nullptr) << "no window captioned \"Lumarel v1.5\" within 30 s";

    PostMessageW(main, WM_CLOSE, 0, 0);
    DWORD exitCode = 1234;
    ASSERT_TRUE(lumarel.WaitForExit(20s, &exitCode)) << "still running 20 s after WM_CLOSE";
    EXPECT_EQ(exitCode, 0u);
}

}  // namespace
}  // namespace lumarel
