#include <gtest/gtest.h>

#include "platform/pure/Orvex_Datetime.h"

using namespace orvex;

namespace {
std::string Sentence(std::int64_t s) { return FormatDuration(s, true, false, false); }
std::string Clock(std::int64_t s) { return FormatDuration(s, true, false, true); }
}  // namespace

TEST(FormatDuration, ClockShowsOnlyTheTimeWithinTheLastDay) {
    EXPECT_EQ(Clock(3'725), "01:02:05");
    EXPECT_EQ(Clock(90'000), "01:00:00");  // 25 hours: the day is dropped
    EXPECT_EQ(Clock(0), "00:00:00");
    EXPECT_EQ(Clock(86'399), "23:59:59");
    EXPECT_EQ(Clock(SecondsPerYear + 59), "00:00:59");
}

TEST(FormatDuration, SentenceStartsAtTheLargestUnitShown) {
    EXPECT_EQ(Sentence(0), "0 Seconds.");
    EXPECT_EQ(Sentence(1), "1 Second.");
    EXPECT_EQ(Sentence(59), "59 Seconds.");
    EXPECT_EQ(Sentence(60), "1 Minute, 0 Seconds.");
    EXPECT_EQ(Sentence(3'725), "1 Hour, 2 Minutes, 5 Seconds.");
    EXPECT_EQ(Sentence(90'000), "1 Day, 1 Hour, 0 Minutes, 0 Seconds.");
    EXPECT_EQ(Sentence(2 * SecondsPerWeek + SecondsPerDay + 1), "2 Weeks, 1 Day, 0 Hours, 0 Minutes, 1 Second.");
    EXPECT_EQ(Sentence(SecondsPerMonth), "1 Month, 0 Weeks, 0 Days, 0 Hours, 0 Minutes, 0 Seconds.");
    EXPECT_EQ(Sentence(31'579'200), "1 Year, 0 Months, 0 Weeks, 0 Days, 0 Hours, 0 Minutes, 0 Seconds.");
    EXPECT_EQ(Sentence(SecondsPerCentury + 2 * SecondsPerYear + 61),
              "1 Century, 2 Years, 0 Months, 0 Weeks, 0 Days, 0 Hours, 1 Minute, 1 Second.");
    EXPECT_EQ(Sentence(2 * SecondsPerCentury),
              "2 Centuries, 0 Years, 0 Months, 0 Weeks, 0 Days, 0 Hours, 0 Minutes, 0 Seconds.");
}

TEST(FormatDuration, YearAndMonthHaveTheirOwnLengths) {
    // A year is 365.5 days and a month 31 days.
    EXPECT_EQ(Sentence(365 * SecondsPerDay), "11 Months, 3 Weeks, 3 Days, 0 Hours, 0 Minutes, 0 Seconds.");
    EXPECT_EQ(Sentence(30 * SecondsPerDay), "4 Weeks, 2 Days, 0 Hours, 0 Minutes, 0 Seconds.");
}

TEST(FormatDuration, AllUnitsSentenceListsEveryUnit) {
    EXPECT_EQ(FormatDuration(3'725, true, true, false),
              "0 Centuries, 0 Years, 0 Months, 0 Weeks, 0 Days, 1 Hour, 2 Minutes, 5 Seconds.");
    EXPECT_EQ(FormatDuration(0, true, true, false),
              "0 Centuries, 0 Years, 0 Months, 0 Weeks, 0 Days, 0 Hours, 0 Minutes, 0 Seconds.");
}

TEST(FormatDuration, AllUnitsClockFoldsWeeksIntoDaysAndDropsCenturies) {
    const std::int64_t s = SecondsPerYear + SecondsPerMonth + 2 * SecondsPerWeek + 3 * SecondsPerDay +
                           4 * SecondsPerHour + 5 * SecondsPerMinute + 6;
    EXPECT_EQ(FormatDuration(s, true, true, true), "01.01.17 04:05:06");
    EXPECT_EQ(FormatDuration(SecondsPerCentury + 2 * SecondsPerYear, true, true, true), "02.00.00 00:00:00");
    EXPECT_EQ(FormatDuration(0, false, true, true), "00.00.00 00:00:00");
}

TEST(FormatDuration, FractionalSecondsPattern) {
    EXPECT_EQ(FormatDuration(65, false, false, false), "1 Minute, 5.00 Seconds.");
    EXPECT_EQ(FormatDuration(1, false, false, false), "1.00 Second.");
    EXPECT_EQ(FormatDuration(3'725, false, false, true), "01:02:05");
}

TEST(FormatDuration, LargeCountsAreNotWrapped) {
    // 70,000 centuries would not fit a 16-bit count.
    EXPECT_EQ(Sentence(70'000 * SecondsPerCentury + 1),
              "70000 Centuries, 0 Years, 0 Months, 0 Weeks, 0 Days, 0 Hours, 0 Minutes, 1 Second.");
}

TEST(FormatDuration, NegativeCountsShowAsZero) {
    EXPECT_EQ(Clock(-5), "00:00:00");
    EXPECT_EQ(Sentence(-5), "0 Seconds.");
}

TEST(CpuTime, RoundsToNearestSecondHalfToEven) {
    EXPECT_EQ(HundredNsToSeconds(0), 0);
    EXPECT_EQ(HundredNsToSeconds(4'999'999), 0);
    EXPECT_EQ(HundredNsToSeconds(5'000'000), 0);  // 0.5 -> 0
    EXPECT_EQ(HundredNsToSeconds(5'000'001), 1);
    EXPECT_EQ(HundredNsToSeconds(15'000'000), 2);  // 1.5 -> 2
    EXPECT_EQ(HundredNsToSeconds(25'000'000), 2);  // 2.5 -> 2
    EXPECT_EQ(HundredNsToSeconds(25'000'001), 3);
    EXPECT_EQ(HundredNsToSeconds(34'999'999), 3);
    EXPECT_EQ(HundredNsToSeconds(-15'000'000), 0);
    EXPECT_EQ(FormatCpuTime(37'255'000'000), "01:02:06");  // 3,725.5 s
    EXPECT_EQ(FormatCpuTime(37'245'000'000), "01:02:04");  // 3,724.5 s
    EXPECT_EQ(FormatCpuTime(37'250'000'000), "01:02:05");
}
