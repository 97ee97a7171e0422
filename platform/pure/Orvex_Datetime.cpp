#include "platform/pure/Orvex_Datetime.h"

#include <array>
#include <cinttypes>
#include <cstdio>

namespace orvex {

namespace {

struct TUnit {
    std::int64_t Seconds;
    const char* Singular;
    const char* Plural;
};

// Largest unit first; the seconds are handled on their own.
constexpr std::array<TUnit, 7> Units{{
    {SecondsPerCentury, " Century, ", " Centuries, "},
    {SecondsPerYear, " Year, ", " Years, "},
    {SecondsPerMonth, " Month, ", " Months, "},
    {SecondsPerWeek, " Week, ", " Weeks, "},
    {SecondsPerDay, " Day, ", " Days, "},
    {SecondsPerHour, " Hour, ", " Hours, "},
    {SecondsPerMinute, " Minute, ", " Minutes, "},
}};

enum : std::size_t { kCentury, kYear, kMonth, kWeek, kDay, kHour, kMinute };

std::string Decimal(std::int64_t value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%" PRId64, value);
    return buf;
}

std::string TwoDigits(std::int64_t value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02" PRId64, value);
    return buf;
}

}  // namespace

std::string FormatDuration(std::int64_t seconds, bool wholeSeconds, bool allUnits, bool clockStyle) {
    std::int64_t remaining = seconds < 0 ? 0 : seconds;
    std::array<std::int64_t, Units.size()> counts{};
    for (std::size_t i = 0; i < Units.size(); ++i) {
        counts[i] = remaining / Units[i].Seconds;
        remaining -= counts[i] * Units[i].Seconds;
    }
    const std::int64_t secs = remaining;  // whole already: the input counts whole seconds

    if (clockStyle) {
        if (allUnits)
            return TwoDigits(counts[kYear]) + "." + TwoDigits(counts[kMonth]) + "." +
                   TwoDigits(counts[kDay] + 7 * counts[kWeek]) + " " + TwoDigits(counts[kHour]) + ":" +
                   TwoDigits(counts[kMinute]) + ":" + TwoDigits(secs);
        return TwoDigits(counts[kHour]) + ":" + TwoDigits(counts[kMinute]) + ":" + TwoDigits(secs);
    }

    // Sentence: from centuries when AllUnits, else from the largest unit with
    // a count of at least 1; every smaller unit follows, zeros included.
    std::size_t first = Units.size();
    if (allUnits) {
        first = 0;
    } else {
        for (std::size_t i = 0; i < Units.size(); ++i)
            if (counts[i] >= 1) {
                first = i;
                break;
            }
    }
    std::string out;
    for (std::size_t i = first; i < Units.size(); ++i)
        out += Decimal(counts[i]) + (counts[i] == 1 ? Units[i].Singular : Units[i].Plural);
    char buf[40];
    std::snprintf(buf, sizeof buf, wholeSeconds ? "%.0f" : "%.2f", static_cast<double>(secs));
    out += buf;
    out += secs == 1 ? " Second." : " Seconds.";
    return out;
}

std::int64_t HundredNsToSeconds(std::int64_t hundredNs) {
    if (hundredNs <= 0) return 0;
    constexpr std::int64_t perSecond = 10'000'000;
    constexpr std::int64_t half = perSecond / 2;
    std::int64_t whole = hundredNs / perSecond;
    const std::int64_t rest = hundredNs % perSecond;
    if (rest > half || (rest == half && whole % 2 != 0)) ++whole;
    return whole;
}

std::string FormatCpuTime(std::int64_t hundredNs) {
    return FormatDuration(HundredNsToSeconds(hundredNs), true, false, true);
}

}  // namespace orvex
