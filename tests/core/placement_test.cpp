#include "ui/window/placement.h"

#include <gtest/gtest.h>

namespace lumarel {
namespace {

TEST(Placement, CentresOnTheWholeScreenWithoutClamping) {
    struct Case {
        ScreenSize screen;
        int width, height;
        int left, top;
    };
    const Case cases[] = {
        {{1024, 768}, 1024, 768, 0, 0},      // as large as the screen
        {{1024, 768}, 1064, 400, -20, 184},  // 600 twips (40 pixels) wider than the screen
        {{1024, 768}, 480, 500, 272, 134},
        {{800, 600}, 2000, 1800, -600, -600},
    };
    for (const Case& c : cases) {
        const WindowOrigin origin = CentredOrigin(c.screen, c.width, c.height);
        EXPECT_EQ(origin.left, c.left);
        EXPECT_EQ(origin.top, c.top);
    }
}

}  // namespace
}  // namespace lumarel
