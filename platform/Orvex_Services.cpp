#include "platform/Orvex_Services.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>

#include "platform/Orvex_AdvAPI.h"
#include "platform/Orvex_Resources.h"
#include "platform/pure/Orvex_BufferText.h"

namespace orvex {

namespace {

// Shortest pause between two status queries while waiting, so that a service
// that reports no wait hint is not polled in a busy loop.
constexpr DWORD MinPollMs = 50;
// The size of one enumeration request (512 records of the 32-bit layout).
constexpr DWORD EnumBufferBytes = 18432;
// Limits of the enumeration: it never grows its buffer beyond this size and
// never asks more often than this.
constexpr DWORD MaxEnumBufferBytes = 16u << 20;
constexpr int MaxEnumRequests = 4096;

bool ConnectionSlotsBound() noexcept { return OpenSCManagerGeneric && OpenServiceGeneric && CloseServiceHandle; }

TScHandle OpenNamedService(const TScHandle& manager, const std::string& service, DWORD access) {
    return TScHandle(OpenServiceGeneric(manager.get(), service.c_str(), access), CloseServiceHandle);
}

// Polls the service until it shows the target state, its check-point goes
// back, a query fails or the time limit is reached. Status holds the last
// status the manager reported, on entry and on return.
void WaitForState(SC_HANDLE service, DWORD target, SERVICE_STATUS& status) {
    const DWORD start = ::GetTickCount();
    while (status.dwCurrentState != target) {
        const DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= ServiceWaitLimitMs) return;
        const DWORD checkPoint = status.dwCheckPoint;
        ::Sleep(std::min(std::max(status.dwWaitHint, MinPollMs), ServiceWaitLimitMs - elapsed));
        SERVICE_STATUS next{};
        if (!QueryServiceStatus(service, &next)) return;
        status = next;
        if (status.dwCheckPoint < checkPoint) return;
    }
}

// The manager fills the status of a refused control request only for these
// reasons.
bool RefusalReportsStatus(DWORD error) noexcept {
    return error == ERROR_INVALID_SERVICE_CONTROL || error == ERROR_SERVICE_CANNOT_ACCEPT_CTRL ||
           error == ERROR_SERVICE_NOT_ACTIVE;
}

bool ControlAndWait(const std::string& machine, const std::string& service, DWORD serviceAccess, DWORD control,
                    DWORD target) {
    if (!ControlService || !QueryServiceStatus) return false;
    const TScHandle manager = OpenServiceManager(machine, SC_MANAGER_CONNECT);
    if (!manager) return false;
    const TScHandle handle = OpenNamedService(manager, service, serviceAccess);
    if (!handle) return false;
    SERVICE_STATUS status{};
    if (ControlService(handle.get(), control, &status)) {
        SERVICE_STATUS queried{};
        if (QueryServiceStatus(handle.get(), &queried)) {
            status = queried;
            WaitForState(handle.get(), target, status);
        }
    } else if (!RefusalReportsStatus(::GetLastError())) {
        return false;
    }
    return status.dwCurrentState == target;
}

// Moves a text pointer of a configuration read into `from` over to the copy
// in `to`; a pointer whose text does not lie inside `from` becomes null.
void MoveText(LPSTR& field, const TServiceConfigBuffer& from, TServiceConfigBuffer& to, bool isList) {
    if (!field) return;
    const auto address = reinterpret_cast<std::uintptr_t>(field);
    const bool inside = isList ? TextListInBuffer(&from, sizeof from, address).has_value()
                               : TextInBuffer(&from, sizeof from, address).has_value();
    field = inside ? reinterpret_cast<LPSTR>(to.bytes + (address - reinterpret_cast<std::uintptr_t>(&from))) : nullptr;
}

// Whether a failed enumeration request means that the block was too small.
// Windows answers ERROR_MORE_DATA, with the size it needs and, when it can,
// where to resume. Wine's character-set conversion answers
// ERROR_INSUFFICIENT_BUFFER, naming no size, and ERROR_INVALID_PARAMETER
// with a record count when the names fill the block exactly.
bool AsksForMore(DWORD error, DWORD returned) noexcept {
    return error == ERROR_MORE_DATA || error == ERROR_INSUFFICIENT_BUFFER ||
           (error == ERROR_INVALID_PARAMETER && returned != 0);
}

// Appends the first Returned records of an enumeration answer in Records
// (Bytes long). A record whose names do not lie inside the block ends the walk.
void AppendEntries(const std::vector<ENUM_SERVICE_STATUSA>& records, DWORD bytes, DWORD returned,
                   std::vector<TServiceEntry>& entries) {
    const std::size_t count = std::min<std::size_t>(returned, records.size());
    for (std::size_t i = 0; i < count; ++i) {
        const ENUM_SERVICE_STATUSA& record = records[i];
        const auto name = TextInBuffer(records.data(), bytes, reinterpret_cast<std::uintptr_t>(record.lpServiceName));
        const auto display = TextInBuffer(records.data(), bytes,
                                          reinterpret_cast<std::uintptr_t>(record.lpDisplayName));
        if (!name || !display) break;
        entries.push_back(
            TServiceEntry{std::string(*name), std::string(*display), record.ServiceStatus.dwCurrentState});
    }
}

}  // namespace

TScHandle OpenServiceManager(const std::string& machine, DWORD access) {
    if (!ConnectionSlotsBound()) return {};
    return TScHandle(OpenSCManagerGeneric(machine.empty() ? nullptr : machine.c_str(), nullptr, access),
                     CloseServiceHandle);
}

int GetServiceCurrentState(const std::string& machine, const std::string& service) {
    const TScHandle manager = OpenServiceManager(machine, SC_MANAGER_CONNECT);
    return manager ? GetServiceCurrentState(manager, service) : -1;
}

int GetServiceCurrentState(const TScHandle& manager, const std::string& service) {
    if (!QueryServiceStatus || !manager) return -1;
    const TScHandle handle = OpenNamedService(manager, service, SERVICE_QUERY_STATUS);
    if (!handle) return -1;
    SERVICE_STATUS status{};
    if (!QueryServiceStatus(handle.get(), &status)) return -1;
    return static_cast<int>(status.dwCurrentState);
}

bool StartNamedService(const std::string& machine, const std::string& service, const std::string& parameters) {
    if (!StartServiceGeneric || !QueryServiceStatus) return false;
    const TScHandle manager = OpenServiceManager(machine, SC_MANAGER_CONNECT);
    if (!manager) return false;
    const TScHandle handle = OpenNamedService(manager, service, SERVICE_START | SERVICE_QUERY_STATUS);
    if (!handle) return false;
    LPCSTR arguments[] = {parameters.c_str()};
    const DWORD count = parameters.empty() ? 0 : 1;
    if (!StartServiceGeneric(handle.get(), count, count ? arguments : nullptr)) return false;
    SERVICE_STATUS status{};
    if (!QueryServiceStatus(handle.get(), &status)) return false;
    WaitForState(handle.get(), SERVICE_RUNNING, status);
    return status.dwCurrentState == SERVICE_RUNNING;
}

bool StopNamedService(const std::string& machine, const std::string& service) {
    return ControlAndWait(machine, service, SERVICE_STOP | SERVICE_QUERY_STATUS, SERVICE_CONTROL_STOP, SERVICE_STOPPED);
}

bool PauseNamedService(const std::string& machine, const std::string& service) {
    return ControlAndWait(machine, service, SERVICE_PAUSE_CONTINUE | SERVICE_QUERY_STATUS, SERVICE_CONTROL_PAUSE,
                          SERVICE_PAUSED);
}

bool ResumeNamedService(const std::string& machine, const std::string& service) {
    return ControlAndWait(machine, service, SERVICE_PAUSE_CONTINUE | SERVICE_QUERY_STATUS, SERVICE_CONTROL_CONTINUE,
                          SERVICE_RUNNING);
}

std::string ServiceDisplayToKeyName(const std::string& machine, const std::string& displayName) {
    const TScHandle manager = OpenServiceManager(machine, SC_MANAGER_CONNECT);
    return manager ? ServiceDisplayToKeyName(manager, displayName) : std::string();
}

std::string ServiceDisplayToKeyName(const TScHandle& manager, const std::string& displayName) {
    if (!GetServiceKeyNameGeneric || !manager) return {};
    // Key names have at most 256 characters; one retry covers a longer one
    // that the platform reports the size of.
    std::vector<char> name(257, '\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        DWORD size = static_cast<DWORD>(name.size() - 1);
        if (GetServiceKeyNameGeneric(manager.get(), displayName.c_str(), name.data(), &size)) {
            const std::size_t limit = std::min<std::size_t>(size, name.size() - 1);
            return std::string(name.data(), strnlen(name.data(), limit));
        }
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || size < name.size() - 1 || size > 32767) break;
        name.assign(size + 2, '\0');
    }
    return {};
}

bool ListServices(const std::string& machine, DWORD serviceType, DWORD serviceState, std::vector<TServiceEntry>& list) {
    const TScHandle manager = OpenServiceManager(machine, SC_MANAGER_ALL_ACCESS);
    return manager && ListServices(manager, serviceType, serviceState, list);
}

bool ListServices(const TScHandle& manager, DWORD serviceType, DWORD serviceState, std::vector<TServiceEntry>& list) {
    if (!EnumServicesStatusGeneric || !manager) return false;
    std::vector<ENUM_SERVICE_STATUSA> records(EnumBufferBytes / sizeof(ENUM_SERVICE_STATUSA));
    std::vector<TServiceEntry> entries;
    DWORD resume = 0;
    for (int request = 0; request < MaxEnumRequests; ++request) {
        const DWORD bytes = static_cast<DWORD>(records.size() * sizeof(ENUM_SERVICE_STATUSA));
        const DWORD resumeBefore = resume;
        DWORD needed = 0;
        DWORD returned = 0;
        const BOOL done = EnumServicesStatusGeneric(manager.get(), serviceType, serviceState, records.data(), bytes,
                                                    &needed, &returned, &resume);
        const DWORD error = done ? ERROR_SUCCESS : ::GetLastError();
        if (!done && !AsksForMore(error, returned)) break;
        if (done || (error == ERROR_MORE_DATA && returned != 0 && resume != resumeBefore)) {
            AppendEntries(records, bytes, returned, entries);
            if (done) break;
            continue;  // the manager resumes after the records it gave
        }
        // The manager did not move on (it cannot resume, or not even one
        // record fitted) and its records, if any, are not to be trusted: ask
        // again from the same place with the size it named, or with twice
        // the block when it named none larger.
        const std::size_t grown = needed > bytes ? needed : std::size_t{bytes} * 2;
        if (grown > MaxEnumBufferBytes) break;
        resume = resumeBefore;
        records.resize((grown + sizeof(ENUM_SERVICE_STATUSA) - 1) / sizeof(ENUM_SERVICE_STATUSA));
    }
    list.insert(list.end(), entries.begin(), entries.end());
    return true;
}

bool ListServiceDisplayNames(const std::string& machine, DWORD serviceType, DWORD serviceState,
                             std::vector<std::string>& list) {
    const TScHandle manager = OpenServiceManager(machine, SC_MANAGER_ALL_ACCESS);
    return manager && ListServiceDisplayNames(manager, serviceType, serviceState, list);
}

bool ListServiceDisplayNames(const TScHandle& manager, DWORD serviceType, DWORD serviceState,
                             std::vector<std::string>& list) {
    std::vector<TServiceEntry> entries;
    if (!ListServices(manager, serviceType, serviceState, entries)) return false;
    for (TServiceEntry& entry : entries) list.push_back(std::move(entry.DisplayName));
    return true;
}

bool ReadServiceConfig(const std::string& machine, const std::string& service, TServiceConfigBuffer& buffer) {
    const TScHandle manager = OpenServiceManager(machine, SC_MANAGER_CONNECT);
    return manager && ReadServiceConfig(manager, service, buffer);
}

bool ReadServiceConfig(const TScHandle& manager, const std::string& service, TServiceConfigBuffer& buffer) {
    if (!QueryServiceConfigGeneric || !manager) return false;
    const TScHandle handle = OpenNamedService(manager, service, SERVICE_QUERY_CONFIG);
    if (!handle) return false;
    // Read into a block of our own, so that a failure leaves the caller's as it was.
    const auto read = std::make_unique<TServiceConfigBuffer>();
    std::memset(read.get(), 0, sizeof *read);
    DWORD needed = 0;
    if (!QueryServiceConfigGeneric(handle.get(), &read->config, sizeof *read, &needed)) return false;
    std::memcpy(&buffer, read.get(), sizeof buffer);
    QUERY_SERVICE_CONFIGA& config = buffer.config;
    MoveText(config.lpBinaryPathName, *read, buffer, false);
    MoveText(config.lpLoadOrderGroup, *read, buffer, false);
    MoveText(config.lpDependencies, *read, buffer, true);
    MoveText(config.lpServiceStartName, *read, buffer, false);
    MoveText(config.lpDisplayName, *read, buffer, false);
    return true;
}

}  // namespace orvex
