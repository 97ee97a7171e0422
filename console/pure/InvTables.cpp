#include "console/pure/InvTables.h"

#include <cinttypes>
#include <cstdio>

#include "engine/pure/OXI_IsoTime.h"
#include "platform/pure/Orvex_Csv.h"
#include "platform/pure/Orvex_Datetime.h"
#include "platform/pure/Orvex_ServiceNames.h"

namespace orvex::console {

namespace {

std::string Hex(std::uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%08" PRIX64, value);
    return text;
}

std::string FileNameOf(const std::string& path) {
    const auto cut = path.find_last_of("\\:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    return text;
}

}  // namespace

TTable ListTable(const TInventory& inv, TInvList list) {
    TTable t;
    switch (list) {
    case TInvList::Processes:
        t.Captions = {"Name",       "PID",      "CPU Time", "User",    "Image Name",
                      "Parent PID", "Priority", "Threads",  "Handles", "Created"};
        for (const TProcessInfo& p : inv.Processes)
            t.Rows.push_back({p.Name.str(), std::to_string(p.PID), FormatCpuTime(p.UserTime + p.KernelTime),
                              p.UserName.str(), p.ImageName.str(), std::to_string(p.ParentPID),
                              std::to_string(p.Priority), std::to_string(p.ThreadCount), std::to_string(p.HandleCount),
                              IsoTimeFromFileTime(p.CreateTime)});
        break;
    case TInvList::Drivers:
        t.Captions = {"Name", "Base Address", "Load Cnt", "Location", "Size"};
        for (const TDriverInfo& d : inv.Drivers)
            t.Rows.push_back({FileNameOf(d.Name.str()), Hex(d.Base), std::to_string(d.LoadCount), d.Name.str(),
                              std::to_string(d.Size)});
        break;
    case TInvList::Services:
        t.Captions = {"Display Name", "Status",  "Startup Type", "Name",        "Type",
                      "Image Name",   "Account", "Group",        "Dependencies"};
        for (const TServiceInfo& s : inv.Services)
            t.Rows.push_back({s.DisplayName.str(), ServiceStateName(s.Status), ServiceStartTypeName(s.Startup),
                              s.Name.str(), ServiceTypeName(s.Typ), s.ImageName.str(), s.ObjectName.str(),
                              s.Group.str(), s.DependOnService.str()});
        break;
    }
    return t;
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
