// The text of a COM error as the program reports it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvex {

// The system's message for a result code without its trailing line break and
// blanks; when the system has none, "COM error 0x" and the code in eight
// upper-case hexadecimal digits.
std::string ComErrorText(std::string_view systemMessage, std::uint32_t code);

}  // namespace orvex
