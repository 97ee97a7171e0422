// The parts of an inventory report: the header set of the root, the three
// lists and the property tables of their items.
#pragma once

#include <windows.h>
#include <propidl.h>

#include "engine/OXI_Processes.h"
#include "engine/OXI_Report.h"
#include "storage/Orvex_SS.h"

namespace orvex {

// The title of the header set (id 2), which marks a file as a report.
inline constexpr const char* ReportTitle = "Orvex Inventory Storage File";

// The header properties, describing the running system and user.
void WriteReportHeader(IPropertyStorage* set);
// The header properties into Info; a missing set gives empty values.
void ReadReportHeader(IPropertyStorage* set, TStorageInfoRecord& info);
// The header of an opened report, and its header and lists.
void ReadReportRootHeader(TStructuredSTorage& root, TStorageInfoRecord& info);
void ReadReportParts(TStructuredSTorage& root, TLoadedReport& report);

// Replaces the root's "ProcessList", "DriverList" and "ServiceList" with the
// component's records.
void WriteReportLists(TStructuredSTorage& root, const TOrvex_ProcessList& component);
// Appends the items of the three lists; true when any item was read.
bool ReadReportLists(TStructuredSTorage& root, TReportLists& lists);

// The header's fields in a set (the title and the copyright line are the
// caller's).
void WriteHeaderFields(IPropertyStorage* set, const TStorageInfoRecord& info);
void ReadHeaderFields(IPropertyStorage* set, TStorageInfoRecord& info);

// The property tables of one item.
void WriteItem(IPropertyStorage* set, const TProcessInfo& p);
void WriteItem(IPropertyStorage* set, const TDriverInfo& d);
void WriteItem(IPropertyStorage* set, const TServiceInfo& s);
void ReadItem(IPropertyStorage* set, TProcessInfo& p);
void ReadItem(IPropertyStorage* set, TDriverInfo& d);
void ReadItem(IPropertyStorage* set, TServiceInfo& s);

}  // namespace orvex
