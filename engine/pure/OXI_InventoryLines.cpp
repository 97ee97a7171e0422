#include "engine/pure/OXI_InventoryLines.h"

#include "engine/pure/OXI_JsonWriter.h"

namespace orvex {

namespace {

constexpr const char* HeaderTable = "header";
constexpr const char* ProcessesTable = "processes";
constexpr const char* ThreadsTable = "threads";
constexpr const char* ModulesTable = "modules";
constexpr const char* DriversTable = "drivers";
constexpr const char* ServicesTable = "services";

// Opens a line with its source members.
void Begin(TJsonWriter& w, const TLineSource& source, const char* table) {
    w.BeginObject();
    w.Text("host", source.Host);
    w.Ascii("snapshotTime", IsoTimeFromFileTime(source.SnapshotTime));
    w.Text("reportFile", source.ReportFile);
    w.Ascii("table", table);
}

void End(TJsonWriter& w) {
    w.EndObject();
    w.EndLine();
}

template <typename TRecord>
void Lines(TJsonWriter& w, const TLineSource& source, const char* table, const std::vector<TRecord>& records) {
    for (const TRecord& r : records) {
        Begin(w, source, table);
        Members(w, r);
        End(w);
    }
}

const char* TableOf(TDiffKind kind) {
    switch (kind) {
    case TDiffKind::Process:
        return ProcessesTable;
    case TDiffKind::Driver:
        return DriversTable;
    case TDiffKind::Service:
        break;
    }
    return ServicesTable;
}

}  // namespace

std::vector<std::string> LineTables() {
    return {HeaderTable, ProcessesTable, ThreadsTable, ModulesTable, DriversTable, ServicesTable};
}

std::string InventoryLines(const TInventory& inventory, const TLineSource& source, const TTextToUtf8& toUtf8) {
    TJsonWriter w(toUtf8);
    Begin(w, source, HeaderTable);
    Members(w, inventory.Info);
    w.Text("viewLimit", inventory.ViewLimit);
    End(w);
    Lines(w, source, ProcessesTable, inventory.Processes);
    if (inventory.Live) {
        for (const TProcessInfo& p : inventory.Processes) Lines(w, source, ThreadsTable, p.Threads);
        for (const TProcessInfo& p : inventory.Processes)
            for (const TModuleInfo& m : p.Modules) {
                Begin(w, source, ModulesTable);
                w.Number("ownerPid", p.PID);
                Members(w, m);
                End(w);
            }
    }
    Lines(w, source, DriversTable, inventory.Drivers);
    Lines(w, source, ServicesTable, inventory.Services);
    return w.Take();
}

std::string DiffLines(const std::vector<TDiffRow>& rows, const TLineSource& source, const std::string& baselineFile,
                      const TTextToUtf8& toUtf8) {
    TJsonWriter w(toUtf8);
    for (const TDiffRow& r : rows) {
        Begin(w, source, TableOf(r.Kind));
        w.Text("baselineFile", baselineFile);
        w.Ascii("action", DiffChangeText(r.Change));
        w.Text("key", r.Key);
        w.Ascii("field", r.Field);
        w.Text("old", r.OldValue);
        w.Text("new", r.NewValue);
        End(w);
    }
    return w.Take();
}

}  // namespace orvex
