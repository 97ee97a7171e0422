// Inventories as JSON lines (one object per line, UTF-8, LF after each), the
// form log pipelines, document stores and databases load as it is.
//
// Every line begins with where its record comes from: "host" (the machine
// the inventory describes), "snapshotTime" (the moment of the inventory in
// UTC, ISO 8601 with "Z"; "" when unknown), "reportFile" (the report's name
// as given, "" for live data) and "table", then the record's members under
// the names of the JSON export (OXI_InventoryJson.h):
//   header     one line: the header's members and "viewLimit"
//   processes  one line per process (without threads and modules)
//   threads    live data only: one line per thread (with its "ownerPid")
//   modules    live data only: one line per module, "ownerPid" first
//   drivers, services  one line per item
// Differences (DiffLines) have one line per difference row: "table" of the
// item's kind (processes, drivers or services), "baselineFile", "action"
// (added, removed, changed), "key", "field", "old" and "new" as the
// comparison gives them (OXI_InventoryDiff.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/pure/OXI_InventoryJson.h"

namespace orvex {

// Where the lines' records come from.
struct TLineSource {
    std::string Host;
    std::int64_t SnapshotTime = 0;  // 100-ns units since 1601 (UTC); 0: unknown
    std::string ReportFile;
};

// The names of the tables, in the order the lines of an inventory give them.
std::vector<std::string> LineTables();

std::string InventoryLines(const TInventory& inventory, const TLineSource& source, const TTextToUtf8& toUtf8);

std::string DiffLines(const std::vector<TDiffRow>& rows, const TLineSource& source, const std::string& baselineFile,
                      const TTextToUtf8& toUtf8);

}  // namespace orvex
