#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/pure/OXI_IsoTime.h"

using namespace orvex;

TEST(IsoTime, FileTimes) {
    EXPECT_EQ(IsoTimeFromFileTime(0), "");
    EXPECT_EQ(IsoTimeFromFileTime(-1), "");
    EXPECT_EQ(IsoTimeFromFileTime(1), "1601-01-01T00:00:00.000Z");
    EXPECT_EQ(IsoTimeFromFileTime(116'444'736'000'000'000), "1970-01-01T00:00:00.000Z");
    // 2000-02-29 12:34:56.789, a leap day.
    EXPECT_EQ(IsoTimeFromFileTime(125'963'012'967'890'000), "2000-02-29T12:34:56.789Z");
    EXPECT_EQ(IsoTimeFromFileTime(125'963'012'967'899'999), "2000-02-29T12:34:56.789Z");
    EXPECT_EQ(IsoTimeFromFileTime(std::numeric_limits<std::int64_t>::max()), "");  // year 30828
}

TEST(IsoTime, LocalDateTimes) {
    EXPECT_EQ(IsoTimeFromDateTime(0), "");
    EXPECT_EQ(IsoTimeFromDateTime(std::nan("")), "");
    EXPECT_EQ(IsoTimeFromDateTime(std::numeric_limits<double>::infinity()), "");
    EXPECT_EQ(IsoTimeFromDateTime(1), "1899-12-31T00:00:00");
    EXPECT_EQ(IsoTimeFromDateTime(2.25), "1900-01-01T06:00:00");
    EXPECT_EQ(IsoTimeFromDateTime(-1.25), "1899-12-29T06:00:00");
    EXPECT_EQ(IsoTimeFromDateTime(25'569.5), "1970-01-01T12:00:00");
    EXPECT_EQ(IsoTimeFromDateTime(36'585.0 + 0.5 / 86'400 * 0.999), "2000-02-29T00:00:00");
    EXPECT_EQ(IsoTimeFromDateTime(2'958'465.999), "9999-12-31T23:58:34");
    EXPECT_EQ(IsoTimeFromDateTime(2'958'466), "");  // 10000-01-01
    EXPECT_EQ(IsoTimeFromDateTime(-109'205), "1601-01-01T00:00:00");
    EXPECT_EQ(IsoTimeFromDateTime(-109'206), "");  // 1600-12-31
}

// Stored date-times hold whole milliseconds: a half second rounds up on
// every day, whatever the precision of the floating-point unit, so that both
// widths of the program write the same text for the same report.
TEST(IsoTime, HalfSecondsOfStoredTimesRoundUp) {
    struct TCase {
        std::int64_t ms;
        const char* time;
    } cases[] = {{0, "00:00:00"},   {499, "00:00:00"},   {500, "00:00:01"},
                 {501, "00:00:01"}, {1'500, "00:00:02"}, {86'399'499, "23:59:59"}};
    int checked = 0;
    for (std::int64_t day = 1; day < 2'958'000; day += 997) {
        for (const TCase& c : cases) {
            // As the report's reader builds it from 100-ns units.
            const double value = static_cast<double>(day) + static_cast<double>(c.ms) / 86'400'000.0;
            const std::string text = IsoTimeFromDateTime(value);
            ASSERT_EQ(text.size(), 19u) << day;
            EXPECT_EQ(text.substr(11), c.time) << "day " << day << " ms " << c.ms;
            ++checked;
        }
    }
    EXPECT_GT(checked, 10'000);
}
