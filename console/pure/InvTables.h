// The console collector's output texts: the lists of an inventory as tables
// (one column set for text and CSV), the inventory's description, and the
// differences of two inventories.
#pragma once

#include <string>
#include <vector>

#include "console/pure/InvArgs.h"
#include "engine/pure/OXI_Inventory.h"
#include "engine/pure/OXI_InventoryDiff.h"
#include "engine/pure/OXI_InventoryJson.h"

namespace orvex::console {

struct TTable {
    std::vector<std::string> Captions;
    std::vector<std::vector<std::string>> Rows;
};

// One list: the viewer's columns for it (less those a report does not hold)
// and the fields that identify its records.
//   processes: Name, PID, CPU Time, User, Image Name, Parent PID, Priority,
//              Threads, Handles, Created
//   drivers:   Name, Base Address, Load Cnt, Location, Size
//   services:  Display Name, Status, Startup Type, Name, Type, Image Name,
//              Account, Group, Dependencies
TTable ListTable(const TInventory& inventory, TInvList list);
TTable DiffTable(const std::vector<TDiffRow>& rows);

// The table as CSV: byte-order mark, header row, one row per record, each
// field converted to UTF-8.
std::string TableCsv(const TTable& table, const TTextToUtf8& toUtf8);
// The table as text: tab-separated columns (tabs and line breaks inside a
// field become blanks), lines ended by CR LF.
std::string TableText(const TTable& table);

// The description of the machine as "Label: value" lines, then each list
// under a "Processes (N)" line and the like.
std::string InventoryText(const TInventory& inventory);

}  // namespace orvex::console
