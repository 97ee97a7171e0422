#include <gtest/gtest.h>

#include <algorithm>
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

// At every scale the box is the 96-DPI box scaled: its edge, its place in
// the cell, and a tick of as many adjacent strokes, each as long, as the
// scale gives.
TEST(OwnerDrawGeometry, BoxAndTickAtEveryScale) {
    const struct {
        int Dpi, Edge, Strokes, Length, Inset, Line;
    } cases[] = {{96, 10, 7, 3, 5, 1}, {120, 13, 9, 4, 6, 1}, {144, 16, 11, 5, 8, 2}, {192, 21, 14, 6, 10, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Dpi);
        const TPixelPoint o{100, 50};
        EXPECT_EQ(CheckBoxFace(o, c.Dpi), (TPixelRect{100, 50, 100 + c.Edge, 50 + c.Edge}));
        EXPECT_EQ(CheckBoxOutline(o, c.Dpi)[2], (TPixelPoint{100 + c.Edge, 50 + c.Edge}));
        EXPECT_EQ(CheckBoxLineWidth(c.Dpi), c.Line);
        EXPECT_EQ(CheckBoxOrigin({0, 0, 200, ScaledToDpi(16, c.Dpi)}, TCellAlignment::Left, c.Dpi).X, c.Inset);
        const auto tick = CheckBoxTick(o, c.Dpi);
        ASSERT_EQ(tick.size(), static_cast<std::size_t>(c.Strokes));
        int lowest = 0;
        for (std::size_t i = 0; i < tick.size(); ++i) {
            EXPECT_EQ(tick[i].From.X, tick[0].From.X + static_cast<int>(i));
            EXPECT_EQ(tick[i].To.Y - tick[i].From.Y, c.Length);
            lowest = std::max(lowest, tick[i].From.Y - 50);
        }
        EXPECT_EQ(tick[0].From, (TPixelPoint{100 + ScaledToDpi(2, c.Dpi), 50 + ScaledToDpi(4, c.Dpi)}));
        EXPECT_EQ(lowest, ScaledToDpi(6, c.Dpi));
        EXPECT_LE(tick.back().From.X, 100 + c.Edge);
    }
}
