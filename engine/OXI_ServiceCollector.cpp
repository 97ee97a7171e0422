// The services of the Win32 kinds with their configuration, read over one
// connection to the service manager: one enumeration for names and states,
// then one configuration query per service.
#include <windows.h>

#include <cstring>

#include "engine/OXI_Collectors.h"
#include "engine/pure/OXI_ServiceText.h"
#include "platform/Orvex_Services.h"
#include "platform/pure/Orvex_ServiceNames.h"

namespace orvex {

namespace {

// The dependency list of a configuration that ReadServiceConfig checked:
// it ends inside the block.
std::string_view DependencyChars(const TServiceConfigBuffer& buffer) {
    const char* list = buffer.config.lpDependencies;
    if (!list) return {};
    const auto* end = reinterpret_cast<const char*>(buffer.bytes) + sizeof buffer.bytes;
    return std::string_view(list, static_cast<std::size_t>(end - list));
}

const char* TextOrEmpty(const char* text) { return text ? text : ""; }

}  // namespace

void CollectServices(TServiceList& list) {
    const TScHandle manager = OpenServiceManager("", SC_MANAGER_CONNECT | SC_MANAGER_ENUMERATE_SERVICE);
    if (!manager) return;
    // The enumeration gives key name, display name and state together; only
    // the configuration takes a request of its own per service.
    std::vector<TServiceEntry> services;
    if (!ListServices(manager, SERVICE_WIN32, SERVICE_STATE_ALL, services)) return;

    TServiceConfigBuffer buffer;
    for (const TServiceEntry& service : services) {
        TServiceInfo& s = list.emplace_back();
        s.DisplayName = service.DisplayName;
        s.Name = service.Name;
        s.Status = static_cast<std::int32_t>(service.CurrentState);
        std::memset(&buffer, 0, sizeof buffer);
        if (!ReadServiceConfig(manager, service.Name, buffer)) continue;
        const QUERY_SERVICE_CONFIGA& config = buffer.config;
        s.ImageName = WithoutQuotes(TextOrEmpty(config.lpBinaryPathName));
        s.ObjectName = TextOrEmpty(config.lpServiceStartName);
        s.Group = TextOrEmpty(config.lpLoadOrderGroup);
        s.Typ = ServiceTypeIndex(config.dwServiceType);
        s.Startup = static_cast<std::int32_t>(config.dwStartType);
        s.Tag = config.dwTagId;
        s.ErrCtrl = config.dwErrorControl;
        s.DependOnService = JoinDependencies(DependencyChars(buffer));
    }
}

}  // namespace orvex
