#include "bench/BenchSystem.h"

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace orvex::bench {

namespace {

struct TScClose {
    void operator()(SC_HANDLE h) const noexcept { ::CloseServiceHandle(h); }
};
using TSc = std::unique_ptr<std::remove_pointer_t<SC_HANDLE>, TScClose>;

// The key names of the services a previous call installed.
std::vector<std::string> BenchServices(SC_HANDLE manager) {
    std::vector<std::string> names;
    std::vector<ULONGLONG> buffer(64 * 1024);
    DWORD resume = 0;
    for (int round = 0; round < 64; ++round) {
        DWORD needed = 0, count = 0;
        const BOOL ok = ::EnumServicesStatusA(manager, SERVICE_WIN32, SERVICE_STATE_ALL,
                                              reinterpret_cast<ENUM_SERVICE_STATUSA*>(buffer.data()),
                                              static_cast<DWORD>(buffer.size() * 8), &needed, &count, &resume);
        if (!ok && ::GetLastError() != ERROR_MORE_DATA) break;
        const auto* e = reinterpret_cast<const ENUM_SERVICE_STATUSA*>(buffer.data());
        for (DWORD i = 0; i < count; ++i)
            if (std::string(e[i].lpServiceName).rfind(BenchServicePrefix, 0) == 0) names.push_back(e[i].lpServiceName);
        if (ok) break;
    }
    return names;
}

}  // namespace

int InstallBenchServices(int count, const std::string& exe) {
    const TSc manager(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (!manager) {
        std::fprintf(stderr, "OpenSCManager failed: %lu\n", ::GetLastError());
        return 1;
    }
    const std::size_t present = BenchServices(manager.get()).size();
    int made = 0;
    for (int i = static_cast<int>(present); i < count; ++i) {
        const std::string key = std::string(BenchServicePrefix) + std::to_string(i);
        const std::string display = "Orvex Bench Service " + std::to_string(i);
        const std::string command = "\"" + exe + "\" --bench";
        const TSc service(::CreateServiceA(manager.get(), key.c_str(), display.c_str(), SERVICE_ALL_ACCESS,
                                           SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START,
                                           i % 2 ? SERVICE_ERROR_NORMAL : SERVICE_ERROR_IGNORE, command.c_str(),
                                           i % 3 ? nullptr : "OrvexBenchGroup", nullptr,
                                           i % 5 ? nullptr : "Eventlog\0\0", nullptr, nullptr));
        if (!service) {
            std::fprintf(stderr, "CreateService %s failed: %lu\n", key.c_str(), ::GetLastError());
            return 1;
        }
        ++made;
    }
    std::printf("bench services: %zu present, %d installed\n", present, made);
    return 0;
}

int RemoveBenchServices() {
    const TSc manager(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (!manager) return 1;
    int removed = 0;
    for (const std::string& name : BenchServices(manager.get())) {
        const TSc service(::OpenServiceA(manager.get(), name.c_str(), DELETE));
        if (service && ::DeleteService(service.get())) ++removed;
    }
    std::printf("bench services: %d removed\n", removed);
    return 0;
}

}  // namespace orvex::bench
