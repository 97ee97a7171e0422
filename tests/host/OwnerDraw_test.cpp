#include <gtest/gtest.h>

#include <vector>

#include "ui/pure/Orvex_OwnerDraw.h"

using namespace orvex;

TEST(OwnerDrawGeometry, SeparatorRowSpansAllColumns) {
    const std::vector<int> widths{120, 200};
    const TPixelRect row = SeparatorRowRect({-4, 32}, widths);
    EXPECT_EQ(row, (TPixelRect{-4, 32, 316, 48}));
    const TPixelLine line = SeparatorLine(row);
    EXPECT_EQ(line.From, (TPixelPoint{-4, 40}));
    EXPECT_EQ(line.To, (TPixelPoint{311, 40}));
}

TEST(OwnerDrawGeometry, CheckBoxCellAndBoxByAlignment) {
    const std::vector<int> widths{100, 80, 60};
    const TPixelRect cell = CheckBoxCellRect({0, 16}, widths, 1);
    EXPECT_EQ(cell, (TPixelRect{100, 16, 180, 32}));
    EXPECT_EQ(CheckBoxOrigin(cell, TCellAlignment::Left), (TPixelPoint{105, 18}));
    EXPECT_EQ(CheckBoxOrigin(cell, TCellAlignment::Right), (TPixelPoint{160, 18}));
    EXPECT_EQ(CheckBoxOrigin(cell, TCellAlignment::Center), (TPixelPoint{134, 18}));
    EXPECT_EQ(CheckBoxCellRect({2, 0}, widths, 2), (TPixelRect{182, 0, 242, 16}));
    // A column beyond the last gives an empty cell at the row's end.
    const TPixelRect none = CheckBoxCellRect({0, 0}, widths, 5);
    EXPECT_EQ(none.Left, none.Right);
    EXPECT_EQ(none.Left, 240);
}

TEST(OwnerDrawGeometry, CenteredBoxInOddCellTruncatesTowardZero) {
    // Width 4 minus 11 is -7; halved toward zero gives -3.
    EXPECT_EQ(CheckBoxOrigin({10, 0, 14, 16}, TCellAlignment::Center).X, 7);
    // A row lower than the box: (5 - 11) / 2 is -3.
    EXPECT_EQ(CheckBoxOrigin({0, 10, 40, 15}, TCellAlignment::Left).Y, 7);
}

TEST(OwnerDrawGeometry, BoxFaceOutlineAndTick) {
    const TPixelPoint o{105, 18};
    EXPECT_EQ(CheckBoxFace(o), (TPixelRect{105, 18, 115, 28}));
    const auto outline = CheckBoxOutline(o);
    EXPECT_EQ(outline.front(), outline.back());
    EXPECT_EQ(outline[2], (TPixelPoint{115, 28}));
    const auto tick = CheckBoxTick(o);
    const int expectedA[7] = {4, 5, 6, 5, 4, 3, 2};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(tick[i].From, (TPixelPoint{o.X + 2 + i, o.Y + expectedA[i]}));
        EXPECT_EQ(tick[i].To, (TPixelPoint{o.X + 2 + i, o.Y + expectedA[i] + 3}));
    }
}

TEST(OwnerDrawColors, FillFollowsFocusHotAndSelection) {
    const std::uint32_t brush = 0xFFFFFF, high = 0x6A240A, hot = 0xCC6600;
    EXPECT_EQ(OwnerDrawFillColor(0, true, brush, high, hot), brush);
    EXPECT_EQ(OwnerDrawFillColor(DrawStateHot, true, brush, high, hot), brush);
    EXPECT_EQ(OwnerDrawFillColor(DrawStateFocused, true, brush, high, hot), high);
    EXPECT_EQ(OwnerDrawFillColor(DrawStateFocused | DrawStateHot, true, brush, high, hot), hot);
    EXPECT_EQ(OwnerDrawFillColor(DrawStateFocused | DrawStateHot, false, brush, high, hot), brush);
    // Other state flags (selected 0x01) are not consulted.
    EXPECT_EQ(OwnerDrawFillColor(0x01, true, brush, high, hot), brush);
}

TEST(OwnerDrawColors, SeparatorLineTakesBackgroundOnHighlight) {
    EXPECT_EQ(SeparatorLineColor(0xFFFFFF, 0xFFFFFF, SeparatorLineGray), SeparatorLineGray);
    EXPECT_EQ(SeparatorLineColor(0x6A240A, 0xFFFFFF, SeparatorLineGray), 0xFFFFFFu);
}
