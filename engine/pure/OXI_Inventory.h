// One inventory as a value: the description of the machine and the three
// lists a report holds. Live data keep the processes' threads and modules.
#pragma once

#include <string>

#include "engine/pure/OXI_Records.h"
#include "engine/pure/OXI_StorageInfo.h"

namespace orvex {

struct TInventory {
    TStorageInfoRecord Info;
    bool Live = false;
    TProcList Processes;
    TDriverList Drivers;
    TServiceList Services;
    // Why live data may lack some of the system's data (a 32-bit program's
    // view of 64-bit Windows); empty for full live data and for reports.
    std::string ViewLimit;
};

}  // namespace orvex
