// The threads of the tool-help thread snapshot, grouped by the process that
// owns them.
#pragma once

#include <windows.h>
#include <tlhelp32.h>

#include <cstdint>
#include <unordered_map>

#include "engine/pure/OXI_Records.h"

namespace orvex {

using TThreadsByOwner = std::unordered_map<std::uint32_t, TThreadList>;

// The record of one snapshot entry: owner, identifier, base priority and the
// current priority (base plus delta); every other field 0.
TThreadInfo ThreadFromSnapshotEntry(const THREADENTRY32& entry) noexcept;

// The threads of a snapshot taken with TH32CS_SNAPTHREAD (alone or with other
// kinds), each owner's threads in the snapshot's order.
TThreadsByOwner ThreadsFromSnapshot(HANDLE snapshot);

// One snapshot of all threads of the system, grouped as above. Empty when
// the snapshot cannot be taken.
TThreadsByOwner CollectThreadsSnapshot();

}  // namespace orvex
