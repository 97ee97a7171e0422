#include "bench/FindBench.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "app/pure/FindRows.h"
#include "bench/Timing.h"
#include "engine/OXI_Collectors.h"
#include "platform/Orvex_Native.h"
#include "platform/Orvex_Resources.h"

namespace orvex::bench {

namespace {

void Row(std::FILE* out, const char* what, const TTiming& t, std::size_t records) {
    std::fprintf(out, "%-28s %10.2f %10.2f %10.2f %10zu\n", what, t.MedianMs, t.MinMs, t.MaxMs, records);
}

constexpr std::size_t FindHandles = 100000;
constexpr std::size_t FindProcesses = 100;
constexpr std::size_t ModulesPerProcess = 50;  // 5,000 modules

// Names shaped like a busy system's: files, keys, sections and events of
// varied length, one in a thousand naming the searched file.
void MakeRecords(TProcList& processes, THandleList& handles) {
    processes.resize(FindProcesses);
    for (std::size_t p = 0; p < FindProcesses; ++p) {
        processes[p].PID = static_cast<std::uint32_t>(1000 + 4 * p);
        processes[p].Name = "process" + std::to_string(p) + ".exe";
        processes[p].Modules.resize(ModulesPerProcess);
        for (std::size_t m = 0; m < ModulesPerProcess; ++m) {
            TModuleInfo& mod = processes[p].Modules[m];
            mod.ImageName = "C:\\Windows\\System32\\library" + std::to_string(m) + "_component.dll";
            mod.Base = 0x10000000 + m * 0x100000;
        }
    }
    const char* kinds[] = {"\\Device\\HarddiskVolume3\\Users\\someone\\AppData\\Local\\Temp\\file",
                           "\\REGISTRY\\MACHINE\\SOFTWARE\\Classes\\CLSID\\{00000000-0000}\\key",
                           "\\Sessions\\1\\BaseNamedObjects\\section", "\\BaseNamedObjects\\event"};
    handles.resize(FindHandles);
    for (std::size_t i = 0; i < FindHandles; ++i) {
        THandleInfo& h = handles[i];
        h.ProcessID = static_cast<std::uint32_t>(1000 + 4 * (i % FindProcesses));
        h.Handle = 4 * (i + 1);
        h.TypeName = "File";
        h.Name = std::string(kinds[i % 4]) + std::to_string(i) + (i % 1000 == 0 ? "_wanted.log" : "");
    }
}

// The minimal program: the file handles a collection found, each of another
// process duplicated and its name asked directly, with no worker.
std::size_t NameFilesDirectly(const THandleList& files) {
    std::size_t named = 0;
    alignas(8) std::uint8_t name[2048];
    std::vector<std::pair<std::uint32_t, THandle>> owners;
    for (const THandleInfo& h : files) {
        if (h.ObjectType != 26 || h.ProcessID == ::GetCurrentProcessId()) continue;
        HANDLE owner = nullptr;
        for (auto& [pid, o] : owners)
            if (pid == h.ProcessID) owner = o.get();
        if (!owner) {
            owners.emplace_back(h.ProcessID, THandle(::OpenProcess(PROCESS_DUP_HANDLE, FALSE, h.ProcessID)));
            owner = owners.back().second.get();
        }
        HANDLE copy = nullptr;
        if (!owner || NtDuplicateObject(owner, reinterpret_cast<HANDLE>(h.Handle), ::GetCurrentProcess(), &copy, 0, 0,
                                        DUPLICATE_SAME_ACCESS) != StatusSuccess)
            continue;
        THandle own(copy);
        ULONG needed = 0;
        if (NtQueryObject(copy, static_cast<OBJECT_INFORMATION_CLASS>(1), name, sizeof name, &needed) == StatusSuccess)
            ++named;
    }
    return named;
}

}  // namespace

void RunFindBench(int rounds, std::FILE* out) {
    TProcList processes;
    THandleList handles;
    MakeRecords(processes, handles);
    std::vector<TFindHit> hits;
    const TTiming find = Measure(rounds, [&] { hits = FindHandlesAndModules(processes, handles, "WANTED.LOG"); });
    TListRows rows;
    const TTiming findRows = Measure(rounds, [&] {
        rows = FindRows(FindHandlesAndModules(processes, handles, "library4"), true);
    });

    BindNative();
    THandleList live;
    const TTiming withNames = Measure(rounds, [&] {
        live.clear();
        CollectHandles(live);
    });
    std::size_t fileNames = 0;
    for (const THandleInfo& h : live)
        if (h.ObjectType == 26 && !h.Name.empty()) ++fileNames;
    const THandleList named = live;
    const TTiming withoutNames = Measure(rounds, [&] {
        live.clear();
        CollectHandles(live, nullptr);
    });
    std::size_t direct = 0;
    const TTiming minimal = Measure(rounds, [&] { direct = NameFilesDirectly(named); });
    ReleaseNative();

    std::fprintf(out, "%-28s %10s %10s %10s %10s\n", "find / file names", "median", "min", "max", "records");
    Row(out, "find: 100k handles, 5k DLLs", find, hits.size());
    Row(out, "find + rows (1,100 hits)", findRows, rows.size());
    Row(out, "handles with file names", withNames, fileNames);
    Row(out, "handles without file names", withoutNames, live.size());
    Row(out, "minimal loop: file names", minimal, direct);
    std::fprintf(out, "cost of the file names: %.2f ms median per collection (%zu files named)\n",
                 withNames.MedianMs - withoutNames.MedianMs, fileNames);
}

}  // namespace orvex::bench
