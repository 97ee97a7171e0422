#include "engine/OXI_ThreadCollectors.h"

#include "platform/Orvex_Kernel32.h"
#include "platform/Orvex_Resources.h"

namespace orvex {

TThreadInfo ThreadFromSnapshotEntry(const THREADENTRY32& entry) noexcept {
    TThreadInfo t;
    t.OwnerPID = entry.th32OwnerProcessID;
    t.TID = entry.th32ThreadID;
    t.BasePriority = entry.tpBasePri;
    t.Priority = entry.tpBasePri + entry.tpDeltaPri;
    return t;
}

TThreadsByOwner ThreadsFromSnapshot(HANDLE snapshot) {
    TThreadsByOwner threads;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL ok = Thread32First(snapshot, &entry); ok; ok = Thread32Next(snapshot, &entry))
        threads[entry.th32OwnerProcessID].push_back(ThreadFromSnapshotEntry(entry));
    return threads;
}

TThreadsByOwner CollectThreadsSnapshot() {
    if (!ToolHelpBound()) return {};
    const THandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    if (!snapshot) return {};
    return ThreadsFromSnapshot(snapshot.get());
}

}  // namespace orvex
