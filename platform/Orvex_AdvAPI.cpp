#include "platform/Orvex_AdvAPI.h"

namespace orvex {

// Each function of the library once.
#define ORVEX_SERVICE_CONTROL_FUNCTIONS(F, G)                         \
    F(ChangeServiceConfigA)                                           \
    F(ChangeServiceConfigW)                                           \
    G(ChangeServiceConfigGeneric, ChangeServiceConfigA)               \
    F(CloseServiceHandle)                                             \
    F(ControlService)                                                 \
    F(CreateServiceA)                                                 \
    F(CreateServiceW)                                                 \
    G(CreateServiceGeneric, CreateService)                            \
    F(DeleteService)                                                  \
    F(EnumDependentServicesA)                                         \
    F(EnumDependentServicesW)                                         \
    G(EnumDependentServicesGeneric, EnumDependentServicesA)           \
    F(EnumServicesStatusA)                                            \
    F(EnumServicesStatusW)                                            \
    G(EnumServicesStatusGeneric, EnumServicesStatusA)                 \
    F(GetServiceKeyNameA)                                             \
    F(GetServiceKeyNameW)                                             \
    G(GetServiceKeyNameGeneric, GetServiceKeyNameA)                   \
    F(GetServiceDisplayNameA)                                         \
    F(GetServiceDisplayNameW)                                         \
    G(GetServiceDisplayNameGeneric, GetServiceDisplayNameA)           \
    F(LockServiceDatabase)                                            \
    F(NotifyBootConfigStatus)                                         \
    F(OpenSCManagerA)                                                 \
    F(OpenSCManagerW)                                                 \
    G(OpenSCManagerGeneric, OpenSCManagerA)                           \
    F(OpenServiceA)                                                   \
    F(OpenServiceW)                                                   \
    G(OpenServiceGeneric, OpenServiceA)                               \
    F(QueryServiceConfigA)                                            \
    F(QueryServiceConfigW)                                            \
    G(QueryServiceConfigGeneric, QueryServiceConfigA)                 \
    F(QueryServiceLockStatusA)                                        \
    F(QueryServiceLockStatusW)                                        \
    G(QueryServiceLockStatusGeneric, QueryServiceLockStatusA)         \
    F(QueryServiceObjectSecurity)                                     \
    F(QueryServiceStatus)                                             \
    F(RegisterServiceCtrlHandlerA)                                    \
    F(RegisterServiceCtrlHandlerW)                                    \
    G(RegisterServiceCtrlHandlerGeneric, RegisterServiceCtrlHandlerA) \
    F(SetServiceObjectSecurity)                                       \
    F(SetServiceStatus)                                               \
    F(StartServiceCtrlDispatcherA)                                    \
    F(StartServiceCtrlDispatcherW)                                    \
    G(StartServiceCtrlDispatcherGeneric, StartServiceCtrlDispatcherA) \
    F(StartServiceA)                                                  \
    F(StartServiceW)                                                  \
    G(StartServiceGeneric, StartServiceA)                             \
    F(UnlockServiceDatabase)

ORVEX_SERVICE_CONTROL_FUNCTIONS(ORVEX_DEFINE_SLOT, ORVEX_DEFINE_SLOT_AS)

namespace {

// The library exports no undecorated "CreateService", so
// CreateServiceGeneric stays null.
constexpr TSlotBinding ServiceControlSlots[] = {ORVEX_SERVICE_CONTROL_FUNCTIONS(ORVEX_SLOT_ENTRY, ORVEX_SLOT_ENTRY_AS)};

constinit TLibraryBinding ServiceControl("advapi32.dll", ServiceControlSlots);

}  // namespace

bool BindServiceControl() noexcept { return ServiceControl.Bind() && OpenSCManagerGeneric != nullptr; }

void ReleaseServiceControl() { ServiceControl.Release(); }

const TLibraryBinding& ServiceControlLibrary() noexcept { return ServiceControl; }

}  // namespace orvex
