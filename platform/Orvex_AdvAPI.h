// The service-control functions of "advapi32.dll", bound by name at run time.
//
// Each function family that comes in an ANSI and a wide form has three slots:
// <Family>A and <Family>W, bound to the two exports, and <Family>Generic,
// bound to the ANSI export (the generic CreateService slot is bound to the
// undecorated name "CreateService", which the library does not export, so it
// stays null). The program calls the generic slots and the single entries.
//
// The slots carry the functions' own signatures and live in namespace orvex.
// Callers outside the namespace qualify them, orvex::QueryServiceStatus(...),
// orvex::OpenSCManagerGeneric(...). The generic slots carry the suffix
// "Generic" because <windows.h> defines every undecorated family name as a
// macro for the A or W name: orvex::OpenSCManager(...) would reach the A slot
// through that macro.
//
// The binding runs on any platform it is called on; its callers restrict it
// to the NT family.
#pragma once

#include <windows.h>
#include <winsvc.h>

#include "platform/Orvex_LibraryBinding.h"

namespace orvex {

using TChangeServiceConfigA = decltype(&::ChangeServiceConfigA);
using TChangeServiceConfigW = decltype(&::ChangeServiceConfigW);
using TCloseServiceHandle = decltype(&::CloseServiceHandle);
using TControlService = decltype(&::ControlService);
using TCreateServiceA = decltype(&::CreateServiceA);
using TCreateServiceW = decltype(&::CreateServiceW);
using TDeleteService = decltype(&::DeleteService);
using TEnumDependentServicesA = decltype(&::EnumDependentServicesA);
using TEnumDependentServicesW = decltype(&::EnumDependentServicesW);
using TEnumServicesStatusA = decltype(&::EnumServicesStatusA);
using TEnumServicesStatusW = decltype(&::EnumServicesStatusW);
using TGetServiceKeyNameA = decltype(&::GetServiceKeyNameA);
using TGetServiceKeyNameW = decltype(&::GetServiceKeyNameW);
using TGetServiceDisplayNameA = decltype(&::GetServiceDisplayNameA);
using TGetServiceDisplayNameW = decltype(&::GetServiceDisplayNameW);
using TLockServiceDatabase = decltype(&::LockServiceDatabase);
using TNotifyBootConfigStatus = decltype(&::NotifyBootConfigStatus);
using TOpenSCManagerA = decltype(&::OpenSCManagerA);
using TOpenSCManagerW = decltype(&::OpenSCManagerW);
using TOpenServiceA = decltype(&::OpenServiceA);
using TOpenServiceW = decltype(&::OpenServiceW);
using TQueryServiceConfigA = decltype(&::QueryServiceConfigA);
using TQueryServiceConfigW = decltype(&::QueryServiceConfigW);
using TQueryServiceLockStatusA = decltype(&::QueryServiceLockStatusA);
using TQueryServiceLockStatusW = decltype(&::QueryServiceLockStatusW);
using TQueryServiceObjectSecurity = decltype(&::QueryServiceObjectSecurity);
using TQueryServiceStatus = decltype(&::QueryServiceStatus);
using TRegisterServiceCtrlHandlerA = decltype(&::RegisterServiceCtrlHandlerA);
using TRegisterServiceCtrlHandlerW = decltype(&::RegisterServiceCtrlHandlerW);
using TSetServiceObjectSecurity = decltype(&::SetServiceObjectSecurity);
using TSetServiceStatus = decltype(&::SetServiceStatus);
using TStartServiceCtrlDispatcherA = decltype(&::StartServiceCtrlDispatcherA);
using TStartServiceCtrlDispatcherW = decltype(&::StartServiceCtrlDispatcherW);
using TStartServiceA = decltype(&::StartServiceA);
using TStartServiceW = decltype(&::StartServiceW);
using TUnlockServiceDatabase = decltype(&::UnlockServiceDatabase);

// The 49 slots, in binding order; null until bound and when the name is absent.
extern TChangeServiceConfigA ChangeServiceConfigA;
extern TChangeServiceConfigW ChangeServiceConfigW;
extern TChangeServiceConfigA ChangeServiceConfigGeneric;
extern TCloseServiceHandle CloseServiceHandle;
extern TControlService ControlService;
extern TCreateServiceA CreateServiceA;
extern TCreateServiceW CreateServiceW;
extern TCreateServiceA CreateServiceGeneric;
extern TDeleteService DeleteService;
extern TEnumDependentServicesA EnumDependentServicesA;
extern TEnumDependentServicesW EnumDependentServicesW;
extern TEnumDependentServicesA EnumDependentServicesGeneric;
extern TEnumServicesStatusA EnumServicesStatusA;
extern TEnumServicesStatusW EnumServicesStatusW;
extern TEnumServicesStatusA EnumServicesStatusGeneric;
extern TGetServiceKeyNameA GetServiceKeyNameA;
extern TGetServiceKeyNameW GetServiceKeyNameW;
extern TGetServiceKeyNameA GetServiceKeyNameGeneric;
extern TGetServiceDisplayNameA GetServiceDisplayNameA;
extern TGetServiceDisplayNameW GetServiceDisplayNameW;
extern TGetServiceDisplayNameA GetServiceDisplayNameGeneric;
extern TLockServiceDatabase LockServiceDatabase;
extern TNotifyBootConfigStatus NotifyBootConfigStatus;
extern TOpenSCManagerA OpenSCManagerA;
extern TOpenSCManagerW OpenSCManagerW;
extern TOpenSCManagerA OpenSCManagerGeneric;
extern TOpenServiceA OpenServiceA;
extern TOpenServiceW OpenServiceW;
extern TOpenServiceA OpenServiceGeneric;
extern TQueryServiceConfigA QueryServiceConfigA;
extern TQueryServiceConfigW QueryServiceConfigW;
extern TQueryServiceConfigA QueryServiceConfigGeneric;
extern TQueryServiceLockStatusA QueryServiceLockStatusA;
extern TQueryServiceLockStatusW QueryServiceLockStatusW;
extern TQueryServiceLockStatusA QueryServiceLockStatusGeneric;
extern TQueryServiceObjectSecurity QueryServiceObjectSecurity;
extern TQueryServiceStatus QueryServiceStatus;
extern TRegisterServiceCtrlHandlerA RegisterServiceCtrlHandlerA;
extern TRegisterServiceCtrlHandlerW RegisterServiceCtrlHandlerW;
extern TRegisterServiceCtrlHandlerA RegisterServiceCtrlHandlerGeneric;
extern TSetServiceObjectSecurity SetServiceObjectSecurity;
extern TSetServiceStatus SetServiceStatus;
extern TStartServiceCtrlDispatcherA StartServiceCtrlDispatcherA;
extern TStartServiceCtrlDispatcherW StartServiceCtrlDispatcherW;
extern TStartServiceCtrlDispatcherA StartServiceCtrlDispatcherGeneric;
extern TStartServiceA StartServiceA;
extern TStartServiceW StartServiceW;
extern TStartServiceA StartServiceGeneric;
extern TUnlockServiceDatabase UnlockServiceDatabase;

// Binds "advapi32.dll" and all slots. True when the library is bound and the
// generic OpenSCManager slot is set.
bool BindServiceControl() noexcept;
// Frees "advapi32.dll" when this unit loaded it (never in this program, which
// imports the library). Throws EUnloadError when freeing fails.
void ReleaseServiceControl();

const TLibraryBinding& ServiceControlLibrary() noexcept;

}  // namespace orvex
