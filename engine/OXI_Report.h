// Inventory reports as compound files (extension "ivs"): a header property
// set in the root and the sub-storages "ProcessList", "DriverList" and
// "ServiceList", whose items "0", "1", ... each hold one property set.
#pragma once

#include <cstddef>

namespace orvex {

// Installs the compound-file format as the report format of the inventory
// components (SaveToStorage, LoadFromStorage). The program calls it once at
// start; calling it again changes nothing.
void InstallCompoundFileReports();

// Most items one list of a report holds. A report is written by one machine
// about itself; no real inventory comes near this many processes, drivers or
// services. A list with more (an item of this number exists) is refused, by
// the writer and by the reader, with STG_E_DOCFILETOOLARGE, so that a file
// cannot make the reader run out of memory or time.
inline constexpr std::size_t ReportListLimit = 10'000;

}  // namespace orvex
