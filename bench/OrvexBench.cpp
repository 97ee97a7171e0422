// The benchmark program. tools/bench.sh builds a system of a given size in
// the bench prefix and runs it in these modes:
//
//   orvex_bench.exe kinds <label> <rounds> <results file>
//       the program's refresh against the minimal collector, kind by kind
//       and in total, alternating (A B A B), medians; record counts checked
//   orvex_bench.exe peak <program|minimal> <label> <results file>
//       one full refresh in this fresh process; its peak working set
//   orvex_bench.exe ui <helper exe> <rounds> <label> <results file>
//       F5 in the main window; the details dialog of a copy of the helper
//       holding 10,000 handles
//   orvex_bench.exe calls <kind> <program|minimal>
//       one collection of a kind (for counting the system calls from outside)
//   orvex_bench.exe compare <results file>...
//       the sizes side by side, with the growth of the cost per record
//   orvex_bench.exe counts [rounds]
//       the counting entries (object queries, look-ups, list growth)
//   orvex_bench.exe reports [rounds] [items] [rewrite]
//       opening and comparing two reports of Items (10,000, the cap) per list;
//       the reports are kept in the temporary folder between runs ("rewrite"
//       writes them anew)
//   orvex_bench.exe install-services <count> <service exe> | remove-services
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "bench/BenchSystem.h"
#include "bench/BenchUi.h"
#include "bench/CountEntries.h"
#include "bench/FindBench.h"
#include "bench/MinimalCollector.h"
#include "bench/ReportCompareBench.h"
#include "engine/OXI_Collectors.h"
#include "engine/OXI_ProcessPass.h"
#include "engine/OXI_Processes.h"
#include "platform/Orvex_Native.h"
#include "platform/Orvex_OSInfo.h"
#include "platform/Orvex_PSAPI.h"
#include "platform/Orvex_Token.h"

namespace {

using namespace orvex;
using namespace orvex::bench;
using Clock = std::chrono::steady_clock;

// The details pass as the refresh runs it: the counters came with the
// system's process list.
void ProgramDetails(TProcList& list) {
    TProcessPass pass;
    pass.CountersRead = IsNT() && !IsNT4();
    TTokenLookupCache lookups;
    CompleteProcessDetails(list, lookups, pass);
}

double Ms(const std::function<void()>& work) {
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

struct TRecords {
    std::size_t Total = 0;
    std::string Text;  // the parts, for the report
};

TRecords ProcessRecords(const TProcList& list) {
    std::size_t threads = 0, modules = 0;
    for (const auto& p : list) {
        threads += p.Threads.size();
        modules += p.Modules.size();
    }
    return {list.size() + threads + modules,
            std::to_string(list.size()) + " p, " + std::to_string(threads) + " t, " + std::to_string(modules) + " m"};
}

TRecords DetailRecords(const TProcList& list) {
    std::size_t privileges = 0, groups = 0;
    for (const auto& p : list) {
        privileges += p.Privileges.size();
        groups += p.Groups.size();
    }
    return {list.size() + privileges + groups,
            std::to_string(privileges) + " priv, " + std::to_string(groups) + " groups"};
}

TRecords Plain(std::size_t n, const char* what) { return {n, std::to_string(n) + " " + what}; }

TRecords InventoryRecords(const TProcList& p, std::size_t drivers, std::size_t handles, std::size_t services,
                          std::size_t windows) {
    const std::size_t total = ProcessRecords(p).Total + DetailRecords(p).Total - p.size() + drivers + handles +
                              services + windows;
    return {total, std::to_string(p.size()) + " p, " + std::to_string(handles) + " h, " + std::to_string(services) +
                       " s, " + std::to_string(windows) + " w"};
}

// What the two sides say of each process both listed: image path, user,
// module count, groups and privileges. A process listed by one side only
// started or ended between the two collections and is counted apart.
struct TParity {
    std::size_t Compared = 0, OneSideOnly = 0;
    std::vector<std::string> Differences;
};

// The entries of a list as sorted text, so that order does not count.
template <typename TList, typename TText>
std::string SortedText(const TList& list, TText text) {
    std::vector<std::string> items;
    for (const auto& item : list) items.push_back(text(item));
    std::sort(items.begin(), items.end());
    std::string joined;
    for (const auto& item : items) joined += item + " ";
    return joined;
}

std::string GroupsText(const TTokenGroupList& groups) {
    return SortedText(groups, [](const auto& g) { return g.SID.str() + "/" + std::to_string(g.Attributes); });
}

std::string PrivilegesText(const TPrivilegeList& privileges) {
    return SortedText(privileges, [](const auto& p) { return p.Name.str() + "/" + std::to_string(p.Attributes); });
}

TParity CompareProcesses(const TProcList& program, const TProcList& minimal) {
    TParity parity;
    std::map<std::uint32_t, const TProcessInfo*> byPid;
    for (const auto& p : minimal) byPid.emplace(p.PID, &p);
    for (const auto& a : program) {
        const auto it = byPid.find(a.PID);
        if (it == byPid.end() || _stricmp(it->second->Name.c_str(), a.Name.c_str()) != 0) {
            ++parity.OneSideOnly;
            continue;
        }
        const TProcessInfo& b = *it->second;
        ++parity.Compared;
        const auto differ = [&](const char* field, const std::string& x, const std::string& y) {
            if (x != y)
                parity.Differences.push_back(std::to_string(a.PID) + " " + a.Name.str() + " " + field + ": program '" +
                                             x + "', minimal '" + y + "'");
        };
        differ("image path", a.ImageName.str(), b.ImageName.str());
        differ("user", a.UserName.str(), b.UserName.str());
        differ("modules", std::to_string(a.Modules.size()), std::to_string(b.Modules.size()));
        differ("groups", GroupsText(a.Groups), GroupsText(b.Groups));
        differ("privileges", PrivilegesText(a.Privileges), PrivilegesText(b.Privileges));
    }
    parity.OneSideOnly += minimal.size() - (program.size() - parity.OneSideOnly);
    return parity;
}

// One kind: the program's way and the minimal way, each keeping what it
// collected in State (emptied at the start of the next run, as a refresh
// empties its lists), and the records each holds, counted untimed.
struct TState {
    TOrvex_ProcessList Component;
    TProcList DetailsBase;
    TProcList Processes;
    TDriverList Drivers;
    TServiceList Services;
    THandleList Handles;
    TWindowList Windows;
    TMinimalInventory Minimal;
};

struct TKind {
    const char* Key;
    const char* Title;
    std::function<void()> Program;
    std::function<void()> Minimal;
    std::function<TRecords()> Records;
};

struct TKindResult {
    std::string Key, Title;
    TRecords Program, Minimal;
    double ProgramMs = 0, MinimalMs = 0;
};

TKindResult RunKind(const TKind& kind, int rounds) {
    TKindResult r{kind.Key, kind.Title, {}, {}, 0, 0};
    std::vector<double> a, b;
    // A warm-up pair, then A B A B.
    kind.Program();
    kind.Minimal();
    for (int i = 0; i < rounds; ++i) {
        a.push_back(Ms(kind.Program));
        r.Program = kind.Records();
        b.push_back(Ms(kind.Minimal));
        r.Minimal = kind.Records();
    }
    r.ProgramMs = Median(a);
    r.MinimalMs = Median(b);
    return r;
}

template <typename List, typename Collect>
std::function<void()> Into(List& list, Collect collect) {
    return [&list, collect] {
        list.clear();
        BindNative();
        collect(list);
    };
}

std::vector<TKind> Kinds(TState& s) {
    // Which of the two ran last decides what the records are counted from.
    auto last = std::make_shared<bool>(false);  // true: the minimal one
    auto mark = [last](bool minimal, std::function<void()> work) {
        return [last, minimal, work] {
            work();
            *last = minimal;
        };
    };
    std::vector<TKind> kinds;
    kinds.push_back({"full", "full refresh", mark(false, [&s] { s.Component.RefreshData(); }),
                     mark(true,
                          [&s] {
                              BindNative();
                              MinimalRefresh(s.Minimal);
                          }),
                     [&s, last] {
                         if (*last)
                             return InventoryRecords(s.Minimal.Processes, s.Minimal.Drivers.size(),
                                                     s.Minimal.Handles.size(), s.Minimal.Services.size(),
                                                     s.Minimal.Windows.size());
                         TProcList p;
                         for (int i = 0; i < s.Component.ProcessCount(); ++i)
                             s.Component.GetProcess(static_cast<std::uint32_t>(i), p.emplace_back());
                         return InventoryRecords(p, s.Component.DriverCount(), s.Component.HandleCount(),
                                                 s.Component.ServiceCount(), s.Component.WindowCount());
                     }});
    kinds.push_back({"processes", "processes, threads, modules",
                     Into(s.Processes,
                          [](TProcList& l) {
                              BindProcessStatus();
                              CollectProcesses(l);
                              ReleaseProcessStatus();
                          }),
                     Into(s.Processes, [](TProcList& l) { MinimalProcesses(l); }),
                     [&s] { return ProcessRecords(s.Processes); }});
    // The details of the processes of one enumeration, the same for both.
    auto details = [&s](void (*complete)(TProcList&)) {
        return [&s, complete] {
            s.Processes = s.DetailsBase;
            BindNative();
            complete(s.Processes);
        };
    };
    kinds.push_back({"details", "process details (token, counters)", details(ProgramDetails),
                     details([](TProcList& l) { MinimalDetails(l); }), [&s] { return DetailRecords(s.Processes); }});
    kinds.push_back({"drivers", "drivers", Into(s.Drivers, [](TDriverList& l) { CollectDrivers(l); }),
                     Into(s.Drivers, [](TDriverList& l) { MinimalDrivers(l); }),
                     [&s] { return Plain(s.Drivers.size(), "drivers"); }});
    kinds.push_back({"services", "services", Into(s.Services, [](TServiceList& l) { CollectServices(l); }),
                     Into(s.Services, [](TServiceList& l) { MinimalServices(l); }),
                     [&s] { return Plain(s.Services.size(), "services"); }});
    kinds.push_back({"handles", "handles", Into(s.Handles, [](THandleList& l) { CollectHandles(l); }),
                     Into(s.Handles, [](THandleList& l) { MinimalHandles(l); }),
                     [&s] { return Plain(s.Handles.size(), "handles"); }});
    kinds.push_back({"windows", "windows", Into(s.Windows, [](TWindowList& l) { CollectWindows(l); }),
                     Into(s.Windows, [](TWindowList& l) { MinimalWindows(l); }),
                     [&s] { return Plain(s.Windows.size(), "windows"); }});
    return kinds;
}

// Appends "key value..." lines to the results file of a size.
void Save(const std::string& file, const std::string& line) {
    std::ofstream out(file, std::ios::app);
    out << line << "\n";
}

int RunKinds(const std::string& label, int rounds, const std::string& file) {
    const auto state = std::make_unique<TState>();
    state->Component.DetectionRange = TDetectionRange{dtProcesses, dtDrivers, dtServices, dtHandles, dtWindows};
    BindNative();
    BindProcessStatus();
    MinimalProcesses(state->DetailsBase);
    std::printf("size %s: %d rounds per kind, program (A) and minimal (B) alternating, medians in ms\n", label.c_str(),
                rounds);
    std::printf("%-34s %-34s %10s %10s %6s  %s\n", "kind", "records (program)", "program", "minimal", "ratio",
                "count check");
    int mismatches = 0;
    for (const TKind& kind : Kinds(*state)) {
        const TKindResult r = RunKind(kind, rounds);
        const bool same = r.Program.Total == r.Minimal.Total;
        if (!same) ++mismatches;
        const double ratio = r.MinimalMs > 0 ? r.ProgramMs / r.MinimalMs : 0;
        std::printf("%-34s %-34s %10.1f %10.1f %6.2f  %s\n", r.Title.c_str(), r.Program.Text.c_str(), r.ProgramMs,
                    r.MinimalMs, ratio, same ? "same" : ("MISMATCH: minimal " + r.Minimal.Text).c_str());
        std::ostringstream line;
        line << "kind " << r.Key << " " << r.Program.Total << " " << r.Minimal.Total << " " << r.ProgramMs << " "
             << r.MinimalMs << " " << r.Program.Text;
        Save(file, line.str());
        std::fflush(stdout);
    }
    if (mismatches) std::printf("WARNING: %d kinds with different record counts\n", mismatches);
    // Both sides of the full refresh ran last with the same system: each
    // process both listed must read alike.
    TProcList program;
    for (int i = 0; i < state->Component.ProcessCount(); ++i)
        state->Component.GetProcess(static_cast<std::uint32_t>(i), program.emplace_back());
    const TParity parity = CompareProcesses(program, state->Minimal.Processes);
    std::printf(
        "per-process parity (image path, user, module count, groups, privileges): %zu processes compared, "
        "%zu listed by one side only, %zu differences\n",
        parity.Compared, parity.OneSideOnly, parity.Differences.size());
    for (std::size_t i = 0; i < parity.Differences.size() && i < 10; ++i)
        std::printf("  DIFFERENCE: %s\n", parity.Differences[i].c_str());
    ReleaseProcessStatus();
    // A difference fails the bench: the two sides did not collect the same.
    return parity.Differences.empty() && parity.Compared > 0 ? 0 : 3;
}

std::size_t PeakWorkingSet() {
    PROCESS_MEMORY_COUNTERS c{};
    c.cb = sizeof c;
    return ::GetProcessMemoryInfo(::GetCurrentProcess(), &c, sizeof c) ? c.PeakWorkingSetSize : 0;
}

int RunPeak(const std::string& which, const std::string& label, const std::string& file) {
    const std::size_t before = PeakWorkingSet();
    if (which == "minimal") {
        BindNative();
        TMinimalInventory m;
        MinimalRefresh(m);
    } else {
        TOrvex_ProcessList component;
        component.DetectionRange = TDetectionRange{dtProcesses, dtDrivers, dtServices, dtHandles, dtWindows};
        component.RefreshData();
    }
    const std::size_t after = PeakWorkingSet();
    std::printf("size %s: peak working set of one %s refresh: %.1f MB (%.1f MB before it)\n", label.c_str(),
                which.c_str(), after / 1048576.0, before / 1048576.0);
    Save(file, "peak " + which + " " + std::to_string(after) + " " + std::to_string(before));
    return 0;
}

int RunUi(const std::string& helper, int rounds, const std::string& label, const std::string& file) {
    const TUiTimings t = TimeMainWindow(helper, rounds, stdout);
    std::printf("size %s: F5 to the main window's lists filled: %.1f ms (%d processes, %d handles; %s)\n",
                label.c_str(), t.F5Ms, t.Processes, t.Handles,
                t.ListFilled ? "process list holds a row per process" : "PROCESS LIST NOT FILLED");
    if (t.DetailsOpened)
        std::printf("size %s: process details dialog of a process holding %d handles: %.1f ms to open\n", label.c_str(),
                    t.DetailsHandles, t.DetailsMs);
    else
        std::printf("size %s: process details dialog: NOT OPENED\n", label.c_str());
    Save(file, "f5 " + std::to_string(t.F5Ms) + " " + (t.ListFilled ? "1" : "0"));
    Save(file, "details " + std::to_string(t.DetailsMs) + " " + std::to_string(t.DetailsHandles));
    return 0;
}

int RunCalls(const std::string& kind, const std::string& which) {
    const bool minimal = which == "minimal";
    TOrvex_ProcessList component;  // binds and enables privileges like the program
    BindNative();
    BindProcessStatus();
    TProcList base;
    if (kind == "details") {
        MinimalProcesses(base);
    }
    // Markers in a system-call trace: everything between them is the kind.
    std::fputs("orvex-bench-start\n", stdout);
    if (kind == "full") {
        if (minimal) {
            TMinimalInventory m;
            MinimalRefresh(m);
        } else {
            component.DetectionRange = TDetectionRange{dtProcesses, dtDrivers, dtServices, dtHandles, dtWindows};
            component.RefreshData();
        }
    } else if (kind == "processes") {
        TProcList l;
        minimal ? MinimalProcesses(l) : CollectProcesses(l);
    } else if (kind == "details") {
        minimal ? MinimalDetails(base) : ProgramDetails(base);
    } else if (kind == "services") {
        TServiceList l;
        minimal ? MinimalServices(l) : CollectServices(l);
    } else if (kind == "handles") {
        THandleList l;
        minimal ? MinimalHandles(l) : CollectHandles(l);
    } else if (kind == "windows") {
        TWindowList l;
        minimal ? MinimalWindows(l) : CollectWindows(l);
    }
    std::fputs("orvex-bench-end\n", stdout);
    return 0;
}

// ------------------------------------------------------------- comparison

struct TSizeResults {
    std::string Label;
    std::map<std::string, std::vector<std::string>> Kinds;  // key -> fields
    double F5 = -1, Details = -1;
    int DetailsHandles = 0;
    double PeakProgram = -1, PeakMinimal = -1, PeakBefore = -1;
    std::map<std::string, long> Calls;  // "kind impl" -> server requests
};

TSizeResults ReadResults(const std::string& file) {
    TSizeResults r;
    r.Label = file.substr(file.find_last_of("/\\") + 1);
    if (auto dot = r.Label.find('.'); dot != std::string::npos) r.Label.resize(dot);
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream s(line);
        std::string tag;
        s >> tag;
        std::vector<std::string> f;
        for (std::string w; s >> w;) f.push_back(w);
        if (tag == "kind" && f.size() >= 5) r.Kinds[f[0]] = f;
        if (tag == "f5" && !f.empty()) r.F5 = std::atof(f[0].c_str());
        if (tag == "details" && f.size() >= 2) {
            r.Details = std::atof(f[0].c_str());
            r.DetailsHandles = std::atoi(f[1].c_str());
        }
        if (tag == "peak" && f.size() >= 3) {
            (f[0] == "minimal" ? r.PeakMinimal : r.PeakProgram) = std::atof(f[1].c_str());
            r.PeakBefore = std::atof(f[2].c_str());
        }
        if (tag == "calls" && f.size() >= 3) r.Calls[f[0] + " " + f[1]] = std::atol(f[2].c_str());
    }
    return r;
}

int RunCompare(const std::vector<std::string>& files) {
    std::vector<TSizeResults> sizes;
    for (const auto& f : files) sizes.push_back(ReadResults(f));
    const char* order[] = {"full", "processes", "details", "drivers", "services", "handles", "windows"};
    const char* titles[] = {"full refresh",    "processes, threads, modules",
                            "process details", "drivers",
                            "services",        "handles",
                            "windows"};
    std::printf("\nSide by side (records = program's records; ms = medians; ratio = program / minimal)\n");
    std::printf("%-28s", "kind");
    for (const auto& s : sizes)
        std::printf(" | %-8s %8s %9s %9s %5s", s.Label.c_str(), "records", "program", "minimal", "ratio");
    std::printf("\n");
    int above = 0;
    for (std::size_t k = 0; k < std::size(order); ++k) {
        std::printf("%-28s", titles[k]);
        for (const auto& s : sizes) {
            auto it = s.Kinds.find(order[k]);
            if (it == s.Kinds.end()) {
                std::printf(" | %-8s %8s %9s %9s %5s", "", "-", "-", "-", "-");
                continue;
            }
            const auto& f = it->second;
            const double pm = std::atof(f[3].c_str()), mm = std::atof(f[4].c_str());
            // Below half a millisecond the ratio says nothing.
            const bool tiny = mm < 0.5 && pm < 0.5;
            const double ratio = mm > 0 ? pm / mm : 0;
            if (ratio > 1.3 && !tiny) ++above;
            char r[16];
            std::snprintf(r, sizeof r, tiny ? "-" : "%.2f", ratio);
            std::printf(" | %-8s %8s %9.1f %9.1f %5s%s", "", f[1].c_str(), pm, mm, r, f[1] == f[2] ? "" : "!");
        }
        std::printf("\n");
    }
    std::printf("(! after a ratio: the minimal collector's record count differed; - : both under 0.5 ms)\n");
    std::printf("ratios above 1.3: %d\n", above);

    if (sizes.size() >= 2) {
        std::printf(
            "\nCost per record in us, program / minimal, and its growth from one size to the next\n"
            "(STEP: the program's cost per record grew above 1.2x; the minimal's growth shows what the\n"
            "platform itself adds)\n");
        for (std::size_t k = 0; k < std::size(order); ++k) {
            std::printf("%-28s", titles[k]);
            double previous = -1, previousMinimal = -1;
            for (const auto& s : sizes) {
                auto it = s.Kinds.find(order[k]);
                if (it == s.Kinds.end()) continue;
                const double records = std::atof(it->second[1].c_str());
                const double per = records > 0 ? 1000.0 * std::atof(it->second[3].c_str()) / records : 0;
                const double perMinimal = records > 0 ? 1000.0 * std::atof(it->second[4].c_str()) / records : 0;
                const bool tiny = std::atof(it->second[3].c_str()) < 0.5 && std::atof(it->second[4].c_str()) < 0.5;
                std::printf(" | %s %8.2f / %8.2f", s.Label.c_str(), per, perMinimal);
                if (previous > 0 && previousMinimal > 0) {
                    const double growth = per / previous, growthMinimal = perMinimal / previousMinimal;
                    if (tiny)
                        std::printf(" (under 0.5 ms)");
                    else
                        std::printf(" (x%.2f / x%.2f%s)", growth, growthMinimal, growth > 1.2 ? " STEP" : "");
                }
                previous = per;
                previousMinimal = perMinimal;
            }
            std::printf("\n");
        }
    }
    std::printf("\n");
    for (const auto& s : sizes) {
        std::printf(
            "%-6s F5 to lists filled: %.1f ms; details dialog of a process with %d handles: %.1f ms; "
            "peak working set of one refresh: program %.1f MB, minimal %.1f MB (%.1f MB before the refresh)\n",
            s.Label.c_str(), s.F5, s.DetailsHandles, s.Details, s.PeakProgram / 1048576.0, s.PeakMinimal / 1048576.0,
            s.PeakBefore / 1048576.0);
    }
    for (const auto& s : sizes) {
        if (s.Calls.empty()) continue;
        std::printf(
            "\nWrites to the Wine server and pipes (write/writev system calls: server requests, service RPC) of one "
            "collection at size %s, program / minimal:\n",
            s.Label.c_str());
        for (const char* k : order) {
            auto p = s.Calls.find(std::string(k) + " program"), m = s.Calls.find(std::string(k) + " minimal");
            if (p == s.Calls.end() || m == s.Calls.end()) continue;
            std::printf("  %-12s %8ld / %8ld  (x%.2f)\n", k, p->second, m->second,
                        m->second > 0 ? static_cast<double>(p->second) / m->second : 0.0);
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    auto arg = [&](std::size_t i, const char* fallback) { return i < args.size() ? args[i] : std::string(fallback); };
    const std::string mode = arg(0, "counts");
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    if (mode == "kinds")
        return RunKinds(arg(1, "size"), std::max(1, std::atoi(arg(2, "5").c_str())), arg(3, "results.txt"));
    if (mode == "peak") return RunPeak(arg(1, "program"), arg(2, "size"), arg(3, "results.txt"));
    if (mode == "ui")
        return RunUi(arg(1, "orvex_test_helper.exe"), std::max(1, std::atoi(arg(2, "3").c_str())), arg(3, "size"),
                     arg(4, "results.txt"));
    if (mode == "calls") return RunCalls(arg(1, "full"), arg(2, "program"));
    if (mode == "compare") return RunCompare(std::vector<std::string>(args.begin() + 1, args.end()));
    if (mode == "install-services") return InstallBenchServices(std::atoi(arg(1, "0").c_str()), arg(2, ""));
    if (mode == "remove-services") return RemoveBenchServices();
    if (mode == "find") {
        orvex::bench::RunFindBench(std::max(1, std::atoi(arg(1, "7").c_str())), stdout);
        return 0;
    }
    if (mode == "reports")
        return orvex::bench::RunReportCompareBench(std::max(1, std::atoi(arg(1, "5").c_str())),
                                                   std::atoi(arg(2, "10000").c_str()), arg(3, "") == "rewrite", stdout)
                   ? 0
                   : 1;
    if (mode == "counts") return RunCountEntries(std::max(1, std::atoi(arg(1, "7").c_str())));
    // The former form: the number of rounds alone.
    return RunCountEntries(std::max(1, std::atoi(mode.c_str())));
}
