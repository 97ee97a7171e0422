#include "app/pure/SvcDetailsRows.h"

#include "platform/pure/Orvex_NameTables.h"
#include "platform/pure/Orvex_TextCase.h"

namespace orvex {

TPropertyRows ServiceGeneralRows(const TServiceInfo& s, const TVersionInfo& version) {
    TPropertyRows rows;
    AddVersionRows(rows, version);
    rows.push_back(HeadingRow("Service Name", s.Name));
    rows.push_back(PlainRow("Image Name", s.ImageName));
    rows.push_back(PlainRow("Log On As ", s.ObjectName));
    rows.push_back(PlainRow("Load Order Group", s.Group));
    rows.push_back(PlainRow("Type", ServiceTypeName(s.Typ)));
    rows.push_back(SeparatorRow());
    rows.push_back(HeadingRow("Status", ServiceStateName(s.Status)));
    rows.push_back(PlainRow("Startup Mode", ServiceStartTypeName(s.Startup)));
    rows.push_back(PlainRow("Error Control", ServiceErrorControlName(s.ErrCtrl)));
    return rows;
}

std::vector<std::string> SplitServiceNames(std::string_view text) {
    const auto isSeparator = [](char c) { return c == ',' || static_cast<unsigned char>(c) <= ' '; };
    std::vector<std::string> names;
    std::size_t i = 0;
    while (i < text.size()) {
        if (isSeparator(text[i])) {
            ++i;
            continue;
        }
        std::string name;
        if (text[i] == '"') {
            ++i;
            while (i < text.size()) {
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        name += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                name += text[i++];
            }
        } else {
            while (i < text.size() && !isSeparator(text[i])) name += text[i++];
        }
        names.push_back(std::move(name));
    }
    return names;
}

bool DependsOnService(std::string_view dependOnService, std::string_view name) {
    for (const std::string& entry : SplitServiceNames(dependOnService))
        if (SameText(entry, name)) return true;
    return false;
}

}  // namespace orvex
