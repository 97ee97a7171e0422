#include "platform/Orvex_AdvAPI.h"

namespace orvex {

TChangeServiceConfigA ChangeServiceConfigA = nullptr;
TChangeServiceConfigW ChangeServiceConfigW = nullptr;
TChangeServiceConfigA ChangeServiceConfigGeneric = nullptr;
TCloseServiceHandle CloseServiceHandle = nullptr;
TControlService ControlService = nullptr;
TCreateServiceA CreateServiceA = nullptr;
TCreateServiceW CreateServiceW = nullptr;
TCreateServiceA CreateServiceGeneric = nullptr;
TDeleteService DeleteService = nullptr;
TEnumDependentServicesA EnumDependentServicesA = nullptr;
TEnumDependentServicesW EnumDependentServicesW = nullptr;
TEnumDependentServicesA EnumDependentServicesGeneric = nullptr;
TEnumServicesStatusA EnumServicesStatusA = nullptr;
TEnumServicesStatusW EnumServicesStatusW = nullptr;
TEnumServicesStatusA EnumServicesStatusGeneric = nullptr;
TGetServiceKeyNameA GetServiceKeyNameA = nullptr;
TGetServiceKeyNameW GetServiceKeyNameW = nullptr;
TGetServiceKeyNameA GetServiceKeyNameGeneric = nullptr;
TGetServiceDisplayNameA GetServiceDisplayNameA = nullptr;
TGetServiceDisplayNameW GetServiceDisplayNameW = nullptr;
TGetServiceDisplayNameA GetServiceDisplayNameGeneric = nullptr;
TLockServiceDatabase LockServiceDatabase = nullptr;
TNotifyBootConfigStatus NotifyBootConfigStatus = nullptr;
TOpenSCManagerA OpenSCManagerA = nullptr;
TOpenSCManagerW OpenSCManagerW = nullptr;
TOpenSCManagerA OpenSCManagerGeneric = nullptr;
TOpenServiceA OpenServiceA = nullptr;
TOpenServiceW OpenServiceW = nullptr;
TOpenServiceA OpenServiceGeneric = nullptr;
TQueryServiceConfigA QueryServiceConfigA = nullptr;
TQueryServiceConfigW QueryServiceConfigW = nullptr;
TQueryServiceConfigA QueryServiceConfigGeneric = nullptr;
TQueryServiceLockStatusA QueryServiceLockStatusA = nullptr;
TQueryServiceLockStatusW QueryServiceLockStatusW = nullptr;
TQueryServiceLockStatusA QueryServiceLockStatusGeneric = nullptr;
TQueryServiceObjectSecurity QueryServiceObjectSecurity = nullptr;
TQueryServiceStatus QueryServiceStatus = nullptr;
TRegisterServiceCtrlHandlerA RegisterServiceCtrlHandlerA = nullptr;
TRegisterServiceCtrlHandlerW RegisterServiceCtrlHandlerW = nullptr;
TRegisterServiceCtrlHandlerA RegisterServiceCtrlHandlerGeneric = nullptr;
TSetServiceObjectSecurity SetServiceObjectSecurity = nullptr;
TSetServiceStatus SetServiceStatus = nullptr;
TStartServiceCtrlDispatcherA StartServiceCtrlDispatcherA = nullptr;
TStartServiceCtrlDispatcherW StartServiceCtrlDispatcherW = nullptr;
TStartServiceCtrlDispatcherA StartServiceCtrlDispatcherGeneric = nullptr;
TStartServiceA StartServiceA = nullptr;
TStartServiceW StartServiceW = nullptr;
TStartServiceA StartServiceGeneric = nullptr;
TUnlockServiceDatabase UnlockServiceDatabase = nullptr;

namespace {

constexpr TSlotBinding ServiceControlSlots[] = {
    BindSlot<ChangeServiceConfigA>("ChangeServiceConfigA"),
    BindSlot<ChangeServiceConfigW>("ChangeServiceConfigW"),
    BindSlot<ChangeServiceConfigGeneric>("ChangeServiceConfigA"),
    BindSlot<CloseServiceHandle>("CloseServiceHandle"),
    BindSlot<ControlService>("ControlService"),
    BindSlot<CreateServiceA>("CreateServiceA"),
    BindSlot<CreateServiceW>("CreateServiceW"),
    // The library exports no undecorated name, so this slot stays null.
    BindSlot<CreateServiceGeneric>("CreateService"),
    BindSlot<DeleteService>("DeleteService"),
    BindSlot<EnumDependentServicesA>("EnumDependentServicesA"),
    BindSlot<EnumDependentServicesW>("EnumDependentServicesW"),
    BindSlot<EnumDependentServicesGeneric>("EnumDependentServicesA"),
    BindSlot<EnumServicesStatusA>("EnumServicesStatusA"),
    BindSlot<EnumServicesStatusW>("EnumServicesStatusW"),
    BindSlot<EnumServicesStatusGeneric>("EnumServicesStatusA"),
    BindSlot<GetServiceKeyNameA>("GetServiceKeyNameA"),
    BindSlot<GetServiceKeyNameW>("GetServiceKeyNameW"),
    BindSlot<GetServiceKeyNameGeneric>("GetServiceKeyNameA"),
    BindSlot<GetServiceDisplayNameA>("GetServiceDisplayNameA"),
    BindSlot<GetServiceDisplayNameW>("GetServiceDisplayNameW"),
    BindSlot<GetServiceDisplayNameGeneric>("GetServiceDisplayNameA"),
    BindSlot<LockServiceDatabase>("LockServiceDatabase"),
    BindSlot<NotifyBootConfigStatus>("NotifyBootConfigStatus"),
    BindSlot<OpenSCManagerA>("OpenSCManagerA"),
    BindSlot<OpenSCManagerW>("OpenSCManagerW"),
    BindSlot<OpenSCManagerGeneric>("OpenSCManagerA"),
    BindSlot<OpenServiceA>("OpenServiceA"),
    BindSlot<OpenServiceW>("OpenServiceW"),
    BindSlot<OpenServiceGeneric>("OpenServiceA"),
    BindSlot<QueryServiceConfigA>("QueryServiceConfigA"),
    BindSlot<QueryServiceConfigW>("QueryServiceConfigW"),
    BindSlot<QueryServiceConfigGeneric>("QueryServiceConfigA"),
    BindSlot<QueryServiceLockStatusA>("QueryServiceLockStatusA"),
    BindSlot<QueryServiceLockStatusW>("QueryServiceLockStatusW"),
    BindSlot<QueryServiceLockStatusGeneric>("QueryServiceLockStatusA"),
    BindSlot<QueryServiceObjectSecurity>("QueryServiceObjectSecurity"),
    BindSlot<QueryServiceStatus>("QueryServiceStatus"),
    BindSlot<RegisterServiceCtrlHandlerA>("RegisterServiceCtrlHandlerA"),
    BindSlot<RegisterServiceCtrlHandlerW>("RegisterServiceCtrlHandlerW"),
    BindSlot<RegisterServiceCtrlHandlerGeneric>("RegisterServiceCtrlHandlerA"),
    BindSlot<SetServiceObjectSecurity>("SetServiceObjectSecurity"),
    BindSlot<SetServiceStatus>("SetServiceStatus"),
    BindSlot<StartServiceCtrlDispatcherA>("StartServiceCtrlDispatcherA"),
    BindSlot<StartServiceCtrlDispatcherW>("StartServiceCtrlDispatcherW"),
    BindSlot<StartServiceCtrlDispatcherGeneric>("StartServiceCtrlDispatcherA"),
    BindSlot<StartServiceA>("StartServiceA"),
    BindSlot<StartServiceW>("StartServiceW"),
    BindSlot<StartServiceGeneric>("StartServiceA"),
    BindSlot<UnlockServiceDatabase>("UnlockServiceDatabase"),
};

constinit TLibraryBinding ServiceControl("advapi32.dll", ServiceControlSlots);

}  // namespace

bool BindServiceControl() noexcept { return ServiceControl.Bind() && OpenSCManagerGeneric != nullptr; }

void ReleaseServiceControl() { ServiceControl.Release(); }

const TLibraryBinding& ServiceControlLibrary() noexcept { return ServiceControl; }

}  // namespace orvex
