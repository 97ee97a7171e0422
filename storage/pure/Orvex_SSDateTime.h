// Date-time values and the 100-ns counts of file times.
//
// A date-time is a day count from 1899-12-30 whose fraction is the time of
// day. Before that day the integer part still names the day and the
// fraction's magnitude the time: -1.25 is 1899-12-29 06:00.
#pragma once

#include <cstdint>

namespace orvex {

using TDateTime = double;

// 100-ns units in one day, and the days from 1601-01-01 to 1899-12-30.
inline constexpr std::uint64_t FileTimeTicksPerDay = 864'000'000'000ULL;
inline constexpr std::int64_t FileTimeEpochToDateTimeEpochDays = 109'205;

// The range that both representations share: 1601-01-01 to the last
// millisecond of 9999-12-31.
inline constexpr std::int64_t MinDateTimeDay = -FileTimeEpochToDateTimeEpochDays;
inline constexpr std::int64_t MaxDateTimeDay = 2'958'465;

// The calendar fields of Value, rounded to the millisecond, as 100-ns units
// since 1601-01-01 (no time-zone conversion). False, with Ticks untouched,
// for a value outside the shared range or not a number.
bool DateTimeToFileTimeTicks(TDateTime value, std::uint64_t& ticks);

// The date-time of a count of 100-ns units since 1601-01-01, to the
// millisecond (finer units are dropped). A count beyond 9999-12-31 gives 0.
TDateTime FileTimeTicksToDateTime(std::uint64_t ticks);

}  // namespace orvex
