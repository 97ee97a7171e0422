// Inventory records from the parsed blocks of the native system services:
// a process entry of the system-process list with its threads, and the
// memory and I/O counter blocks.
#pragma once

#include "engine/pure/OXI_Records.h"
#include "platform/pure/Orvex_NtLayouts.h"

namespace orvex {

TVMCounters VMCountersFromBlock(const nt::TVMCountersBlock& block) noexcept;
TThreadInfo ThreadFromBlock(const nt::TThreadBlock& block) noexcept;
// One record per thread block, in the entry's order.
TThreadList ThreadsFromBlock(const nt::TProcessBlock& block);

// The fields a process entry gives: PID, Priority (the base priority),
// ParentPID, ThreadCount, HandleCount, CreateTime, UserTime, KernelTime,
// VMCounters and IOCounters. Names, modules and threads are left alone.
void FillFromProcessBlock(const nt::TProcessBlock& block, TProcessInfo& process) noexcept;

}  // namespace orvex
