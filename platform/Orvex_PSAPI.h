// The process-status library "psapi.dll", bound by name at run time.
//
// The slots carry the library's own signatures and live in namespace orvex
// under the library's function names, so callers outside the namespace
// qualify them: orvex::EnumProcessModules(process, modules, size, &needed).
// The binding runs on any platform it is called on; its callers restrict it
// to the NT family.
#pragma once

#include <windows.h>
#include <psapi.h>

#include "platform/Orvex_LibraryBinding.h"

#if PSAPI_VERSION > 1
#error "psapi.h must declare the version 1 names (the slots share them); build with _WIN32_WINNT below 0x0601"
#endif

namespace orvex {

using TEnumProcesses = decltype(&::EnumProcesses);
using TEnumProcessModules = decltype(&::EnumProcessModules);
using TGetModuleBaseNameA = decltype(&::GetModuleBaseNameA);
using TGetModuleFileNameExA = decltype(&::GetModuleFileNameExA);
using TGetModuleInformation = decltype(&::GetModuleInformation);
using TEmptyWorkingSet = decltype(&::EmptyWorkingSet);
using TQueryWorkingSet = decltype(&::QueryWorkingSet);
using TInitializeProcessForWsWatch = decltype(&::InitializeProcessForWsWatch);
using TGetWsChanges = decltype(&::GetWsChanges);
using TGetMappedFileNameA = decltype(&::GetMappedFileNameA);
using TEnumDeviceDrivers = decltype(&::EnumDeviceDrivers);
using TGetDeviceDriverBaseNameA = decltype(&::GetDeviceDriverBaseNameA);
using TGetDeviceDriverFileNameA = decltype(&::GetDeviceDriverFileNameA);
using TGetProcessMemoryInfo = decltype(&::GetProcessMemoryInfo);

// The slots, in binding order; null until bound and when the name is absent.
extern TEnumProcesses EnumProcesses;
extern TEnumProcessModules EnumProcessModules;
extern TGetModuleBaseNameA GetModuleBaseNameA;
extern TGetModuleFileNameExA GetModuleFileNameExA;
extern TGetModuleInformation GetModuleInformation;
extern TEmptyWorkingSet EmptyWorkingSet;
extern TQueryWorkingSet QueryWorkingSet;
extern TInitializeProcessForWsWatch InitializeProcessForWsWatch;
extern TGetWsChanges GetWsChanges;
extern TGetMappedFileNameA GetMappedFileNameA;
extern TEnumDeviceDrivers EnumDeviceDrivers;
extern TGetDeviceDriverBaseNameA GetDeviceDriverBaseNameA;
extern TGetDeviceDriverFileNameA GetDeviceDriverFileNameA;
extern TGetProcessMemoryInfo GetProcessMemoryInfo;

// Binds "psapi.dll" and all slots. True when the library is bound and
// EnumProcesses was found.
bool BindProcessStatus() noexcept;
// Frees "psapi.dll" when this unit loaded it and the last bind found it not
// yet mapped. Throws EUnloadError when freeing fails.
void ReleaseProcessStatus();
// Frees "vdmdbg.dll" when this unit owns it. Nothing binds that library, so
// this finds no handle and does nothing; it never throws in practice.
void ReleaseVdmDebug();

const TLibraryBinding& ProcessStatusLibrary() noexcept;
const TLibraryBinding& VdmDebugLibrary() noexcept;

}  // namespace orvex
