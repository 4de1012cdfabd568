#include <gtest/gtest.h>

#include <climits>

#include "panic/PanicRules.h"

namespace hc {
namespace {

TEST(PanicOpacity, FallsFromOpaqueToInvisibleInTruncatedTenths) {
    const int expected[] = {255, 230, 204, 179, 153, 128, 102, 77, 51, 26, 0};
    for (int position = 0; position <= 10; ++position) EXPECT_EQ(PanicOpacity(position), expected[position]);
    EXPECT_EQ(PanicOpacity(-3), 255);
    EXPECT_EQ(PanicOpacity(11), 0);
}

TEST(ReachablePanicPosition, KeepsAnyPositionThatTouchesAWorkAreaAndOtherwiseUsesThePrimaryCorner) {
    const RECT primary{0, 0, 1280, 984};
    const RECT right{1280, 0, 2560, 1024};
    const std::vector<RECT> areas{primary, right};
    const SIZE size{369, 80};
    auto place = [&](int x, int y) {
        const POINT p = ReachablePanicPosition(POINT{x, y}, size, areas, primary);
        return std::pair<int, int>(p.x, p.y);
    };
    EXPECT_EQ(place(100, 200), std::pair(100, 200));
    EXPECT_EQ(place(2000, 500), std::pair(2000, 500));  // on the second monitor
    EXPECT_EQ(place(-368, -79), std::pair(-368, -79));  // one pixel still on screen
    EXPECT_EQ(place(-369, 10), std::pair(0, 0));        // just off the left edge
    EXPECT_EQ(place(100, 984), std::pair(0, 0));        // below the primary work area, beside the taller one
    EXPECT_EQ(place(-30000, -30000), std::pair(0, 0));
    EXPECT_EQ(place(INT_MAX, INT_MAX), std::pair(0, 0));  // no wrap-round onto the screen
    EXPECT_EQ(place(INT_MIN, 10), std::pair(0, 0));
    // A work area that does not start at the origin (a taskbar on the left).
    const RECT shifted{60, 0, 1280, 1024};
    const POINT p = ReachablePanicPosition(POINT{-30000, 5}, size, {shifted}, shifted);
    EXPECT_EQ(p.x, 60);
    EXPECT_EQ(p.y, 0);
}

}  // namespace
}  // namespace hc
