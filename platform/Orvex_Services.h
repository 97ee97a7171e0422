// Talking to the service control manager: listing services, translating
// display names, reading a service's configuration and state, and starting,
// stopping, pausing and resuming a service.
//
// Every routine opens its own connection to the manager and closes it again,
// and goes through the service-control slots of Orvex_AdvAPI, which must have
// been bound (BindServiceControl); with the slots unbound every routine gives
// its failure result. Machine is the computer's name, empty for this one.
// Service is a service's key name (not its display name). No routine throws
// or shows anything, and a failed routine leaves its outputs untouched.
#pragma once

#include <windows.h>
#include <winsvc.h>

#include <string>
#include <vector>

#include "platform/Orvex_Resources.h"
#include "platform/pure/Orvex_ServiceNames.h"

namespace orvex {

// The longest the start, stop, pause and resume routines wait for a service
// to reach the state they asked for, in milliseconds.
inline constexpr DWORD ServiceWaitLimitMs = 30000;

// A connection to the service manager of Machine (empty: this machine), or
// an empty handle when it cannot be opened or nothing is bound. The routines
// below that take a machine name open one connection per call; those that
// take a connection use it, so that a caller with many queries opens one.
TScHandle OpenServiceManager(const std::string& machine, DWORD access);

// The service's current state (SERVICE_STOPPED to SERVICE_PAUSED), -1 when
// it cannot be read.
int GetServiceCurrentState(const std::string& machine, const std::string& service);
int GetServiceCurrentState(const TScHandle& manager, const std::string& service);

// Starts the service and waits until it runs. A non-empty Parameters text is
// passed to the service as one argument string, whatever blanks it holds; an
// empty one passes no arguments. True when the service was last seen running.
bool StartNamedService(const std::string& machine, const std::string& service, const std::string& parameters);

// Send the stop, pause or continue request and wait for the stopped, paused
// or running state. True when the last status the manager reported shows that
// state, also when the request itself was refused because the service is
// already there (stopping a stopped service).
bool StopNamedService(const std::string& machine, const std::string& service);
bool PauseNamedService(const std::string& machine, const std::string& service);
bool ResumeNamedService(const std::string& machine, const std::string& service);

// The key name of the service with that display name, empty when there is none.
std::string ServiceDisplayToKeyName(const std::string& machine, const std::string& displayName);
std::string ServiceDisplayToKeyName(const TScHandle& manager, const std::string& displayName);

// One service as the enumeration reports it: key name, display name and
// current state (SERVICE_STOPPED to SERVICE_PAUSED).
struct TServiceEntry {
    std::string Name;
    std::string DisplayName;
    DWORD CurrentState = 0;
};

// Appends the services of the given types (a mask of SERVICE_WIN32_OWN_PROCESS
// and its kin) in the given states (a mask of SERVICE_ACTIVE and
// SERVICE_INACTIVE) to List, in the manager's order, all of them however many
// requests that takes. List is not cleared first. False only when the manager
// cannot be opened with full access (the machine form) or nothing is bound.
bool ListServices(const std::string& machine, DWORD serviceType, DWORD serviceState, std::vector<TServiceEntry>& list);
bool ListServices(const TScHandle& manager, DWORD serviceType, DWORD serviceState, std::vector<TServiceEntry>& list);

// The same, giving only the display names.
bool ListServiceDisplayNames(const std::string& machine, DWORD serviceType, DWORD serviceState,
                             std::vector<std::string>& list);
bool ListServiceDisplayNames(const TScHandle& manager, DWORD serviceType, DWORD serviceState,
                             std::vector<std::string>& list);

// The block a service's configuration is read into: the platform's
// configuration record followed by the texts it points to.
inline constexpr DWORD ServiceConfigBufferSize = 1024;
union TServiceConfigBuffer {
    QUERY_SERVICE_CONFIGA config;
    unsigned char bytes[ServiceConfigBufferSize];
};
static_assert(sizeof(TServiceConfigBuffer) == ServiceConfigBufferSize);

// Reads the service's configuration into Buffer. Every text pointer of the
// record points into Buffer itself, at a text that ends inside it (the
// dependency list at a list ended by an empty name), or is null. A
// configuration larger than the block cannot be read.
bool ReadServiceConfig(const std::string& machine, const std::string& service, TServiceConfigBuffer& buffer);
bool ReadServiceConfig(const TScHandle& manager, const std::string& service, TServiceConfigBuffer& buffer);

}  // namespace orvex
