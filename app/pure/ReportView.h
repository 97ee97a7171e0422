// What the main window shows of an inventory opened from a report: which
// family its data come from, its caption, and the calendar reading of the
// report's save time.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvex::app {

// The family of the system that data describe: it decides the base of the
// process identifiers, the process list's third and fourth columns and
// whether the Drivers and Services pages are shown.
struct TDataFamily {
    bool NT = true;                  // decimal identifiers, CPU time and memory columns
    bool DriversAndServices = true;  // the Drivers and Services pages are shown
    bool operator==(const TDataFamily&) const = default;
};

// The family of a report's data from the platform identifier its header
// names (1: the 9x family, 2: the NT family). A report that names neither
// shows decimal identifiers, and the Drivers and Services pages when it holds
// drivers or services.
TDataFamily ReportDataFamily(std::int32_t platform, bool holdsDriversOrServices);

// "Orvex Process Viewer - name.ivs": the title and the file name of
// FileName without its folder.
std::string ReportWindowCaption(std::string_view title, std::string_view fileName);

// The error texts of opening a report: a file that holds no inventory
// report, and one that cannot be read (Reason: the error's own text).
std::string NotAReportText(std::string_view fileName);
std::string CannotOpenReportText(std::string_view fileName, std::string_view reason);

// A point in time as a calendar reads it.
struct TCalendarTime {
    int Year = 0, Month = 0, Day = 0;  // Month and Day from 1
    int Hour = 0, Minute = 0, Second = 0;
};

// A date-time value (days since 1899-12-30, the time of day as the
// fraction; a negative value counts back, with the fraction still the time of
// that day) as a calendar reads it, to the nearest whole second. False,
// with When untouched, for a value outside the years 100 to 9999 or that is
// not a number.
bool DateTimeToCalendar(double value, TCalendarTime& when);

}  // namespace orvex::app
