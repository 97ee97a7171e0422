// Times a full refresh with all five kinds and each collector on its own,
// against the live system, and prints a report with the record counts.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "engine/OXI_Collectors.h"
#include "engine/OXI_Processes.h"
#include "platform/Orvex_AdvAPI.h"
#include "platform/Orvex_Native.h"
#include "platform/Orvex_OSInfo.h"
#include "platform/Orvex_PSAPI.h"

namespace {

using Clock = std::chrono::steady_clock;

struct TTiming {
    double medianMs = 0;
    double minMs = 0;
    double maxMs = 0;
};

TTiming Measure(int rounds, const std::function<void()>& work) {
    std::vector<double> ms;
    for (int i = 0; i < rounds; ++i) {
        const auto start = Clock::now();
        work();
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.front(), ms.back()};
}

void Row(const char* what, const TTiming& t, std::size_t records, FILE* out) {
    std::fprintf(out, "%-28s %10.2f %10.2f %10.2f %10zu\n", what, t.medianMs, t.minMs, t.maxMs, records);
}

}  // namespace

int main(int argc, char** argv) {
    int rounds = 7;
    if (argc > 1) rounds = std::max(1, std::atoi(argv[1]));
    using namespace orvex;

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
    const TTiming tDrv = Measure(rounds, [&] { drivers.clear(); CollectDrivers(drivers); });
    const TTiming tHandles = Measure(rounds, [&] { handles.clear(); CollectHandles(handles); });
    const TTiming tSvc = Measure(rounds, [&] { services.clear(); CollectServices(services); });
    const TTiming tWin = Measure(rounds, [&] { windows.clear(); CollectWindows(windows); });
    ReleaseProcessStatus();
    ReleaseNative();

    std::size_t threads = 0, modules = 0;
    for (const auto& p : processes) {
        threads += p.Threads.size();
        modules += p.Modules.size();
    }
    for (FILE* out : {stdout}) {
        std::fprintf(out, "Orvex bench: %d rounds, times in ms (median, min, max), records\n", rounds);
        std::fprintf(out, "system: %s, platform %d, %d.%d build %d\n", OSName().c_str(), OSPlatform(),
                     OSMajorVersion(), OSMinorVersion(), OSBuildNumber());
        std::fprintf(out, "%-28s %10s %10s %10s %10s\n", "step", "median", "min", "max", "records");
        Row("full refresh (all kinds)", full, component.ProcessCount(), out);
        Row("processes (enumeration)", tProc, processes.size(), out);
        Row("process details pass", tDetails, processes.size(), out);
        Row("drivers", tDrv, drivers.size(), out);
        Row("handles", tHandles, handles.size(), out);
        Row("services", tSvc, services.size(), out);
        Row("windows", tWin, windows.size(), out);
        std::fprintf(out, "threads %zu, modules %zu, handles %d, services %d, windows %d, drivers %d\n", threads,
                     modules, component.HandleCount(), component.ServiceCount(), component.WindowCount(),
                     component.DriverCount());
    }
    return 0;
}
