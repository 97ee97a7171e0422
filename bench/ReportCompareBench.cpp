#include "bench/ReportCompareBench.h"

#include <windows.h>

#include <exception>
#include <string>

#include "bench/Timing.h"
#include "engine/OXI_Inventory.h"
#include "engine/OXI_Processes.h"
#include "engine/OXI_Report.h"
#include "engine/pure/OXI_InventoryDiff.h"

namespace orvex::bench {

namespace {

constexpr int Items = static_cast<int>(ReportListLimit);

// Records shaped like a machine's: a few hundred images run many times,
// drivers and services with paths, accounts and dependencies. Variant 1
// changes every 100th service's start type, drops every 250th driver, adds
// a few processes and runs some as another user.
void Fill(TOrvex_ProcessList& c, int variant) {
    for (int i = 0; i < Items; ++i) {
        TProcessInfo p;
        p.PID = static_cast<std::uint32_t>(4 * (i + 1) + variant * 40'000);
        p.Name = "image" + std::to_string(i % 400) + ".exe";
        p.ImageName = "C:\\Program Files\\Vendor " + std::to_string(i % 40) + "\\" + p.Name.str();
        p.UserName = (variant == 1 && i % 97 == 0) ? "HOST/other" : "HOST/user" + std::to_string(i % 7);
        p.CreateTime = 133'000'000'000'000'000LL + i + variant * 1'000'000'000LL;
        if (variant == 1 && i >= Items - 20) p.ImageName = "C:\\New\\added" + std::to_string(i) + ".exe";
        c.AddProcess(p);
    }
    for (int i = 0; i < Items; ++i) {
        if (variant == 1 && i % 250 == 0) continue;
        TDriverInfo d;
        d.Name = "\\SystemRoot\\System32\\drivers\\drv" + std::to_string(i) + ".sys";
        d.Base = static_cast<std::uintptr_t>(0xF0000000u + 0x1000u * static_cast<unsigned>(i));
        d.Size = 0x20000 + i;
        d.LoadCount = 1;
        c.AddDriver(d);
    }
    for (int i = 0; i < Items; ++i) {
        TServiceInfo s;
        s.Name = "Service" + std::to_string(i);
        s.DisplayName = "Service number " + std::to_string(i);
        s.ImageName = "C:\\Windows\\system32\\svchost.exe -k group" + std::to_string(i % 30);
        s.ObjectName = "LocalSystem";
        s.DependOnService = i % 2 ? "RpcSs EventLog" : "";
        s.Startup = (variant == 1 && i % 100 == 0) ? 4 : 2 + i % 2;
        s.Status = 1 + 3 * (i % 2);
        s.Typ = 4 + i % 2;
        c.AddService(s);
    }
}

std::string TempName(const char* prefix) {
    char dir[MAX_PATH] = {}, name[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, dir);
    if (GetTempFileNameA(dir, prefix, 0, name) == 0) return {};
    return name;
}

void Row(std::FILE* out, const char* what, const TTiming& t, std::size_t records) {
    std::fprintf(out, "%-32s %10.1f %10.1f %10.1f %10zu\n", what, t.MedianMs, t.MinMs, t.MaxMs, records);
}

}  // namespace

bool RunReportCompareBench(int rounds, std::FILE* out) {
    const std::string files[2] = {TempName("oxa"), TempName("oxb")};
    if (files[0].empty() || files[1].empty()) return false;
    bool ok = true;
    try {
        std::fprintf(out, "%-32s %10s %10s %10s %10s\n", "report at the cap (ms)", "median", "min", "max", "items");
        for (int v = 0; v < 2; ++v) {
            TOrvex_ProcessList c;
            Fill(c, v);
            const TTiming save = Measure(1, [&] { c.SaveToStorage(files[v]); });
            Row(out, v == 0 ? "save report A (once)" : "save report B (once)", save,
                static_cast<std::size_t>(c.ProcessCount() + c.DriverCount() + c.ServiceCount()));
        }
        TInventory inv[2];
        for (int v = 0; v < 2 && ok; ++v) {
            TOrvex_ProcessList loaded;
            const TTiming load = Measure(rounds, [&] { loaded.LoadFromStorage(files[v]); });
            inv[v] = InventoryOf(loaded);
            const std::size_t items = inv[v].Processes.size() + inv[v].Drivers.size() + inv[v].Services.size();
            Row(out, v == 0 ? "LoadFromStorage A" : "LoadFromStorage B", load, items);
            ok = inv[v].Processes.size() == static_cast<std::size_t>(Items) &&
                 inv[v].Services.size() == static_cast<std::size_t>(Items);
        }
        std::size_t rows = 0;
        const TTiming compare = Measure(rounds, [&] { rows = CompareInventories(inv[0], inv[1]).size(); });
        Row(out, "CompareInventories A B", compare, rows);
        ok = ok && rows > 0;
    } catch (const std::exception& e) {
        std::fprintf(out, "report benchmark failed: %s\n", e.what());
        ok = false;
    }
    DeleteFileA(files[0].c_str());
    DeleteFileA(files[1].c_str());
    return ok;
}

}  // namespace orvex::bench
