// Conversions between the system's ANSI code page and UTF-16, for the places
// where the system hands out or takes wide characters.
#pragma once

#include <string>
#include <string_view>

namespace orvex {

std::string WideToAnsi(std::u16string_view text);
std::string WideToAnsi(std::wstring_view text);
std::wstring AnsiToWide(std::string_view text);

}  // namespace orvex
