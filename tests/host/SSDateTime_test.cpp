#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "storage/pure/Orvex_SSDateTime.h"

using namespace orvex;

namespace {

constexpr std::uint64_t TicksPerDay = 864'000'000'000ULL;
constexpr std::uint64_t TicksPerHour = 36'000'000'000ULL;
constexpr std::uint64_t TicksPerMs = 10'000ULL;

std::uint64_t Ticks(TDateTime value) {
    std::uint64_t t = 0xDEADBEEF;
    EXPECT_TRUE(DateTimeToFileTimeTicks(value, t)) << value;
    return t;
}

double MsOfDay(int h, int m, int s, int ms) { return ((h * 60 + m) * 60 + s) * 1000.0 + ms; }

}  // namespace

TEST(DateTimeToFileTime, KnownCalendarDays) {
    EXPECT_EQ(Ticks(-109205), 0u);                        // 1601-01-01
    EXPECT_EQ(Ticks(0), 94'353'120'000'000'000ULL);       // 1899-12-30
    EXPECT_EQ(Ticks(25569), 116'444'736'000'000'000ULL);  // 1970-01-01
    EXPECT_EQ(Ticks(36526), 125'911'584'000'000'000ULL);  // 2000-01-01
    EXPECT_EQ(Ticks(36526.5), 125'911'584'000'000'000ULL + 12 * TicksPerHour);
    EXPECT_EQ(Ticks(2958465), (2958465ULL + 109205ULL) * TicksPerDay);  // 9999-12-31
}

TEST(DateTimeToFileTime, TimeOfDayIsRoundedToTheMillisecond) {
    const double ms = MsOfDay(12, 34, 56, 789);
    const double value = 36526 + ms / 86'400'000.0;
    EXPECT_EQ(Ticks(value), 125'911'584'000'000'000ULL + static_cast<std::uint64_t>(ms) * TicksPerMs);
    // 0.4 ms rounds down, 0.6 ms up.
    EXPECT_EQ(Ticks(36526 + 0.4 / 86'400'000.0), 125'911'584'000'000'000ULL);
    EXPECT_EQ(Ticks(36526 + 0.6 / 86'400'000.0), 125'911'584'000'000'000ULL + TicksPerMs);
}

TEST(DateTimeToFileTime, ATimeRoundedToMidnightMovesToTheNextDay) {
    EXPECT_EQ(Ticks(0.9999999999), 94'353'120'000'000'000ULL + TicksPerDay);
    std::uint64_t t = 7;
    EXPECT_FALSE(DateTimeToFileTimeTicks(2958465.999999999, t));  // would be 10000-01-01
    EXPECT_EQ(t, 7u);
}

TEST(DateTimeToFileTime, DaysBeforeTheEpochCountTheTimeForwards) {
    // -1.25 is 1899-12-29 06:00, -0.5 is 1899-12-30 12:00.
    EXPECT_EQ(Ticks(-1.25), 94'353'120'000'000'000ULL - TicksPerDay + 6 * TicksPerHour);
    EXPECT_EQ(Ticks(-0.5), 94'353'120'000'000'000ULL + 12 * TicksPerHour);
    EXPECT_EQ(Ticks(-109205.75), 18 * TicksPerHour);  // 1601-01-01 18:00
}

TEST(DateTimeToFileTime, ValuesOutsideTheSharedRangeLeaveTheResultUntouched) {
    for (double v : {-109206.0, -700000.0, 2958466.0, 1e300, std::numeric_limits<double>::quiet_NaN(),
                     std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()}) {
        std::uint64_t t = 42;
        EXPECT_FALSE(DateTimeToFileTimeTicks(v, t)) << v;
        EXPECT_EQ(t, 42u) << v;
    }
}

TEST(FileTimeToDateTime, KnownCountsGiveDayCounts) {
    EXPECT_EQ(FileTimeTicksToDateTime(0), -109205.0);
    EXPECT_EQ(FileTimeTicksToDateTime(94'353'120'000'000'000ULL), 0.0);
    EXPECT_EQ(FileTimeTicksToDateTime(125'911'584'000'000'000ULL + 12 * TicksPerHour), 36526.5);
    EXPECT_EQ(FileTimeTicksToDateTime(94'353'120'000'000'000ULL - TicksPerDay + 6 * TicksPerHour), -1.25);
}

TEST(FileTimeToDateTime, UnitsBelowAMillisecondAreDropped) {
    const std::uint64_t base = 125'911'584'000'000'000ULL + 5 * TicksPerMs;
    EXPECT_EQ(FileTimeTicksToDateTime(base + TicksPerMs - 1), FileTimeTicksToDateTime(base));
    EXPECT_NE(FileTimeTicksToDateTime(base + TicksPerMs), FileTimeTicksToDateTime(base));
}

TEST(FileTimeToDateTime, CountsBeyondYear9999GiveZero) {
    const std::uint64_t first10000 = (2958466ULL + 109205ULL) * TicksPerDay;
    EXPECT_EQ(FileTimeTicksToDateTime(first10000), 0.0);
    EXPECT_EQ(FileTimeTicksToDateTime(std::numeric_limits<std::uint64_t>::max()), 0.0);
    EXPECT_GT(FileTimeTicksToDateTime(first10000 - 1), 2958465.99);
}

TEST(FileTimeToDateTime, RoundTripKeepsEveryMillisecond) {
    for (double day : {-109205.0, -20000.0, -1.0, 0.0, 1.0, 36526.0, 45500.0, 2958465.0}) {
        for (double ms : {0.0, 1.0, 999.0, MsOfDay(6, 0, 0, 1), MsOfDay(12, 34, 56, 789), MsOfDay(23, 59, 59, 999)}) {
            const double value = day < 0 ? day - ms / 86'400'000.0 : day + ms / 86'400'000.0;
            const std::uint64_t ticks = Ticks(value);
            EXPECT_EQ(ticks % TicksPerMs, 0u);
            EXPECT_EQ(Ticks(FileTimeTicksToDateTime(ticks)), ticks) << day << " " << ms;
            EXPECT_NEAR(FileTimeTicksToDateTime(ticks), value, 1e-9) << day << " " << ms;
        }
    }
}
