#include "bench/ReportCompareBench.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <exception>
#include <stdexcept>
#include <string>

#include "app/CompareDialog.h"
#include "app/Main.h"
#include "bench/Timing.h"
#include "engine/OXI_Inventory.h"
#include "engine/OXI_Processes.h"
#include "engine/OXI_Report.h"
#include "engine/OXI_ReportParts.h"
#include "engine/pure/OXI_InventoryDiff.h"
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

// The report of C as the component writes it (its header set, then its
// lists with the component's own list writer), built in a compound file in
// memory and written to FileName in one piece. Wine's file-backed compound
// files read and write the file for every directory entry and allocation
// block they touch, which makes writing a report at the cap take many
// minutes; the memory-backed file has the same elements, sets and values.
void WriteReport(const TOrvex_ProcessList& c, const std::string& fileName) {
    TComPtr<ILockBytes> bytes;
    ComCheck(::CreateILockBytesOnHGlobal(nullptr, TRUE, bytes.put()));
    {
        TComPtr<IStorage> storage;
        ComCheck(StgCreateDocfileOnILockBytes(bytes.get(), STGM_CREATE | StorageWriteMode, 0, storage.put()));
        TStructuredSTorage root(nullptr, storage.get());
        {
            const auto header = OpenReportSetForWriting(root, FMTID_SummaryInformation);
            WriteReportHeader(header->PropertyStorage.get());
        }
        WriteReportLists(root, c);
        ComCheck(root.Storage->Commit(STGC_DEFAULT));
    }
    STATSTG stat{};
    ComCheck(bytes->Stat(&stat, STATFLAG_NONAME));
    HGLOBAL memory = nullptr;
    ComCheck(GetHGlobalFromILockBytes(bytes.get(), &memory));
    const void* data = GlobalLock(memory);
    if (!data) RaiseComError(HRESULT_FROM_WIN32(GetLastError()));
    const THandle file(
        CreateFileA(fileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    const DWORD size = static_cast<DWORD>(stat.cbSize.QuadPart);
    const bool ok = file && WriteFile(file.get(), data, size, &written, nullptr) && written == size;
    const DWORD error = ok ? ERROR_SUCCESS : GetLastError();
    GlobalUnlock(memory);
    if (!ok) RaiseComError(HRESULT_FROM_WIN32(error ? error : ERROR_WRITE_FAULT));
}

// The reports are kept in the temporary folder between runs, by item count
// and a version of their content (raised whenever Fill or the writers
// change what a report holds); a kept file is used only when it loads with
// the expected counts.
constexpr int ReportContentVersion = 2;

std::string KeptReportName(char side, int items) {
    char dir[MAX_PATH] = {};
    if (GetTempPathA(MAX_PATH, dir) == 0) return {};
    return std::string(dir) + "orvex-bench-" + side + "-" + std::to_string(items) + "-v" +
           std::to_string(ReportContentVersion) + ".ivs";
}

std::size_t ItemsOf(const TOrvex_ProcessList& c) {
    return static_cast<std::size_t>(c.ProcessCount()) + static_cast<std::size_t>(c.DriverCount()) +
           static_cast<std::size_t>(c.ServiceCount());
}

// Whether FileName is a report holding exactly the lists of Expected.
bool HoldsListsOf(const std::string& fileName, const TOrvex_ProcessList& expected) {
    try {
        if (!IsInventoryReport(fileName)) return false;
        TOrvex_ProcessList loaded;
        loaded.LoadFromStorage(fileName);
        return loaded.ProcessCount() == expected.ProcessCount() && loaded.DriverCount() == expected.DriverCount() &&
               loaded.ServiceCount() == expected.ServiceCount();
    } catch (const std::exception&) {
        return false;
    }
}

void Row(std::FILE* out, const char* what, const TTiming& t, std::size_t records) {
    std::fprintf(out, "%-44s %10.1f %10.1f %10.1f %10zu\n", what, t.MedianMs, t.MinMs, t.MaxMs, records);
}

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

int ListRows(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

}  // namespace

bool RunReportCompareBench(int rounds, int items, bool rewrite, std::FILE* out) {
    const int Items = std::clamp(items, 100, static_cast<int>(ReportListLimit));
    const std::string files[2] = {KeptReportName('A', Items), KeptReportName('B', Items)};
    if (files[0].empty() || files[1].empty()) return false;
    bool ok = true;
    try {
        const std::string title = "reports of " + std::to_string(Items) + " per list (ms)";
        std::fprintf(out, "%-44s %10s %10s %10s %10s\n", title.c_str(), "median", "min", "max", "items");
        for (int v = 0; v < 2; ++v) {
            TOrvex_ProcessList c;
            Fill(c, v, Items);
            if (!rewrite && HoldsListsOf(files[v], c)) {
                std::fprintf(out, "report %c: kept from an earlier run (%s)\n", 'A' + v, files[v].c_str());
                continue;
            }
            const TTiming save = Measure(1, [&] { WriteReport(c, files[v]); });
            Row(out, v == 0 ? "write report A in memory (once)" : "write report B in memory (once)", save, ItemsOf(c));
            if (!HoldsListsOf(files[v], c)) {
                std::fprintf(out, "report %c does not read back whole\n", 'A' + v);
                return false;
            }
        }

        // Open report: the check the viewer makes first, then the load.
        const auto open = [&](int v, TOrvex_ProcessList& into) {
            if (!IsInventoryReport(files[v])) throw std::runtime_error("no inventory report: " + files[v]);
            into.LoadFromStorage(files[v]);
        };
        TOrvex_ProcessList loaded[2];
        for (int v = 0; v < 2; ++v) {
            bool report = false;
            const TTiming check = Measure(rounds, [&] { report = IsInventoryReport(files[v]); });
            Row(out, v == 0 ? "IsInventoryReport A" : "IsInventoryReport B", check, report ? 1 : 0);
            const TTiming load = Measure(rounds, [&] { loaded[v].LoadFromStorage(files[v]); });
            Row(out, v == 0 ? "LoadFromStorage A" : "LoadFromStorage B", load, ItemsOf(loaded[v]));
            const TTiming both = Measure(rounds, [&] { open(v, loaded[v]); });
            Row(out,
                v == 0 ? "open A (IsInventoryReport + LoadFromStorage)"
                       : "open B (IsInventoryReport + LoadFromStorage)",
                both, ItemsOf(loaded[v]));
            ok = ok && report && loaded[v].ProcessCount() == Items && loaded[v].ServiceCount() == Items;
        }

        // Compare with report: B read into a component of its own and
        // compared with A, as the viewer compares with what it shows.
        std::size_t rows = 0;
        const TTiming compare = Measure(rounds,
                                        [&] { rows = app::CompareWithReportFile(files[1], loaded[0]).Rows.size(); });
        Row(out, "compare A with report B (CompareWithReportFile)", compare, rows);
        const TInventory inv[2] = {InventoryOf(loaded[0]), InventoryOf(loaded[1])};
        std::size_t diffRows = 0;
        const TTiming diff = Measure(rounds, [&] { diffRows = CompareInventories(inv[1], inv[0]).size(); });
        Row(out, "  of which CompareInventories B A", diff, diffRows);
        ok = ok && rows > 0 && rows == diffRows;

        // Open report in the main window: the load and the lists filled.
        app::Twnd_Main window(nullptr, false);
        window.Show(SW_SHOWNOACTIVATE);
        Pump();
        for (int v = 0; v < 2; ++v) {
            bool shown = true;
            const TTiming view = Measure(rounds, [&] {
                shown = window.OpenReport(files[v]) && shown;
                Pump();
            });
            const int rowsShown = ListRows(window.PrcList()) + ListRows(window.DrvList()) + ListRows(window.SvcList());
            Row(out, v == 0 ? "open A in the main window (lists filled)" : "open B in the main window (lists filled)",
                view, static_cast<std::size_t>(rowsShown));
            ok = ok && shown && rowsShown == static_cast<int>(ItemsOf(loaded[v]));
        }
    } catch (const std::exception& e) {
        std::fprintf(out, "report benchmark failed: %s\n", e.what());
        ok = false;
    }
    if (!ok) std::fprintf(out, "report benchmark: a count did not match\n");
    return ok;
}

}  // namespace orvex::bench
