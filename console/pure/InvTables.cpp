#include "console/pure/InvTables.h"

#include "engine/pure/OXI_IsoTime.h"
#include "engine/pure/OXI_RecordFields.h"
#include "platform/pure/Orvex_Csv.h"

namespace orvex::console {

namespace {

std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    return text;
}

template <typename TRecord>
TTable Columns(const std::vector<TRecord>& list) {
    TTable t;
    const auto columns = ColumnsOf<TRecord>();
    for (const TField<TRecord>* f : columns) t.Captions.push_back(f->Caption);
    for (const TRecord& r : list) {
        std::vector<std::string>& row = t.Rows.emplace_back();
        for (const TField<TRecord>* f : columns) row.push_back(ShownValue(*f, r));
    }
    return t;
}

}  // namespace

TTable ListTable(const TInventory& inv, TInvList list) {
    switch (list) {
    case TInvList::Processes:
        return Columns(inv.Processes);
    case TInvList::Drivers:
        return Columns(inv.Drivers);
    case TInvList::Services:
        return Columns(inv.Services);
    }
    return {};
}

TTable DiffTable(const std::vector<TDiffRow>& rows) {
    TTable t;
    t.Captions = DiffColumnCaptions();
    for (const TDiffRow& r : rows) t.Rows.push_back(DiffRowFields(r));
    return t;
}

std::string TableCsv(const TTable& table, const TTextToUtf8& toUtf8) {
    std::string csv(Utf8Bom);
    csv += CsvRow(table.Captions);
    for (const auto& row : table.Rows) {
        std::vector<std::string> fields;
        fields.reserve(row.size());
        for (const std::string& f : row) fields.push_back(toUtf8 ? toUtf8(f) : f);
        csv += CsvRow(fields);
    }
    return csv;
}

std::string TableText(const TTable& table) {
    std::string text;
    auto line = [&](const std::vector<std::string>& fields) {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (i != 0) text += '\t';
            text += OneLine(fields[i]);
        }
        text += "\r\n";
    };
    line(table.Captions);
    for (const auto& row : table.Rows) line(row);
    return text;
}

std::string InventoryText(const TInventory& inv) {
    const TStorageInfoRecord& h = inv.Info;
    std::string text;
    auto put = [&](const char* label, const std::string& value) {
        text += std::string(label) + ": " + OneLine(value) + "\r\n";
    };
    put("Machine", h.Machine);
    put("System", h.OSName + " " + std::to_string(h.MajorVersion) + "." + std::to_string(h.MinorVersion) + "." +
                      std::to_string(h.BuildNumber) + (h.CSDVersion.empty() ? "" : " " + h.CSDVersion));
    put("Time", IsoTimeFromDateTime(h.Timestamp));
    put("Rights", h.Rights);
    put("Logged user", h.LoggedUser);
    put("Account", h.Account);
    const struct {
        const char* Label;
        TInvList List;
        std::size_t Count;
    } lists[] = {{"Processes", TInvList::Processes, inv.Processes.size()},
                 {"Drivers", TInvList::Drivers, inv.Drivers.size()},
                 {"Services", TInvList::Services, inv.Services.size()}};
    for (const auto& l : lists) {
        text += "\r\n" + std::string(l.Label) + " (" + std::to_string(l.Count) + ")\r\n";
        text += TableText(ListTable(inv, l.List));
    }
    return text;
}

}  // namespace orvex::console
