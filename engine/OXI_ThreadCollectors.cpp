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

TThreadsByOwner CollectThreadsSnapshot() {
    TThreadsByOwner threads;
    if (!ToolHelpBound()) return threads;
    const THandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    if (!snapshot) return threads;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL ok = Thread32First(snapshot.get(), &entry); ok; ok = Thread32Next(snapshot.get(), &entry))
        threads[entry.th32OwnerProcessID].push_back(ThreadFromSnapshotEntry(entry));
    return threads;
}

}  // namespace orvex
