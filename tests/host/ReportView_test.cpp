#include <gtest/gtest.h>

#include "app/pure/ReportView.h"

#include <cmath>

using namespace orvex::app;

TEST(ReportView, FamilyFollowsTheReportsPlatform) {
    EXPECT_EQ(ReportDataFamily(1, true), (TDataFamily{false, false}));
    EXPECT_EQ(ReportDataFamily(1, false), (TDataFamily{false, false}));
    EXPECT_EQ(ReportDataFamily(2, false), (TDataFamily{true, true}));
    // Unknown platforms: the pages follow what the report holds.
    EXPECT_EQ(ReportDataFamily(0, true), (TDataFamily{true, true}));
    EXPECT_EQ(ReportDataFamily(0, false), (TDataFamily{true, false}));
    EXPECT_EQ(ReportDataFamily(-7, false), (TDataFamily{true, false}));
    EXPECT_EQ(ReportDataFamily(3, true), (TDataFamily{true, true}));
}

TEST(ReportView, CaptionNamesTheFileWithoutItsFolder) {
    EXPECT_EQ(ReportWindowCaption("Orvex Process Viewer", "C:\\reports\\host1.ivs"),
              "Orvex Process Viewer - host1.ivs");
    EXPECT_EQ(ReportWindowCaption("T", "D:inventory"), "T - inventory");
    EXPECT_EQ(ReportWindowCaption("T", "plain.ivs"), "T - plain.ivs");
}

namespace {

TCalendarTime Calendar(double value) {
    TCalendarTime t{-1, -1, -1, -1, -1, -1};
    EXPECT_TRUE(DateTimeToCalendar(value, t)) << value;
    return t;
}

void ExpectCalendar(const TCalendarTime& t, int y, int mo, int d, int h, int mi, int s) {
    EXPECT_EQ(t.Year, y);
    EXPECT_EQ(t.Month, mo);
    EXPECT_EQ(t.Day, d);
    EXPECT_EQ(t.Hour, h);
    EXPECT_EQ(t.Minute, mi);
    EXPECT_EQ(t.Second, s);
}

}  // namespace

TEST(ReportView, DayCountsGiveCalendarDates) {
    ExpectCalendar(Calendar(0.0), 1899, 12, 30, 0, 0, 0);
    ExpectCalendar(Calendar(2.0), 1900, 1, 1, 0, 0, 0);
    ExpectCalendar(Calendar(60.0), 1900, 2, 28, 0, 0, 0);
    ExpectCalendar(Calendar(61.0), 1900, 3, 1, 0, 0, 0);  // 1900 is no leap year
    ExpectCalendar(Calendar(36526.0), 2000, 1, 1, 0, 0, 0);
    ExpectCalendar(Calendar(36585.0), 2000, 2, 29, 0, 0, 0);  // 2000 is one
    ExpectCalendar(Calendar(44259.0 + (5 * 3600 + 6 * 60 + 7) / 86400.0), 2021, 3, 4, 5, 6, 7);
    ExpectCalendar(Calendar(2958465.0), 9999, 12, 31, 0, 0, 0);
    ExpectCalendar(Calendar(-657434.0), 100, 1, 1, 0, 0, 0);
    ExpectCalendar(Calendar(-657434.5), 100, 1, 1, 12, 0, 0);
}

TEST(ReportView, TimesRoundToTheNearestSecond) {
    const double day = 44259.0;
    ExpectCalendar(Calendar(day + 59.4 / 86400.0), 2021, 3, 4, 0, 0, 59);
    ExpectCalendar(Calendar(day + 59.6 / 86400.0), 2021, 3, 4, 0, 1, 0);
    ExpectCalendar(Calendar(day + 86399.7 / 86400.0), 2021, 3, 5, 0, 0, 0);
    // Before 1899-12-30 the fraction is still the time of the day named.
    ExpectCalendar(Calendar(-1.25), 1899, 12, 29, 6, 0, 0);
}

TEST(ReportView, ValuesOutsideTheCalendarAreRefused) {
    TCalendarTime t{1, 2, 3, 4, 5, 6};
    EXPECT_FALSE(DateTimeToCalendar(2958466.0, t));
    EXPECT_FALSE(DateTimeToCalendar(-657435.0, t));
    EXPECT_FALSE(DateTimeToCalendar(std::nan(""), t));
    EXPECT_FALSE(DateTimeToCalendar(1e300, t));
    EXPECT_EQ(t.Year, 1);
    EXPECT_EQ(t.Second, 6);
}
