#include "platform/pure/Orvex_Csv.h"

namespace orvex {

namespace {

bool IsBlank(char c) noexcept { return c == ' ' || c == '\t'; }

// The characters with which a spreadsheet starts a formula (or, for tab and
// CR, which some readers strip before looking for one).
bool StartsFormula(std::string_view field) noexcept {
    return !field.empty() && std::string_view("=+-@\t\r").find(field.front()) != std::string_view::npos;
}

}  // namespace

std::string CsvField(std::string_view field) {
    if (StartsFormula(field)) return CsvField(std::string("'").append(field));
    const bool quote = field.find_first_of(",\"\r\n") != std::string_view::npos ||
                       (!field.empty() && (IsBlank(field.front()) || IsBlank(field.back())));
    if (!quote) return std::string(field);
    std::string text;
    text.reserve(field.size() + 2);
    text += '"';
    for (char c : field) {
        if (c == '"') text += '"';
        text += c;
    }
    text += '"';
    return text;
}

std::string CsvRow(const std::vector<std::string>& fields) {
    std::string row;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i != 0) row += ',';
        row += CsvField(fields[i]);
    }
    row += "\r\n";
    return row;
}

}  // namespace orvex
