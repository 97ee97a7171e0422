// The benchmark's counting entries: a full refresh and each collector on
// its own with their record counts, the object queries and duplications of
// one handle collection, the look-ups of one details pass, and the growth
// of a list of 100,000 handle records by each way of growing it.
#include "bench/CountEntries.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/Timing.h"
#include "engine/OXI_Collectors.h"
#include "engine/OXI_Processes.h"
#include "platform/Orvex_AdvAPI.h"
#include "platform/Orvex_Native.h"
#include "platform/Orvex_OSInfo.h"
#include "platform/Orvex_PSAPI.h"
#include "platform/Orvex_Token.h"

namespace {

using orvex::bench::Measure;
using orvex::bench::TTiming;

// Counts the native object queries and duplications a collector makes by
// standing in for the bound entry points while it runs.
long g_objectQueries = 0;
long g_duplications = 0;
orvex::TNtQueryObject g_realQuery = nullptr;
orvex::TNtDuplicateObject g_realDuplicate = nullptr;

NTSTATUS NTAPI CountedQuery(HANDLE h, OBJECT_INFORMATION_CLASS c, PVOID buffer, ULONG length, PULONG needed) {
    ++g_objectQueries;
    return g_realQuery(h, c, buffer, length, needed);
}

NTSTATUS NTAPI CountedDuplicate(HANDLE sp, HANDLE sh, HANDLE tp, PHANDLE th, ACCESS_MASK access, ULONG attributes,
                                ULONG options) {
    ++g_duplications;
    return g_realDuplicate(sp, sh, tp, th, access, attributes, options);
}

// The growth of a list of 100,000 handle records: by a fixed step of 100
// records (each step copies the whole list), in one reservation, and
// geometrically (push_back).
constexpr std::size_t GrowthRecords = 100000;

orvex::THandleInfo GrowthRecord(std::size_t i) {
    orvex::THandleInfo h;
    h.ProcessID = static_cast<std::uint32_t>(i % 97);
    h.Handle = i * 4;
    h.TypeName = "Event";
    return h;
}

void Row(const char* what, const TTiming& t, std::size_t records, FILE* out) {
    std::fprintf(out, "%-28s %10.2f %10.2f %10.2f %10zu\n", what, t.MedianMs, t.MinMs, t.MaxMs, records);
}

}  // namespace

namespace orvex::bench {

int RunCountEntries(int rounds) {
    rounds = std::max(1, rounds);

    TOrvex_ProcessList component;
    component.DetectionRange = TDetectionRange{dtProcesses, dtDrivers, dtServices, dtHandles, dtWindows};
    const TTiming full = Measure(rounds, [&] { component.RefreshData(); });

    TProcList processes;
    TDriverList drivers;
    THandleList handles;
    TServiceList services;
    TWindowList windows;
    BindNative();
    BindProcessStatus();
    const TTiming tProc = Measure(rounds, [&] {
        processes.clear();
        if (OSKind() == 3)
            CollectProcessesNt4(processes);
        else
            CollectProcessesSnapshot(processes);
    });
    const TTiming tDetails = Measure(rounds, [&] { CompleteProcessDetails(processes); });
    // Account and privilege look-ups of one details pass.
    TTokenLookupCache lookups;
    CompleteProcessDetails(processes, lookups);
    const TTiming tDrv = Measure(rounds, [&] {
        drivers.clear();
        CollectDrivers(drivers);
    });
    const TTiming tHandles = Measure(rounds, [&] {
        handles.clear();
        CollectHandles(handles);
    });
    const TTiming tSvc = Measure(rounds, [&] {
        services.clear();
        CollectServices(services);
    });
    const TTiming tWin = Measure(rounds, [&] {
        windows.clear();
        CollectWindows(windows);
    });

    // Object queries and duplications of one handle collection.
    g_realQuery = orvex::NtQueryObject;
    g_realDuplicate = orvex::NtDuplicateObject;
    orvex::NtQueryObject = CountedQuery;
    if (g_realDuplicate) orvex::NtDuplicateObject = CountedDuplicate;
    handles.clear();
    CollectHandles(handles);
    orvex::NtQueryObject = g_realQuery;
    orvex::NtDuplicateObject = g_realDuplicate;
    ReleaseProcessStatus();
    ReleaseNative();

    THandleList grown;
    const TTiming tStep = Measure(rounds, [&] {
        THandleList l;
        l.reserve(100);
        for (std::size_t i = 0; i < GrowthRecords; ++i) {
            if (l.size() == l.capacity()) l.reserve(l.capacity() + 100);
            l.push_back(GrowthRecord(i));
        }
        grown = std::move(l);
    });
    const TTiming tOnce = Measure(rounds, [&] {
        THandleList l;
        l.reserve(GrowthRecords);
        for (std::size_t i = 0; i < GrowthRecords; ++i) l.push_back(GrowthRecord(i));
        grown = std::move(l);
    });
    const TTiming tGeometric = Measure(rounds, [&] {
        THandleList l;
        for (std::size_t i = 0; i < GrowthRecords; ++i) l.push_back(GrowthRecord(i));
        grown = std::move(l);
    });

    std::size_t threads = 0, modules = 0;
    for (const auto& p : processes) {
        threads += p.Threads.size();
        modules += p.Modules.size();
    }
    for (FILE* out : {stdout}) {
        std::fprintf(out, "Orvex bench: %d rounds, times in ms (median, min, max), records\n", rounds);
        std::fprintf(out, "system: %s, platform %d, %d.%d build %d\n", OSName().c_str(), OSPlatform(), OSMajorVersion(),
                     OSMinorVersion(), OSBuildNumber());
        std::fprintf(out, "%-28s %10s %10s %10s %10s\n", "step", "median", "min", "max", "records");
        Row("full refresh (all kinds)", full, component.ProcessCount(), out);
        Row("processes (enumeration)", tProc, processes.size(), out);
        Row("process details pass", tDetails, processes.size(), out);
        Row("drivers", tDrv, drivers.size(), out);
        Row("handles", tHandles, handles.size(), out);
        Row("services", tSvc, services.size(), out);
        Row("windows", tWin, windows.size(), out);
        Row("list growth: step of 100", tStep, GrowthRecords, out);
        Row("list growth: one reserve", tOnce, GrowthRecords, out);
        Row("list growth: geometric", tGeometric, GrowthRecords, out);
        std::fprintf(out, "one handle collection: %zu records, %ld object queries, %ld duplications\n", handles.size(),
                     g_objectQueries, g_duplications);
        std::fprintf(out, "one details pass: %zu processes, %ld look-ups (%ld asking the system for each answer)\n",
                     processes.size(), lookups.Lookups(), lookups.UncachedLookups());
        std::fprintf(out, "threads %zu, modules %zu, handles %d, services %d, windows %d, drivers %d\n", threads,
                     modules, component.HandleCount(), component.ServiceCount(), component.WindowCount(),
                     component.DriverCount());
    }
    return 0;
}

}  // namespace orvex::bench
