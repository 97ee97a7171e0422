#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "ui/pure/Orvex_ListCompare.h"
#include "ui/pure/Orvex_SortState.h"

using namespace orvex;

namespace {

// A small locale: "MM/DD/YYYY" dates, "hh:mm:ss" or "hh:mm" times, as the
// platform's conversion would read them (days since 1899-12-30).
bool ConvertUsDateTime(std::string_view s, TDateTimeKind kind, double& value) {
    const std::string text(s);
    int mo = 0, d = 0, y = 0, h = 0, mi = 0, sec = 0, used = 0;
    double days = 0;
    if (kind == TDateTimeKind::Time) {
        if (std::sscanf(text.c_str(), "%d:%d:%d%n", &h, &mi, &sec, &used) != 3 || used != (int)text.size()) {
            used = 0;
            if (std::sscanf(text.c_str(), "%d:%d%n", &h, &mi, &used) != 2 || used != (int)text.size()) return false;
        }
    } else {
        if (std::sscanf(text.c_str(), "%d/%d/%d%n", &mo, &d, &y, &used) != 3) return false;
        if (kind == TDateTimeKind::Date && used != (int)text.size()) return false;
        // Good enough for ordering: a monotonic day count.
        days = y * 372.0 + mo * 31.0 + d;
    }
    value = days + (h * 3600 + mi * 60 + sec) / 86400.0;
    return true;
}

TListCompareRules UsRules() {
    TListCompareRules rules;
    rules.Numbers = {",", "."};
    rules.Dates = {"/", ":"};
    rules.ConvertDateTime = ConvertUsDateTime;
    rules.CompareText = [](std::string_view a, std::string_view b) { return a.compare(b) * 7; };
    return rules;
}

TListItemText Row(std::string caption, std::vector<std::string> subItems = {}) {
    return {std::move(caption), std::move(subItems)};
}

int ByCaption(const std::string& a, const std::string& b, const TListCompareRules& rules = UsRules()) {
    const TListItemText x = Row(a), y = Row(b);
    return CompareListItems(&x, &y, 0, rules);
}

}  // namespace

TEST(ListCompare, NumbersCompareNumerically) {
    EXPECT_EQ(ByCaption("9", "10"), -1);
    EXPECT_EQ(ByCaption("10", "9"), 1);
    EXPECT_EQ(ByCaption("12 KB", "9 KB"), 1);
    EXPECT_EQ(ByCaption("2.5", "2.50"), 0);
    EXPECT_EQ(ByCaption("-3", "1e1"), -1);
}

TEST(ListCompare, ThousandsSeparatorOfTheLocale) {
    EXPECT_EQ(ByCaption("1,234", "999"), 1);
    TListCompareRules german = UsRules();
    german.Numbers = {".", ","};
    EXPECT_EQ(ByCaption("1.234,5", "999", german), 1);
    // Read in the invariant notation first: "1.5" is one and a half.
    EXPECT_EQ(ByCaption("1.5", "2", german), -1);
}

TEST(ListCompare, DatesAndTimesCompareAsSuch) {
    EXPECT_EQ(ByCaption("01/02/2005", "12/31/2004"), 1);
    EXPECT_EQ(ByCaption("12/31/2004", "01/02/2005"), -1);
    EXPECT_EQ(ByCaption("00:01:05", "01:00:00"), -1);
    EXPECT_EQ(ByCaption("10:00:00", "9:00:00"), 1);  // by time, though "1" < "9" as text
    EXPECT_EQ(ByCaption("01:02:03", "01:02:03"), 0);
}

TEST(ListCompare, MixedKindsFallBackToText) {
    EXPECT_EQ(ByCaption("abc", "5"), 1);
    EXPECT_EQ(ByCaption("", "5"), -1);
    EXPECT_EQ(ByCaption("5", ""), 1);
    EXPECT_EQ(ByCaption("01/02/2005", "5"), -1);  // '0' < '5' as text
    EXPECT_EQ(ByCaption("b", "a"), 1);            // reduced to 1 from 7
    EXPECT_EQ(ByCaption("", ""), 0);
}

TEST(ListCompare, TimeRejectedByTheLocaleIsText) {
    // Holds the time separator but no conversion accepts it.
    EXPECT_EQ(ByCaption("a:b", "5"), 1);
}

TEST(ListCompare, SubItemsAndMissingCells) {
    const TListItemText a = Row("x", {"10", "beta"});
    const TListItemText b = Row("y", {"9"});
    const TListCompareRules rules = UsRules();
    EXPECT_EQ(CompareListItems(&a, &b, 0, rules), -1);
    EXPECT_EQ(CompareListItems(&a, &b, 1, rules), 1);
    EXPECT_EQ(CompareListItems(&a, &b, 2, rules), 1);  // "beta" against the empty text
    EXPECT_EQ(CompareListItems(&b, &a, 2, rules), -1);
    EXPECT_EQ(CompareListItems(&a, &b, 7, rules), 0);  // both empty
    EXPECT_EQ(ListItemColumnText(a, 2), "beta");
    EXPECT_EQ(ListItemColumnText(b, 2), "");
}

TEST(ListCompare, AbsentItemsAndNegativeColumnGiveZero) {
    const TListItemText a = Row("1"), b = Row("2");
    const TListCompareRules rules = UsRules();
    EXPECT_EQ(CompareListItems(nullptr, &b, 0, rules), 0);
    EXPECT_EQ(CompareListItems(&a, nullptr, 0, rules), 0);
    EXPECT_EQ(CompareListItems(&a, &b, -1, rules), 0);
}

TEST(ListCompare, FailureInsideTheComparisonGivesZero) {
    TListCompareRules rules = UsRules();
    rules.CompareText = [](std::string_view, std::string_view) -> int { throw std::runtime_error("no locale"); };
    const TListItemText a = Row("a"), b = Row("b");
    EXPECT_EQ(CompareListItems(&a, &b, 0, rules), 0);
    rules.ConvertDateTime = [](std::string_view, TDateTimeKind, double&) -> bool { throw std::bad_alloc(); };
    const TListItemText t1 = Row("1:00"), t2 = Row("2:00");
    EXPECT_EQ(CompareListItems(&t1, &t2, 0, rules), 0);
}

TEST(SortState, SameColumnTogglesOtherColumnAscends) {
    ResetSortState();
    EXPECT_EQ(SortColumn, -1);
    EXPECT_FALSE(SortDescending);
    ChooseSortColumn(1);
    EXPECT_EQ(SortColumn, 1);
    EXPECT_FALSE(SortDescending);
    EXPECT_EQ(ApplySortDirection(-1), -1);
    ChooseSortColumn(1);
    EXPECT_TRUE(SortDescending);
    EXPECT_EQ(ApplySortDirection(-1), 1);
    ChooseSortColumn(1);
    EXPECT_FALSE(SortDescending);
    ChooseSortColumn(1);
    ChooseSortColumn(3);
    EXPECT_EQ(SortColumn, 3);
    EXPECT_FALSE(SortDescending);
    ChooseSortColumn(0);
    EXPECT_EQ(SortColumn, 0);
    ResetSortState();
}
