// Differences between two inventories, one row per added, removed or changed
// item or field.
//
// Keys: services by key name, drivers by name (the path the system reports),
// both without regard to case; processes by image path (their name when the
// path is empty), without regard to case, as a multiset: a key whose number
// of processes differs gives one "count" row, and the users and paths of a
// key are compared as sets. When both inventories come from the same boot of
// the same machine (SameBoot), processes are keyed by id and creation time
// instead, so a restarted process shows as removed and added, and each
// process's user and path are compared.
//
// Added and removed rows name no field; an added or removed process image
// carries its count as its new or old value, a process of the same boot its
// creation time (ISO 8601, UTC), so that two processes of one id stay told
// apart. Changed rows carry the field's texts: service state, start type and
// type by their names, driver bases in hexadecimal, other numbers in decimal,
// sets of users or paths as their values joined by "; " (values that could
// not be read, which are empty, are left out).
//
// Rows are sorted by kind, then key (without regard to case), then field, so
// the same two inventories always give the same rows.
#pragma once

#include <string>
#include <vector>

#include "engine/pure/OXI_Inventory.h"

namespace orvex {

enum class TDiffKind { Process, Driver, Service };
enum class TDiffChange { Added, Removed, Changed };

struct TDiffRow {
    TDiffKind Kind = TDiffKind::Process;
    std::string Key;
    TDiffChange Change = TDiffChange::Changed;
    std::string Field;     // empty for an added or removed item
    std::string OldValue;  // texts of the field's values in Before and After
    std::string NewValue;
};

std::vector<TDiffRow> CompareInventories(const TInventory& before, const TInventory& after);

// Whether A and B describe the same boot of the same machine: the same
// machine name (without regard to case), and a process with the same id and
// the same non-zero creation time on both sides. A process id is reused only
// after its process ended and a creation time is a point in time of 100-ns
// resolution, so such a pair survives only within one boot; after a restart
// every pair is new. Systems that report no creation times (the 9x family)
// never compare as the same boot.
bool SameBoot(const TInventory& a, const TInventory& b);

const char* DiffKindText(TDiffKind kind) noexcept;        // "process", "driver", "service"
const char* DiffChangeText(TDiffChange change) noexcept;  // "added", "removed", "changed"

// The columns every presentation of the rows uses (dialog, CSV, console) and
// one row's texts in that order.
std::vector<std::string> DiffColumnCaptions();
std::vector<std::string> DiffRowFields(const TDiffRow& row);

}  // namespace orvex
