#include "platform/Orvex_PSAPI.h"

namespace orvex {

// Each function of the library once.
#define ORVEX_PSAPI_FUNCTIONS(F, G) \
    F(EnumProcesses)                \
    F(EnumProcessModules)           \
    F(GetModuleBaseNameA)           \
    F(GetModuleFileNameExA)         \
    F(GetModuleInformation)         \
    F(EmptyWorkingSet)              \
    F(QueryWorkingSet)              \
    F(InitializeProcessForWsWatch)  \
    F(GetWsChanges)                 \
    F(GetMappedFileNameA)           \
    F(EnumDeviceDrivers)            \
    F(GetDeviceDriverBaseNameA)     \
    F(GetDeviceDriverFileNameA)     \
    F(GetProcessMemoryInfo)

ORVEX_PSAPI_FUNCTIONS(ORVEX_DEFINE_SLOT, ORVEX_DEFINE_SLOT_AS)

namespace {

constexpr TSlotBinding ProcessStatusSlots[] = {ORVEX_PSAPI_FUNCTIONS(ORVEX_SLOT_ENTRY, ORVEX_SLOT_ENTRY_AS)};

// Objects are destroyed in reverse order: at program end "psapi.dll" is
// released before "vdmdbg.dll".
constinit TLibraryBinding VdmDebug("vdmdbg.dll", {});
constinit TLibraryBinding ProcessStatus("psapi.dll", ProcessStatusSlots);

}  // namespace

bool BindProcessStatus() noexcept { return ProcessStatus.Bind() && EnumProcesses != nullptr; }

void ReleaseProcessStatus() { ProcessStatus.Release(); }

void ReleaseVdmDebug() { VdmDebug.Release(); }

const TLibraryBinding& ProcessStatusLibrary() noexcept { return ProcessStatus; }

const TLibraryBinding& VdmDebugLibrary() noexcept { return VdmDebug; }

}  // namespace orvex
