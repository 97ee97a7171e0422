#include "engine/OXI_Inventory.h"

#include "engine/OXI_Processes.h"
#include "platform/Orvex_Wow64.h"

namespace orvex {

TInventory InventoryOf(const TOrvex_ProcessList& component) {
    TInventory inventory;
    inventory.Live = component.LiveData();
    inventory.Info = inventory.Live ? DescribeThisSystem() : component.StorageInfo;
    if (inventory.Live && IsWow64Program()) inventory.ViewLimit = Wow64ViewNotice;
    inventory.Processes.resize(static_cast<std::size_t>(component.ProcessCount()));
    for (std::size_t i = 0; i < inventory.Processes.size(); ++i)
        component.GetProcess(static_cast<std::uint32_t>(i), inventory.Processes[i]);
    inventory.Drivers.resize(static_cast<std::size_t>(component.DriverCount()));
    for (std::size_t i = 0; i < inventory.Drivers.size(); ++i)
        component.GetDriver(static_cast<std::uint32_t>(i), inventory.Drivers[i]);
    inventory.Services.resize(static_cast<std::size_t>(component.ServiceCount()));
    for (std::size_t i = 0; i < inventory.Services.size(); ++i)
        component.GetService(static_cast<std::uint32_t>(i), inventory.Services[i]);
    return inventory;
}

}  // namespace orvex
