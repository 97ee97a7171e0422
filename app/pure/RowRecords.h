// Which record of the inventory a list row was filled from. A row's text is
// for people, not for finding the record again: where the ANSI code page
// cannot hold a name the system hands "?" in its place, so two services
// whose display names differ only in two Chinese characters both read
// "Windows ??" on a code page 1252 system. Each row keeps its record's index in the list it came from and the
// record's key, and a command acts on the record only while that index still
// holds that key.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/pure/OXI_Records.h"

namespace orvex::app {

// What tells one record apart from the others of its list and stays the same
// from refresh to refresh.
struct TRecordKey {
    std::uint64_t Id = 0;   // process id, driver load count, window handle, module base
    std::int64_t Time = 0;  // process creation time: a process id is reused once its process ended
    std::string Name;       // service key name, module path
    friend bool operator==(const TRecordKey&, const TRecordKey&) = default;
};

TRecordKey ProcessKey(const TProcessInfo& process);
TRecordKey DriverKey(const TDriverInfo& driver);
TRecordKey ServiceKey(const TServiceInfo& service);
TRecordKey WindowKey(const TWindowInfo& window);
TRecordKey ModuleKey(const TModuleInfo& module);

// A row's record: its index in the list the row was filled from, and its key.
struct TRowRecord {
    int Index = -1;
    TRecordKey Key;
};

// The records of one list's rows. A row's item data is the number of its
// entry here, which stays with the row when the list is sorted.
class TRowRecords {
public:
    void Clear() noexcept { rows_.clear(); }
    void Reserve(std::size_t count) { rows_.reserve(count); }
    // Records the row of the record at Index; the result is the row's item data.
    std::intptr_t Add(int index, TRecordKey key);
    // The entry of a row's item data; null for data this table did not give.
    const TRowRecord* Find(std::intptr_t data) const noexcept;
    // The first entry of Key, for rows whose item data is the key itself (a
    // window tree's nodes hold their window's handle); null when none is.
    const TRowRecord* FindKey(const TRecordKey& key) const noexcept;
    std::size_t Size() const noexcept { return rows_.size(); }

private:
    std::vector<TRowRecord> rows_;
};

// What a command finds behind a list's selected row.
struct TRowTarget {
    bool Selected = false;  // a row is selected
    int Index = -1;         // its record's index now; -1 when none is or the record is gone
    bool Found() const noexcept { return Index >= 0; }
    // A row is selected, but the record it was filled from has left the list.
    bool Gone() const noexcept { return Selected && Index < 0; }
};

// The row's record in a list of Count records whose key at index i is
// KeyAt(i): found while the row's index is in range and still holds the row's
// key. Nothing else is searched: a record that moved, or another with the
// same text, is not the row's record.
template <typename KeyAt>
int MatchRowRecord(const TRowRecord& row, int count, KeyAt keyAt) {
    if (row.Index < 0 || row.Index >= count) return -1;
    return keyAt(row.Index) == row.Key ? row.Index : -1;
}

// The target of the selected row whose item data is Data (none: no row is
// selected), in a list of Count records keyed by KeyAt.
template <typename KeyAt>
TRowTarget ResolveRow(const TRowRecords& records, std::optional<std::intptr_t> data, int count, KeyAt keyAt) {
    TRowTarget target;
    if (!data) return target;
    target.Selected = true;
    if (const TRowRecord* row = records.Find(*data)) target.Index = MatchRowRecord(*row, count, keyAt);
    return target;
}

}  // namespace orvex::app
