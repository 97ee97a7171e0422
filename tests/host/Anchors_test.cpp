#include <gtest/gtest.h>

#include "ui/pure/Orvex_Anchors.h"

using namespace orvex;

TEST(Anchors, AllSidesStretch) {
    EXPECT_EQ(AnchorPlace({11, 13, 437, 471}, 449, 517, 549, 617, akAll), (TPixelRect{11, 13, 537, 571}));
}

TEST(Anchors, BottomRightMoves) {
    EXPECT_EQ(AnchorPlace({252, 396, 327, 421}, 449, 517, 439, 527, akBottomRight), (TPixelRect{242, 406, 317, 431}));
}

TEST(Anchors, TopLeftStays) {
    EXPECT_EQ(AnchorPlace({5, 6, 50, 60}, 100, 100, 300, 20, akTopLeft), (TPixelRect{5, 6, 50, 60}));
    EXPECT_EQ(AnchorPlace({5, 6, 50, 60}, 100, 100, 300, 20, 0), (TPixelRect{5, 6, 50, 60}));
}

TEST(Anchors, ShrinkingNeverGivesNegativeSizes) {
    const TPixelRect r = AnchorPlace({10, 10, 60, 60}, 100, 100, 20, 20, akAll);
    EXPECT_EQ(r.Right, r.Left);
    EXPECT_EQ(r.Bottom, r.Top);
}
