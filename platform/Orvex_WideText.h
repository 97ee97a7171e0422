// Conversions between the program's 8-bit texts (system ANSI code page) and
// the UTF-16 texts the system hands out or takes (object names, command
// lines, compound-file names and text properties).
#pragma once

#include <string>
#include <string_view>

namespace orvex {

// An empty result for an empty text or one the system cannot convert.
std::wstring AnsiToWide(std::string_view s);
std::string WideToAnsi(std::wstring_view s);
std::string WideToAnsi(std::u16string_view s);
// A zero-terminated UTF-16 text from the platform; null gives "".
std::string WideToAnsi(const wchar_t* s);
// An 8-bit text of the program as UTF-8 (for exported files and console
// output); "" when the system cannot convert it.
std::string AnsiToUtf8(std::string_view s);

}  // namespace orvex
