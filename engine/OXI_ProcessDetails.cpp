// The details pass: account, token privileges and groups of every process
// and, on NT systems other than NT 4, its counters and times.
#include <windows.h>

#include <cstdint>
#include <string>

#include "engine/OXI_Collectors.h"
#include "engine/pure/OXI_NativeRecords.h"
#include "platform/Orvex_Native.h"
#include "platform/Orvex_OSInfo.h"
#include "platform/Orvex_Resources.h"
#include "platform/Orvex_Token.h"
#include "platform/pure/Orvex_NtLayouts.h"

namespace orvex {

namespace {

// Room for the largest block asked for, aligned as the system requires.
struct alignas(8) TQueryBuffer {
    std::uint8_t bytes[128];
};

// Fills size bytes at data with one process information class; false when
// the query fails.
bool QueryProcess(HANDLE process, PROCESSINFOCLASS infoClass, void* data, std::size_t size) {
    ULONG returned = 0;
    return NtQueryInformationProcess(process, infoClass, data, static_cast<ULONG>(size), &returned) == StatusSuccess;
}

// Memory and I/O counters, handle count and times from the native process
// queries; a failed query leaves its fields as they are.
void ReadCounters(HANDLE process, TProcessInfo& p) {
    if (!NtQueryInformationProcess) return;
    const nt::TLayoutSizes sizes = nt::LayoutSizes(nt::NativeWidth);
    static_assert(sizeof(TQueryBuffer) >= 88, "room for the 64-bit memory counters");
    TQueryBuffer buffer{};
    if (QueryProcess(process, ProcessInfoVmCounters, buffer.bytes, sizes.VMCounters))
        if (const auto vm = nt::ParseVMCounters(nt::NativeWidth, buffer.bytes, sizes.VMCounters))
            p.VMCounters = VMCountersFromBlock(*vm);
    if (QueryProcess(process, ProcessInfoIoCounters, buffer.bytes, sizes.IOCounters))
        if (const auto io = nt::ParseIOCounters(buffer.bytes, sizes.IOCounters)) p.IOCounters = *io;
    ULONG handles = 0;
    if (QueryProcess(process, ProcessInfoHandleCount, &handles, sizeof handles)) p.HandleCount = handles;
    if (QueryProcess(process, ProcessInfoTimes, buffer.bytes, sizes.KernelUserTimes))
        if (const auto times = nt::ParseKernelUserTimes(buffer.bytes, sizes.KernelUserTimes)) {
            p.CreateTime = times->CreateTime;
            p.KernelTime = times->KernelTime;
            p.UserTime = times->UserTime;
        }
}

std::string AccountText(const std::string& user, const std::string& domain) {
    return domain.empty() ? user : domain + "/" + user;
}

}  // namespace

void CompleteProcessDetails(TProcList& list) {
    const bool counters = IsNT() && !IsNT4();
    for (TProcessInfo& p : list) {
        const THandle process(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, p.PID));
        if (!process) continue;
        if (counters) ReadCounters(process.get(), p);
        std::string user, domain;
        p.UserName = ReadTokenUser(process.get(), user, domain) ? AccountText(user, domain) : std::string();
        p.Privileges.clear();
        ReadTokenPrivileges(process.get(), p.Privileges);
        p.Groups.clear();
        ReadTokenGroups(process.get(), p.Groups);
    }
}

}  // namespace orvex
