// One inventory as a value: the description of the machine and the three
// lists a report holds. Live data keep the processes' threads and modules.
#pragma once

#include "engine/pure/OXI_StorageInfo.h"
#include "platform/pure/Orvex_Records.h"

namespace orvex {

struct TInventory {
    TStorageInfoRecord Info;
    bool Live = false;
    TProcList Processes;
    TDriverList Drivers;
    TServiceList Services;
};

}  // namespace orvex
