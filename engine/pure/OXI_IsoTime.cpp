#include "engine/pure/OXI_IsoTime.h"

#include <cmath>
#include <cstdio>

namespace orvex {

namespace {

constexpr std::int64_t HundredNsPerSecond = 10'000'000;
constexpr std::int64_t SecondsPerDay = 86'400;
// Days from 1601-01-01 to 1970-01-01, and from 1899-12-30 to 1970-01-01.
constexpr std::int64_t DaysFrom1601To1970 = 134'774;
constexpr std::int64_t DaysFrom1899To1970 = 25'569;

struct TCivilDate {
    std::int64_t Year;
    unsigned Month;
    unsigned Day;
};

// Gregorian date of a day count from 1970-01-01 (days before it negative).
TCivilDate CivilFromDays(std::int64_t z) {
    z += 719'468;
    const std::int64_t era = (z >= 0 ? z : z - 146'096) / 146'097;
    const auto doe = static_cast<unsigned>(z - era * 146'097);
    const unsigned yoe = (doe - doe / 1'460 + doe / 36'524 - doe / 146'096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2 ? 1 : 0), m, d};
}

// Seconds from 1970-01-01 as "YYYY-MM-DDThh:mm:ss"; "" outside 1601 to 9999.
std::string IsoSeconds(std::int64_t unixSeconds) {
    std::int64_t days = unixSeconds / SecondsPerDay;
    std::int64_t rest = unixSeconds % SecondsPerDay;
    if (rest < 0) {
        rest += SecondsPerDay;
        --days;
    }
    const TCivilDate date = CivilFromDays(days);
    if (date.Year < 1601 || date.Year > 9999) return {};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d", static_cast<int>(date.Year), date.Month, date.Day,
                  static_cast<int>(rest / 3'600), static_cast<int>(rest / 60 % 60), static_cast<int>(rest % 60));
    return text;
}

}  // namespace

std::string IsoTimeFromFileTime(std::int64_t hundredNs) {
    if (hundredNs <= 0) return {};
    const std::int64_t seconds = hundredNs / HundredNsPerSecond;
    std::string text = IsoSeconds(seconds - DaysFrom1601To1970 * SecondsPerDay);
    if (text.empty()) return text;
    char millis[8];
    std::snprintf(millis, sizeof millis, ".%03dZ", static_cast<int>(hundredNs % HundredNsPerSecond / 10'000));
    return text + millis;
}

std::string IsoTimeFromDateTime(double days) {
    // Days before 1899-12-30 count their fraction forward from the day: -1.25
    // is 1899-12-29 06:00.
    if (!std::isfinite(days) || days == 0 || std::fabs(days) > 3'000'000) return {};
    const double whole = std::trunc(days);
    const double fraction = std::fabs(days - whole);
    // Reports hold whole milliseconds: such a time of day is rounded to the
    // second in integers, so that a half second rounds up whatever the
    // precision of the floating-point unit (the x87 of a 32-bit build keeps
    // more bits than SSE, and the product at .5 could round either way).
    const double ms = fraction * static_cast<double>(SecondsPerDay * 1000);
    const std::int64_t wholeMs = std::llround(ms);
    // (A day count near 9999 keeps a millisecond to within 0.06 ms.)
    const std::int64_t seconds = std::fabs(ms - static_cast<double>(wholeMs)) < 0.1
                                     ? (wholeMs + 500) / 1000
                                     : static_cast<std::int64_t>(std::llround(fraction * SecondsPerDay));
    const auto dayCount = static_cast<std::int64_t>(whole);
    return IsoSeconds((dayCount - DaysFrom1899To1970) * SecondsPerDay + seconds);
}

}  // namespace orvex
