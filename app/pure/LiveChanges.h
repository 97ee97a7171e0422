// The changes of the live lists since the previous refresh: records new
// since then, records that vanished (kept for one refresh, at their place),
// and services whose state or start type changed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/pure/OXI_Records.h"

namespace orvex::app {

enum class TLiveChange : std::uint8_t { None, Added, Removed, Changed };

// One row of a list after a refresh: the record at Index of the current
// list, or, for Removed, of the previous one.
struct TLiveRow {
    std::size_t Index = 0;
    TLiveChange Change = TLiveChange::None;
    friend bool operator==(const TLiveRow&, const TLiveRow&) = default;
};

// The keys the rows are matched by, as in the comparison of reports: a
// process by its id and creation time (by id and name where the time is
// unknown), a driver by its path and a service by its key name, both without
// regard to case.
std::string LiveKey(const TProcessInfo& process);
std::string LiveKey(const TDriverInfo& driver);
std::string LiveKey(const TServiceInfo& service);

// The current list's records in their order, each Added when the previous
// list lacks its key, Changed for a service whose state or start type
// differs; each record of the previous list whose key is gone follows the
// row of the nearest record before it in the previous list that is still
// there (or stands first), as Removed.
std::vector<TLiveRow> LiveRows(const TProcList& previous, const TProcList& current);
std::vector<TLiveRow> LiveRows(const TDriverList& previous, const TDriverList& current);
std::vector<TLiveRow> LiveRows(const TServiceList& previous, const TServiceList& current);

// The character a changed row's first cell starts with where colours are not
// drawn (high contrast): "+ ", "- ", "* "; "" for no change.
std::string ChangeMarker(TLiveChange change);

// "+2 -1 changed 3": how many rows were added, removed and changed.
std::string ChangeSummary(const std::vector<TLiveRow>& rows);

}  // namespace orvex::app
