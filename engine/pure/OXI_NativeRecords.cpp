#include "engine/pure/OXI_NativeRecords.h"

namespace orvex {

namespace {
// Identifiers are 32-bit numbers held in pointer-width fields.
std::uint32_t Id(std::uint64_t value) noexcept { return static_cast<std::uint32_t>(value); }
std::uintptr_t Ptr(std::uint64_t value) noexcept { return static_cast<std::uintptr_t>(value); }
}  // namespace

TVMCounters VMCountersFromBlock(const nt::TVMCountersBlock& b) noexcept {
    TVMCounters v;
    v.PeakVirtualSize = Ptr(b.PeakVirtualSize);
    v.VirtualSize = Ptr(b.VirtualSize);
    v.PageFaultCount = b.PageFaultCount;
    v.PeakWorkingSetSize = Ptr(b.PeakWorkingSetSize);
    v.WorkingSetSize = Ptr(b.WorkingSetSize);
    v.QuotaPeakPagedPoolUsage = Ptr(b.QuotaPeakPagedPoolUsage);
    v.QuotaPagedPoolUsage = Ptr(b.QuotaPagedPoolUsage);
    v.QuotaPeakNonPagedPoolUsage = Ptr(b.QuotaPeakNonPagedPoolUsage);
    v.QuotaNonPagedPoolUsage = Ptr(b.QuotaNonPagedPoolUsage);
    v.PagefileUsage = Ptr(b.PagefileUsage);
    v.PeakPagefileUsage = Ptr(b.PeakPagefileUsage);
    return v;
}

TThreadInfo ThreadFromBlock(const nt::TThreadBlock& b) noexcept {
    TThreadInfo t;
    t.KernelTime = b.KernelTime;
    t.UserTime = b.UserTime;
    t.CreateTime = b.CreateTime;
    t.WaitTime = b.WaitTime;
    t.StartAddress = Ptr(b.StartAddress);
    t.OwnerPID = Id(b.ProcessId);
    t.TID = Id(b.ThreadId);
    t.Priority = b.Priority;
    t.BasePriority = b.BasePriority;
    t.ContextSwitches = b.ContextSwitches;
    t.ThreadState = b.ThreadState;
    t.WaitReason = b.WaitReason;
    return t;
}

TThreadList ThreadsFromBlock(const nt::TProcessBlock& block) {
    TThreadList threads;
    threads.reserve(block.Threads.size());
    for (const nt::TThreadBlock& t : block.Threads) threads.push_back(ThreadFromBlock(t));
    return threads;
}

void FillFromProcessBlock(const nt::TProcessBlock& b, TProcessInfo& p) noexcept {
    p.PID = Id(b.ProcessId);
    p.Priority = b.BasePriority;
    p.ParentPID = Id(b.ParentProcessId);
    p.ThreadCount = b.ThreadCount;
    p.HandleCount = b.HandleCount;
    p.CreateTime = b.CreateTime;
    p.UserTime = b.UserTime;
    p.KernelTime = b.KernelTime;
    p.VMCounters = VMCountersFromBlock(b.VMCounters);
    p.IOCounters = b.IOCounters;
}

}  // namespace orvex
