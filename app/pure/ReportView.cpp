#include "app/pure/ReportView.h"

#include <cmath>

#include "app/pure/MainRows.h"

namespace orvex::app {

TDataFamily ReportDataFamily(std::int32_t platform, bool holdsDriversOrServices) {
    switch (platform) {
    case 1:
        return {false, false};
    case 2:
        return {true, true};
    default:
        return {true, holdsDriversOrServices};
    }
}

std::string ReportWindowCaption(std::string_view title, std::string_view fileName) {
    return std::string(title) + " - " + PathFileName(fileName);
}

std::string NotAReportText(std::string_view fileName) {
    return "\"" + std::string(fileName) + "\" is not an inventory report.";
}

std::string CannotOpenReportText(std::string_view fileName, std::string_view reason) {
    return "Cannot open the report \"" + std::string(fileName) + "\": " + std::string(reason);
}

namespace {

// Days from 1899-12-30 to 0100-01-01 and to 9999-12-31.
constexpr double FirstDay = -657434.0;
constexpr double LastDay = 2958465.0;

// The civil date of a count of days since 1970-01-01 (proleptic Gregorian).
void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

}  // namespace

bool DateTimeToCalendar(double value, TCalendarTime& when) {
    if (!(value > FirstDay - 1.0 && value < LastDay + 1.0)) return false;
    // The whole day, and the time of that day: a negative value's fraction
    // counts forward from its day's midnight too.
    const double wholeDays = std::trunc(value);
    const double fraction = std::fabs(value - wholeDays);
    std::int64_t days = static_cast<std::int64_t>(wholeDays);
    std::int64_t seconds = std::llround(fraction * 86400.0);
    if (seconds >= 86400) {
        // Rounded up to the next midnight (the time counts forward from
        // the day's midnight, also for a day before 1899-12-30).
        seconds -= 86400;
        ++days;
    }
    if (static_cast<double>(days) > LastDay) return false;
    TCalendarTime t;
    // 1899-12-30 is day -25569 of the Unix count.
    CivilFromDays(days - 25569, t.Year, t.Month, t.Day);
    t.Hour = static_cast<int>(seconds / 3600);
    t.Minute = static_cast<int>(seconds / 60 % 60);
    t.Second = static_cast<int>(seconds % 60);
    when = t;
    return true;
}

}  // namespace orvex::app
