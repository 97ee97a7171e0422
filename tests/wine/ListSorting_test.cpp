// Sorting real list views by header clicks through the shared sort state, and
// the tint of the sorted column as the control paints it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/wine/support/GuiDriver.h"
#include "tests/wine/support/ListHost.h"
#include "ui/Orvex_CtrlRtns.h"

namespace {

using orvex::test::ClickColumnHeader;
using orvex::test::ListColumn;
using orvex::test::TListHost;
using Strings = std::vector<std::string>;

std::string LocaleDate(WORD year, WORD month, WORD day) {
    SYSTEMTIME st{};
    st.wYear = year;
    st.wMonth = month;
    st.wDay = day;
    char text[64] = {};
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, text, sizeof text);
    return text;
}

class ListSorting : public ::testing::Test {
protected:
    void SetUp() override {
        orvex::ResetSortState();
        host_ = std::make_unique<TListHost>(TListHost::TKind::Sortable,
                                            std::vector<orvex::test::TColumnSpec>{{"Name", 90},
                                                                                  {"Size", 70, LVCFMT_RIGHT},
                                                                                  {"Date", 110},
                                                                                  {"Time", 80}});
        dec_ = LocaleDate(2004, 12, 31);
        jan_ = LocaleDate(2005, 1, 2);
        jun_ = LocaleDate(2003, 6, 15);
        host_->AddRow({"beta", "10", jan_, "00:01:05"});
        host_->AddRow({"alpha", "9", dec_, "01:00:00"});
        host_->AddRow({"gamma", "100", jun_, "00:00:59"});
        host_->AddRow({"delta", "12 KB"});  // no date or time: empty cells
    }
    void TearDown() override {
        host_.reset();
        orvex::ResetSortState();
    }
    HWND List() const { return host_->List(); }

    std::unique_ptr<TListHost> host_;
    std::string dec_, jan_, jun_;
};

TEST_F(ListSorting, NumbersAscendThenDescendOnSecondClick) {
    EXPECT_FALSE(host_->Sortable().Sorting());
    ClickColumnHeader(List(), 1);
    EXPECT_TRUE(host_->Sortable().Sorting());
    EXPECT_EQ(orvex::SortColumn, 1);
    EXPECT_FALSE(orvex::SortDescending);
    EXPECT_EQ(ListColumn(List(), 1), (Strings{"9", "10", "12 KB", "100"}));
    ClickColumnHeader(List(), 1);
    EXPECT_TRUE(orvex::SortDescending);
    EXPECT_EQ(ListColumn(List(), 1), (Strings{"100", "12 KB", "10", "9"}));
}

TEST_F(ListSorting, AnotherColumnSortsAscendingByText) {
    ClickColumnHeader(List(), 1);
    ClickColumnHeader(List(), 1);
    ClickColumnHeader(List(), 0);
    EXPECT_EQ(orvex::SortColumn, 0);
    EXPECT_FALSE(orvex::SortDescending);
    EXPECT_EQ(ListColumn(List(), 0), (Strings{"alpha", "beta", "delta", "gamma"}));
}

TEST_F(ListSorting, DatesSortByDateAndEmptyCellsFirst) {
    ClickColumnHeader(List(), 2);
    // The empty text is no date: it is compared as text and sorts first.
    EXPECT_EQ(ListColumn(List(), 2), (Strings{"", jun_, dec_, jan_}));
    ClickColumnHeader(List(), 2);
    EXPECT_EQ(ListColumn(List(), 2), (Strings{jan_, dec_, jun_, ""}));
}

TEST_F(ListSorting, TimesSortAsTimes) {
    ClickColumnHeader(List(), 3);
    EXPECT_EQ(ListColumn(List(), 3), (Strings{"", "00:00:59", "00:01:05", "01:00:00"}));
}

TEST_F(ListSorting, EqualRowsKeepTheirOrder) {
    host_->AddRow({"beta", "7"});
    ClickColumnHeader(List(), 0);
    EXPECT_EQ(ListColumn(List(), 1), (Strings{"9", "10", "7", "12 KB", "100"}));
}

TEST_F(ListSorting, ResortKeepsARefilledListSorted) {
    orvex::test::TListHost other(TListHost::TKind::Sortable, {{"Name", 90}, {"Size", 70}});
    other.AddRow({"b", "3"});
    other.AddRow({"a", "20"});
    other.Sortable().Resort();  // sorting is still off: nothing moves
    EXPECT_EQ(ListColumn(other.List(), 0), (Strings{"b", "a"}));
    ClickColumnHeader(other.List(), 1);
    other.AddRow({"c", "1"});
    other.Sortable().Resort();
    EXPECT_EQ(ListColumn(other.List(), 1), (Strings{"1", "3", "20"}));
}

TEST_F(ListSorting, CompareOnListRowsOutOfRangeIsZero) {
    EXPECT_EQ(orvex::CompareListItems(List(), 0, 1, 1), 1);  // 10 against 9
    EXPECT_EQ(orvex::CompareListItems(List(), 0, 99, 1), 0);
    EXPECT_EQ(orvex::CompareListItems(List(), -1, 0, 1), 0);
    EXPECT_EQ(orvex::CompareListItems(List(), 0, 1, -1), 0);
}

class SortTint : public ListSorting {
protected:
    // A spot of cell (row, column) away from its text.
    COLORREF CellBackground(TListHost& host, int row, int column) {
        RECT r{};
        ListView_GetSubItemRect(host.List(), row, column, LVIR_BOUNDS, &r);
        if (column == 0) r.right = r.left + ListView_GetColumnWidth(host.List(), 0);
        return host.Pixel(r.right - 4, (r.top + r.bottom) / 2);
    }
};

TEST_F(SortTint, NoColumnTintedBeforeAnyChoice) {
    host_->Render();
    EXPECT_GT(host_->CustomDrawCalls(), 0);
    for (int c = 0; c < 4; ++c) EXPECT_EQ(CellBackground(*host_, 0, c), orvex::UnsortedColumnColor) << c;
}

TEST_F(SortTint, SortedColumnOnTooltipBackground) {
    ClickColumnHeader(List(), 2);
    host_->Render();
    EXPECT_EQ(CellBackground(*host_, 1, 2), orvex::SortedColumnColor());
    EXPECT_EQ(CellBackground(*host_, 1, 3), orvex::UnsortedColumnColor);
    EXPECT_EQ(CellBackground(*host_, 1, 0), orvex::UnsortedColumnColor);
    ClickColumnHeader(List(), 0);
    host_->Render();
    EXPECT_EQ(CellBackground(*host_, 1, 0), orvex::SortedColumnColor());
    EXPECT_EQ(CellBackground(*host_, 1, 2), orvex::UnsortedColumnColor);
}

TEST_F(SortTint, ChoiceInOneListTintsAnotherAtItsNextPaint) {
    TListHost other(TListHost::TKind::Sortable, {{"Name", 90}, {"Size", 70}, {"Base", 90}});
    other.AddRow({"z", "2", "x"});
    other.AddRow({"y", "1", "w"});
    ClickColumnHeader(List(), 2);
    other.Render();
    EXPECT_EQ(CellBackground(other, 0, 2), orvex::SortedColumnColor());
    EXPECT_EQ(CellBackground(other, 0, 1), orvex::UnsortedColumnColor);
    // Its order stays until its own header is clicked.
    EXPECT_FALSE(other.Sortable().Sorting());
    EXPECT_EQ(ListColumn(other.List(), 0), (Strings{"z", "y"}));
}

}  // namespace
