// The inventory a component shows, as a value.
#pragma once

#include "engine/pure/OXI_Inventory.h"

namespace orvex {

class TOrvex_ProcessList;

// The description a report written now would hold (machine, system, local
// time, rights, users).
TStorageInfoRecord DescribeThisSystem();

// Copies the component's description (for live data the one of this system
// now), whether its data are live, and its
// processes, drivers and services (live processes with their threads and
// modules).
TInventory InventoryOf(const TOrvex_ProcessList& component);

}  // namespace orvex
