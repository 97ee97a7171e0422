// The loaded kernel modules, from the system's module table.
#include "engine/OXI_Collectors.h"
#include "engine/OXI_NativeQuery.h"
#include "platform/pure/Orvex_NtLayouts.h"

namespace orvex {

void CollectDrivers(TDriverList& list) {
    std::vector<std::uint8_t> buffer;
    if (!QuerySystemInformation(nt::SystemModuleInformation, 32768, 1024, false, buffer)) return;
    for (const nt::TKernelModuleEntry& e : nt::ParseKernelModules(nt::NativeWidth, buffer.data(), buffer.size())) {
        // The words go to these fields exactly so: the main window, the
        // report and FindDriver rely on it.
        TDriverInfo& d = list.emplace_back();
        d.Name = e.FullPath;
        d.Base = static_cast<std::uintptr_t>(e.MappedBase);
        d.Size = static_cast<std::int64_t>(static_cast<std::uintptr_t>(e.ImageBase));
        d.Flags = e.ImageSize;
        d.LoadCount = e.LoadOrderIndex;
    }
}

}  // namespace orvex
