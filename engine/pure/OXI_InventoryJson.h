// Inventories and their differences as JSON (RFC 8259), one object each.
//
// Inventory: {"header": {...}, "live": bool, "processes": [...],
// "drivers": [...], "services": [...]}; the header ends with "viewLimit",
// the inventory's ViewLimit ("" for full data); processes hold "threads" and
// "modules" arrays only when the inventory is live. Names are camelCase.
// Points in time are ISO 8601 texts (the header's local time without a zone,
// creation times in UTC with "Z", "" when unknown) with the raw 100-ns count
// beside them as a decimal text ("createTimeRaw"), because it exceeds what a
// reader that holds numbers as doubles keeps exactly. Addresses (bases, entry
// and start addresses) are hexadecimal texts "0x...". Other numbers are JSON
// numbers. Texts are converted to UTF-8 by the caller's converter, anything
// not well-formed after that is replaced by U+FFFD, and control characters
// are written as \u00XX.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/pure/OXI_Inventory.h"
#include "engine/pure/OXI_InventoryDiff.h"

namespace orvex {

// Converts a text of the program (system code page) to UTF-8.
using TTextToUtf8 = std::function<std::string(std::string_view)>;

std::string InventoryJson(const TInventory& inventory, const TTextToUtf8& toUtf8);

// {"before": header, "after": header, "differences": [{"kind", "key",
// "change", "field", "oldValue", "newValue"}, ...]}
std::string DiffJson(const std::vector<TDiffRow>& rows, const TStorageInfoRecord& before,
                     const TStorageInfoRecord& after, const TTextToUtf8& toUtf8);

}  // namespace orvex
