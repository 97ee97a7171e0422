// The owner-drawn rows of general property lists: separator rows, check-box
// cells and their colours, painted by the real list view control.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/wine/support/GuiDriver.h"
#include "tests/wine/support/ListHost.h"
#include "ui/Orvex_CtrlRtns.h"

namespace {

using orvex::test::TListHost;

constexpr COLORREF Black = RGB(0, 0, 0);
constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Gray = RGB(128, 128, 128);

class GeneralList : public ::testing::Test {
protected:
    void SetUp() override {
        host_ = std::make_unique<TListHost>(TListHost::TKind::General,
                                            std::vector<orvex::test::TColumnSpec>{{"Property", 120},
                                                                                  {"Value", 100},
                                                                                  {"Flag", 80, LVCFMT_RIGHT}});
        heading_ = host_->AddRow({"General", ""}, orvex::rsHeading);
        plain_ = host_->AddRow({"Name", "value"});
        separator_ = host_->AddRow({""}, orvex::rsSeparator);
        ticked_ = host_->AddRow({"Visible", "1", "1"}, orvex::rsCheckBox);
        empty_ = host_->AddRow({"Enabled", "0", "yes"}, orvex::rsCheckBox);
    }
    HWND List() const { return host_->List(); }
    RECT Cell(int row, int column) const {
        RECT r{};
        ListView_GetSubItemRect(List(), row, column, LVIR_BOUNDS, &r);
        if (column == 0) r.right = r.left + ListView_GetColumnWidth(List(), 0);
        return r;
    }
    POINT ItemPos(int row) const {
        POINT p{};
        ListView_GetItemPosition(List(), row, &p);
        return p;
    }

    std::unique_ptr<TListHost> host_;
    int heading_ = 0, plain_ = 0, separator_ = 0, ticked_ = 0, empty_ = 0;
};

TEST_F(GeneralList, ImageIndexCarriesTheRowStyle) {
    for (auto [row, style] : {std::pair{heading_, orvex::rsHeading}, std::pair{separator_, orvex::rsSeparator},
                              std::pair{ticked_, orvex::rsCheckBox}}) {
        LVITEMA item{};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        ASSERT_TRUE(ListView_GetItem(List(), &item));
        EXPECT_EQ(item.iImage, style);
    }
}

TEST_F(GeneralList, SeparatorRowIsAGrayLineAtHalfHeight) {
    host_->Render();
    const POINT p = ItemPos(separator_);
    const int y = p.y + 8;
    EXPECT_EQ(host_->Pixel(p.x + 10, y), Gray);
    EXPECT_EQ(host_->Pixel(p.x + 200, y), Gray);
    EXPECT_EQ(host_->Pixel(p.x + 10, y - 3), White);
    // The line ends five pixels before the last column's right edge.
    const int right = p.x + 120 + 100 + 80;
    EXPECT_EQ(host_->Pixel(right - 6, y), Gray);
    EXPECT_EQ(host_->Pixel(right - 3, y), White);
}

TEST_F(GeneralList, CheckBoxCellsTickedForOne) {
    host_->Render();
    // Value column, left-aligned: the box starts 5 pixels into the cell.
    const POINT p = ItemPos(ticked_);
    const int x0 = p.x + 120 + 5, y0 = p.y + 2;
    EXPECT_EQ(host_->Pixel(x0, y0), Black);            // outline corner
    EXPECT_EQ(host_->Pixel(x0 + 10, y0 + 10), Black);  // opposite corner
    EXPECT_EQ(host_->Pixel(x0 + 1, y0 + 1), White);    // face
    EXPECT_EQ(host_->Pixel(x0 + 2, y0 + 4), Black);    // first stroke of the tick
    EXPECT_EQ(host_->Pixel(x0 + 4, y0 + 8), Black);    // lowest stroke
    EXPECT_EQ(host_->Pixel(x0 + 8, y0 + 2), Black);    // last stroke
    // The cell's text is not painted over the box.
    EXPECT_EQ(host_->Pixel(x0 + 30, y0 + 5), White);

    const POINT q = ItemPos(empty_);
    const int ex = q.x + 120 + 5, ey = q.y + 2;
    EXPECT_EQ(host_->Pixel(ex, ey), Black);
    EXPECT_EQ(host_->Pixel(ex + 2, ey + 4), White);  // "0": no tick
    EXPECT_EQ(host_->Pixel(ex + 4, ey + 8), White);
}

TEST_F(GeneralList, RightAlignedCheckBoxSits20PixelsFromTheRightEdge) {
    host_->Render();
    const POINT p = ItemPos(ticked_);
    const int cellRight = p.x + 120 + 100 + 80;
    const int x0 = cellRight - 20, y0 = p.y + 2;
    EXPECT_EQ(host_->Pixel(x0, y0), Black);
    EXPECT_EQ(host_->Pixel(x0 - 1, y0 + 5), White);
    EXPECT_EQ(host_->Pixel(x0 + 2, y0 + 4), Black);  // text "1": ticked
    const POINT q = ItemPos(empty_);
    EXPECT_EQ(host_->Pixel(cellRight - 20 + 2, q.y + 2 + 4), White);  // "yes" is not "1"
}

// The draw routines themselves, on a bitmap of our own with chosen states.
class OwnerDrawRoutines : public GeneralList {
protected:
    void SetUp() override {
        GeneralList::SetUp();
        orvex::TWindowDC screen(List());
        dc_.reset(::CreateCompatibleDC(screen.get()));
        bitmap_.reset(::CreateCompatibleBitmap(screen.get(), 400, 200));
        old_ = ::SelectObject(dc_.get(), bitmap_.get());
        const RECT all{0, 0, 400, 200};
        TBrushFill(all, RGB(10, 200, 10));
    }
    void TearDown() override { ::SelectObject(dc_.get(), old_); }
    void TBrushFill(const RECT& r, COLORREF c) {
        orvex::TBrush brush(::CreateSolidBrush(c));
        ::FillRect(dc_.get(), &r, brush.get());
    }
    COLORREF At(int x, int y) const { return ::GetPixel(dc_.get(), x, y); }

    orvex::TMemoryDC dc_;
    orvex::TBitmap bitmap_;
    HGDIOBJ old_ = nullptr;
};

TEST_F(OwnerDrawRoutines, FocusedSeparatorInListWithSelection) {
    orvex::test::SelectListRow(List(), plain_);
    orvex::TListCanvas canvas{dc_.get(), White, Black, Black};
    orvex::DrawSeparatorItem(List(), separator_, CDIS_FOCUS, Gray, canvas);
    const POINT p = ItemPos(separator_);
    EXPECT_EQ(At(p.x + 20, p.y + 2), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(At(p.x + 20, p.y + 8), White);  // the line takes the brush found on entry
    EXPECT_EQ(canvas.Brush, White);

    orvex::DrawSeparatorItem(List(), separator_, CDIS_FOCUS | CDIS_HOT, Gray, canvas);
    EXPECT_EQ(At(p.x + 20, p.y + 2), GetSysColor(COLOR_HOTLIGHT));
}

TEST_F(OwnerDrawRoutines, FocusedSeparatorInListWithoutSelectionStaysPlain) {
    ListView_SetItemState(List(), -1, 0, LVIS_SELECTED);
    ASSERT_EQ(ListView_GetSelectedCount(List()), 0u);
    orvex::TListCanvas canvas{dc_.get(), White, Black, Black};
    orvex::DrawSeparatorItem(List(), separator_, CDIS_FOCUS, Gray, canvas);
    const POINT p = ItemPos(separator_);
    EXPECT_EQ(At(p.x + 20, p.y + 2), White);
    EXPECT_EQ(At(p.x + 20, p.y + 8), Gray);
    EXPECT_EQ(At(p.x + 20, p.y + 17), RGB(10, 200, 10));  // 16 pixels high, nothing below
}

TEST_F(OwnerDrawRoutines, CheckBoxRestoresBrushAndPen) {
    orvex::TListCanvas canvas{dc_.get(), RGB(1, 2, 3), RGB(4, 5, 6), RGB(7, 8, 9)};
    orvex::DrawCheckBoxSubItem(List(), ticked_, 1, 0, "1", canvas);
    EXPECT_EQ(canvas.Brush, RGB(1, 2, 3));
    EXPECT_EQ(canvas.Pen, RGB(4, 5, 6));
    const POINT p = ItemPos(ticked_);
    const int x0 = p.x + 125, y0 = p.y + 2;
    EXPECT_EQ(At(x0, y0), RGB(7, 8, 9));  // outline in the font colour
    EXPECT_EQ(At(x0 + 1, y0 + 1), White);
    EXPECT_EQ(At(x0 + 30, y0), RGB(1, 2, 3));  // cell filled with the entry brush
}

}  // namespace
