// The texts of the comparison dialog: its caption, the line that says what
// was compared with what, and CSV documents of rows.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orvex::app {

// One side of a comparison: live data, or a report file, with the machine
// it describes and when it was saved.
struct TCompareSide {
    bool Live = false;
    std::string FileName;  // the report's path; only its file name is shown
    std::string Machine;
    std::string Saved;  // ISO 8601 local time ("2026-12-08T10:15:00"), "" when unknown
};

// "Compare with name.ivs".
std::string CompareCaption(std::string_view reportPath);

// "Report a.ivs (MACHINE, saved 2026-12-08 10:15:00) compared with live data
// of MACHINE: 3 differences"; "1 difference"; "no differences".
std::string CompareSummary(const TCompareSide& before, const TCompareSide& after, std::size_t differences);

// The text of a CSV file: the UTF-8 byte-order mark, then one line per row
// (RFC 4180). The fields are UTF-8 already.
std::string CsvDocument(const std::vector<std::vector<std::string>>& rows);

}  // namespace orvex::app
