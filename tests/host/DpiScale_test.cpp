#include <gtest/gtest.h>

#include "ui/pure/Orvex_DpiScale.h"

using namespace orvex;

namespace {

TEST(DpiScale, SizesAtEveryCommonScale) {
    const struct {
        int Value, Dpi, Scaled;
    } cases[] = {
        {75, 96, 75},  {75, 120, 94}, {75, 144, 113},  {75, 192, 150}, {1, 120, 1},  {2, 120, 3}, {-13, 144, -20},
        {-3, 120, -4}, {0, 192, 0},   {472, 144, 708}, {528, 0, 528},  {25, -5, 25}, {4, 168, 7}, {100000, 480, 500000},
    };
    for (const auto& c : cases) EXPECT_EQ(ScaledToDpi(c.Value, c.Dpi), c.Scaled) << c.Value << " at " << c.Dpi;
}

TEST(DpiScale, RectanglesKeepSharedEdgesBetweenScreens) {
    // Two buttons side by side at 96 DPI share an edge at every scale, and a
    // trip 144 -> 96 -> 144 lands where it started.
    const TPixelRect left{252, 396, 327, 421}, right{327, 396, 410, 421};
    for (int dpi : {120, 144, 168, 192}) {
        const TPixelRect a = ScaledBetween(left, 96, dpi), b = ScaledBetween(right, 96, dpi);
        EXPECT_EQ(a.Right, b.Left) << dpi;
        EXPECT_EQ(ScaledBetween(ScaledBetween(a, dpi, 96), 96, dpi), a) << dpi;
    }
    EXPECT_EQ(ScaledBetween(TPixelRect{10, 20, 30, 40}, 192, 96), (TPixelRect{5, 10, 15, 20}));
}

}  // namespace
