// The details pass: account, token privileges and groups of every process
// and, on NT systems other than NT 4, its counters and times.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/OXI_Collectors.h"
#include "engine/OXI_NativeQuery.h"
#include "engine/OXI_ProcessPass.h"
#include "engine/pure/OXI_NativeRecords.h"
#include "platform/Orvex_Native.h"
#include "platform/Orvex_OSInfo.h"
#include "platform/Orvex_Resources.h"
#include "platform/Orvex_Token.h"
#include "platform/Orvex_WideText.h"
#include "platform/pure/Orvex_NtLayouts.h"
#include "platform/pure/Orvex_TextCase.h"

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

std::string AccountText(const std::string& user, const std::string& domain) {
    return domain.empty() ? user : domain + "/" + user;
}

}  // namespace

void CompleteProcessDetails(TProcList& list) {
    TTokenLookupCache lookups;
    CompleteProcessDetails(list, lookups);
}

void CompleteProcessDetails(TProcList& list, TTokenLookupCache& lookups) {
    TProcessPass pass;
    CompleteProcessDetails(list, lookups, pass);
}

void CompleteProcessDetails(TProcList& list, TTokenLookupCache& lookups, TProcessPass& pass) {
    const bool counters = IsNT() && !IsNT4() && !pass.CountersRead;
    for (TProcessInfo& p : list) {
        const HANDLE process = pass.Open(p.PID);
        if (!process) continue;
        if (counters) ReadCounters(process, p);
        // One token handle for the account, the privileges and the groups.
        const THandle token = OpenTokenForQuery(process);
        std::string user, domain;
        p.UserName = ReadTokenUser(token.get(), lookups, user, domain) ? AccountText(user, domain) : std::string();
        p.Privileges.clear();
        ReadTokenPrivileges(token.get(), lookups, p.Privileges);
        p.Groups.clear();
        ReadTokenGroups(token.get(), lookups, p.Groups);
    }
}

void CompleteCreationTimes(TProcList& list) {
    // The idle process (id 0) has no creation time to find.
    if (std::none_of(list.begin(), list.end(), [](const TProcessInfo& p) { return p.CreateTime == 0 && p.PID != 0; }))
        return;
    std::unordered_map<std::uint32_t, const nt::TProcessBlock*> byId;
    const std::vector<nt::TProcessBlock> blocks = QuerySystemProcesses();
    for (const nt::TProcessBlock& b : blocks) byId.emplace(static_cast<std::uint32_t>(b.ProcessId), &b);
    for (TProcessInfo& p : list) {
        if (p.CreateTime != 0) continue;
        const auto it = byId.find(p.PID);
        // A process that ended since the list was taken may have left its
        // id to another program.
        if (it != byId.end() && SameText(WideToAnsi(it->second->ImageName), p.Name.str()))
            p.CreateTime = it->second->CreateTime;
    }
}

}  // namespace orvex
