// The details pass: account, token privileges and groups of every process
// and, on NT systems other than NT 4, its counters and times.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/OXI_Collectors.h"
#include "engine/OXI_NativeQuery.h"
#include "engine/pure/OXI_NativeRecords.h"
#include "platform/Orvex_Native.h"
#include "platform/Orvex_OSInfo.h"
#include "platform/Orvex_Resources.h"
#include "platform/Orvex_Token.h"
#include "platform/pure/Orvex_NtLayouts.h"

namespace orvex {

namespace {

// Memory and I/O counters, handle count and times from the native process
// queries; a failed query leaves its fields as they are.
void ReadCounters(HANDLE process, TProcessInfo& p) {
    TNativeBlock block;
    if (QueryProcessBlock(process, ProcessInfoVmCounters, block))
        if (const auto vm = nt::ParseVMCounters(nt::NativeWidth, block.Bytes, block.Size))
            p.VMCounters = VMCountersFromBlock(*vm);
    if (QueryProcessBlock(process, ProcessInfoIoCounters, block))
        if (const auto io = nt::ParseIOCounters(block.Bytes, block.Size)) p.IOCounters = *io;
    if (QueryProcessBlock(process, ProcessInfoHandleCount, block)) {
        ULONG handles = 0;
        std::memcpy(&handles, block.Bytes, sizeof handles);
        p.HandleCount = handles;
    }
    if (QueryProcessBlock(process, ProcessInfoTimes, block))
        if (const auto times = nt::ParseKernelUserTimes(block.Bytes, block.Size)) {
            p.CreateTime = times->CreateTime;
            p.KernelTime = times->KernelTime;
            p.UserTime = times->UserTime;
        }
}

// The counters of all processes come from one system-process query; a
// process that query does not hold (one started since the enumeration, or
// every process when the query fails) is asked on its own.
class TCounterSource {
public:
    TCounterSource() {
        for (nt::TProcessBlock& block : QuerySystemProcesses()) {
            const auto pid = static_cast<std::uint32_t>(block.ProcessId);
            block.Threads = {};
            blocks_.emplace(pid, std::move(block));
        }
    }
    void Read(HANDLE process, TProcessInfo& p) const {
        if (const auto it = blocks_.find(p.PID); it != blocks_.end())
            CountersFromProcessBlock(it->second, p);
        else
            ReadCounters(process, p);
    }

private:
    std::unordered_map<std::uint32_t, nt::TProcessBlock> blocks_;
};

std::string AccountText(const std::string& user, const std::string& domain) {
    return domain.empty() ? user : domain + "/" + user;
}

}  // namespace

void CompleteProcessDetails(TProcList& list) {
    TTokenLookupCache lookups;
    CompleteProcessDetails(list, lookups);
}

void CompleteProcessDetails(TProcList& list, TTokenLookupCache& lookups) {
    std::optional<TCounterSource> counters;
    if (IsNT() && !IsNT4()) counters.emplace();
    for (TProcessInfo& p : list) {
        const THandle process(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, p.PID));
        if (!process) continue;
        if (counters) counters->Read(process.get(), p);
        // One token handle for the account, the privileges and the groups.
        const THandle token = OpenTokenForQuery(process.get());
        std::string user, domain;
        p.UserName = ReadTokenUser(token.get(), lookups, user, domain) ? AccountText(user, domain) : std::string();
        p.Privileges.clear();
        ReadTokenPrivileges(token.get(), lookups, p.Privileges);
        p.Groups.clear();
        ReadTokenGroups(token.get(), lookups, p.Groups);
    }
}

}  // namespace orvex
