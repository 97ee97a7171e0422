// Comma-separated values as RFC 4180 writes them, for exported lists.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvex {

// The byte-order mark that starts a UTF-8 file, so that spreadsheet programs
// read the file as UTF-8.
inline constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";

// One field: in double quotes, with each quote doubled, when it holds a
// comma, a quote, CR or LF, or starts or ends with a blank or tab (which
// readers would otherwise trim); as it is otherwise. A field that starts
// with =, +, -, @, tab or CR gets a leading apostrophe first, so that a
// spreadsheet opening the file shows the text instead of evaluating it.
std::string CsvField(std::string_view field);

// The fields separated by commas and ended by CR LF.
std::string CsvRow(const std::vector<std::string>& fields);

}  // namespace orvex
