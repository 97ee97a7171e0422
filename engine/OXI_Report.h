// Inventory reports as compound files (extension "ivs"): a header property
// set in the root and the sub-storages "ProcessList", "DriverList" and
// "ServiceList", whose items "0", "1", ... each hold one property set.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

#include "engine/pure/OXI_Records.h"
#include "engine/pure/OXI_StorageInfo.h"

namespace orvex {

class TOrvex_ProcessList;
struct TLoadedReport;

// The lists a report holds.
struct TReportLists {
    TProcList Processes;
    TDriverList Drivers;
    TServiceList Services;
};

// The parts of a report that the inventory components write and read
// (SaveToStorage, LoadFromStorage). Each call opens the file and closes it
// again before it returns. The readers fill records of their own, so that a
// file that cannot be read leaves the component as it was: the component
// takes the results only when reading succeeded. Failures raise.
void SaveReportHeader(const std::string& fileName);
// False, with Info untouched, when the file is missing or not a compound
// file.
bool LoadReportHeader(const std::string& fileName, TStorageInfoRecord& info);
// Replaces the file's three lists with the component's records.
void SaveReportLists(const TOrvex_ProcessList& list, const std::string& fileName);
// The header and the three lists in one opening of the file; false, with
// Report untouched, when the file is missing or not a compound file (any
// compound file reads, with empty values for what it lacks).
bool LoadReportParts(const std::string& fileName, TLoadedReport& report);

// Raises STG_E_DOCFILETOOLARGE when a list of the component holds more than
// ReportListLimit records.
void CheckReportListSizes(const TOrvex_ProcessList& component);

// Most items one list of a report holds. A report is written by one machine
// about itself; no real inventory comes near this many processes, drivers or
// services. A list with more (an item of this number exists) is refused, by
// the writer and by the reader, with STG_E_DOCFILETOOLARGE, so that a file
// cannot make the reader run out of memory or time.
inline constexpr std::size_t ReportListLimit = 10'000;

// Whether FileName holds an inventory report: a compound file whose root
// holds a list of a report ("ProcessList", "DriverList" or "ServiceList") or
// a header set with the report's title (a summary set that fails the set
// check is no report's header). A command that opens reports asks
// this first, because loading a file that is no report (missing, not a
// compound file, or another program's compound file) is no error for the
// component: it empties its lists. False for such files; raises, as a load
// would, when the file cannot be examined or is a damaged compound file.
bool IsInventoryReport(const std::string& fileName);

// A file that is no inventory report: missing lists and title, or no
// compound file at all, or a folder.
class TNotAReport : public std::runtime_error {
public:
    TNotAReport() : std::runtime_error("not an inventory report") {}
};

// An inventory report read whole.
struct TLoadedReport {
    TStorageInfoRecord Info;
    TReportLists Lists;
    bool AnyItem = false;  // at least one item was read
};

// Reads the report in fileName, opening the file once: checks that it is an
// inventory report (as IsInventoryReport does), then reads its header and
// its lists. Raises TNotAReport for a file that is none, TComError with the
// system's code and text for a file that cannot be read (missing, held by
// another program, denied) or is damaged.
TLoadedReport ReadInventoryReport(const std::string& fileName);

}  // namespace orvex
