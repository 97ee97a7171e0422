#include "platform/Orvex_PSAPI.h"

namespace orvex {

TEnumProcesses EnumProcesses = nullptr;
TEnumProcessModules EnumProcessModules = nullptr;
TGetModuleBaseNameA GetModuleBaseNameA = nullptr;
TGetModuleFileNameExA GetModuleFileNameExA = nullptr;
TGetModuleInformation GetModuleInformation = nullptr;
TEmptyWorkingSet EmptyWorkingSet = nullptr;
TQueryWorkingSet QueryWorkingSet = nullptr;
TInitializeProcessForWsWatch InitializeProcessForWsWatch = nullptr;
TGetWsChanges GetWsChanges = nullptr;
TGetMappedFileNameA GetMappedFileNameA = nullptr;
TEnumDeviceDrivers EnumDeviceDrivers = nullptr;
TGetDeviceDriverBaseNameA GetDeviceDriverBaseNameA = nullptr;
TGetDeviceDriverFileNameA GetDeviceDriverFileNameA = nullptr;
TGetProcessMemoryInfo GetProcessMemoryInfo = nullptr;

namespace {

constexpr TSlotBinding ProcessStatusSlots[] = {
    BindSlot<EnumProcesses>("EnumProcesses"),
    BindSlot<EnumProcessModules>("EnumProcessModules"),
    BindSlot<GetModuleBaseNameA>("GetModuleBaseNameA"),
    BindSlot<GetModuleFileNameExA>("GetModuleFileNameExA"),
    BindSlot<GetModuleInformation>("GetModuleInformation"),
    BindSlot<EmptyWorkingSet>("EmptyWorkingSet"),
    BindSlot<QueryWorkingSet>("QueryWorkingSet"),
    BindSlot<InitializeProcessForWsWatch>("InitializeProcessForWsWatch"),
    BindSlot<GetWsChanges>("GetWsChanges"),
    BindSlot<GetMappedFileNameA>("GetMappedFileNameA"),
    BindSlot<EnumDeviceDrivers>("EnumDeviceDrivers"),
    BindSlot<GetDeviceDriverBaseNameA>("GetDeviceDriverBaseNameA"),
    BindSlot<GetDeviceDriverFileNameA>("GetDeviceDriverFileNameA"),
    BindSlot<GetProcessMemoryInfo>("GetProcessMemoryInfo"),
};

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
