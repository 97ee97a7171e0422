#include "storage/pure/Orvex_SSDateTime.h"

#include <cmath>

namespace orvex {

namespace {

constexpr std::int64_t MsPerDay = 86'400'000;
constexpr std::uint64_t TicksPerMs = 10'000;

}  // namespace

bool DateTimeToFileTimeTicks(TDateTime value, std::uint64_t& ticks) {
    if (!std::isfinite(value)) return false;
    const double whole = std::trunc(value);
    if (whole < static_cast<double>(MinDateTimeDay) || whole > static_cast<double>(MaxDateTimeDay)) return false;
    std::int64_t day = static_cast<std::int64_t>(whole);
    std::int64_t ms = std::llround(std::fabs(value - whole) * static_cast<double>(MsPerDay));
    if (ms >= MsPerDay) {  // rounded up to midnight: the next calendar day
        ms = 0;
        ++day;
        if (day > MaxDateTimeDay) return false;
    }
    const auto days1601 = static_cast<std::uint64_t>(day + FileTimeEpochToDateTimeEpochDays);
    ticks = days1601 * FileTimeTicksPerDay + static_cast<std::uint64_t>(ms) * TicksPerMs;
    return true;
}

TDateTime FileTimeTicksToDateTime(std::uint64_t ticks) {
    const std::uint64_t days1601 = ticks / FileTimeTicksPerDay;
    if (days1601 > static_cast<std::uint64_t>(MaxDateTimeDay + FileTimeEpochToDateTimeEpochDays)) return 0;
    const std::int64_t day = static_cast<std::int64_t>(days1601) - FileTimeEpochToDateTimeEpochDays;
    const std::uint64_t ms = (ticks % FileTimeTicksPerDay) / TicksPerMs;
    const double time = static_cast<double>(ms) / static_cast<double>(MsPerDay);
    return day < 0 ? static_cast<double>(day) - time : static_cast<double>(day) + time;
}

}  // namespace orvex
