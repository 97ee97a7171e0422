#include "bench/ReportCompareBench.h"

#include <windows.h>

#include <algorithm>
#include <exception>
#include <string>
#include <vector>

#include "bench/Timing.h"
#include "engine/OXI_Inventory.h"
#include "engine/OXI_Processes.h"
#include "engine/OXI_Report.h"
#include "engine/OXI_ReportParts.h"
#include "engine/pure/OXI_InventoryDiff.h"
#include "platform/Orvex_WideText.h"
#include "storage/Orvex_ReportFile.h"

namespace orvex::bench {

namespace {

// Records shaped like a machine's: a few hundred images run many times,
// drivers and services with paths, accounts and dependencies. Variant 1
// changes every 100th service's start type, drops every 250th driver, adds
// a few processes and runs some as another user.
void Fill(TOrvex_ProcessList& c, int variant, int Items) {
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

// The order items are created in: within each length of name the middle
// first, then each half likewise, so that Wine's directory tree (sorted by
// name, not rebalanced) stays shallow. Created in index order, as the
// component's save does, the tree becomes a chain and a report of 10,000
// items per list takes Wine many minutes to write.
std::vector<int> ShallowOrder(int count) {
    std::vector<int> order;
    const auto halves = [&](auto&& self, int lo, int hi) -> void {
        if (lo >= hi) return;
        const int mid = lo + (hi - lo) / 2;
        order.push_back(mid);
        self(self, lo, mid);
        self(self, mid + 1, hi);
    };
    for (int lo = 0, hi = 10; lo < count; lo = hi, hi *= 10) halves(halves, lo, std::min(hi, count));
    return order;
}

template <typename Record, typename GetFn>
void WriteList(TStructuredSTorage& root, const char* name, int count, GetFn get) {
    const auto list = root.OpenSubStorage(name, StorageWriteMode, true);
    for (int i : ShallowOrder(count)) {
        Record record;
        get(static_cast<std::uint32_t>(i), record);
        const std::wstring itemName = AnsiToWide(std::to_string(i));
        TComPtr<IStorage> item;
        ComCheck(list->Storage->CreateStorage(itemName.c_str(), StorageWriteMode | STGM_CREATE, 0, 0, item.put()));
        TStructuredSTorage itemStorage(list.get(), item.get());
        const auto set = OpenReportSetForWriting(itemStorage, FMTID_DocSummaryInformation);
        WriteItem(set->PropertyStorage.get(), record);
    }
}

// The component's report: its header as the component writes it, its lists
// with the component's item writer, in shallow order.
void WriteReport(const TOrvex_ProcessList& c, const std::string& fileName) {
    SaveReportHeader(fileName);
    const auto root = OpenStorageFile(fileName, StorageWriteMode);
    WriteList<TProcessInfo>(*root, "ProcessList", c.ProcessCount(),
                            [&](std::uint32_t i, TProcessInfo& r) { c.GetProcess(i, r); });
    WriteList<TDriverInfo>(*root, "DriverList", c.DriverCount(),
                           [&](std::uint32_t i, TDriverInfo& r) { c.GetDriver(i, r); });
    WriteList<TServiceInfo>(*root, "ServiceList", c.ServiceCount(),
                            [&](std::uint32_t i, TServiceInfo& r) { c.GetService(i, r); });
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

bool RunReportCompareBench(int rounds, int items, std::FILE* out) {
    const int Items = std::clamp(items, 100, static_cast<int>(ReportListLimit));
    const std::string files[2] = {TempName("oxa"), TempName("oxb")};
    if (files[0].empty() || files[1].empty()) return false;
    bool ok = true;
    try {
        const std::string title = "reports of " + std::to_string(Items) + " per list (ms)";
        std::fprintf(out, "%-32s %10s %10s %10s %10s\n", title.c_str(), "median", "min", "max", "items");
        for (int v = 0; v < 2; ++v) {
            TOrvex_ProcessList c;
            Fill(c, v, Items);
            const TTiming save = Measure(1, [&] { WriteReport(c, files[v]); });
            Row(out, v == 0 ? "write report A (once)" : "write report B (once)", save,
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
