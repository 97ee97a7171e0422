// The text of a COM error as the program reports it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvex {

// The error report's text for a result code: the system's message, read
// without filling its inserts, followed by the code as " (0x80030002)";
// when the system has no message, "COM error 0x" and the code. The code is
// written in eight upper-case hexadecimal digits. The message loses its
// trailing line break and blanks, and its insert sequences ("%1", "%2!s!"),
// for which no values exist, are taken out with the blank they leave; the
// escapes "%%", "%n", "%." and "%!" become the characters they stand for and
// "%0" ends the message.
std::string ComErrorText(std::string_view systemMessage, std::uint32_t code);

// The system's message with its insert sequences taken out and its escapes
// resolved, as above, trimmed of blanks at both ends.
std::string MessageWithoutInserts(std::string_view systemMessage);

}  // namespace orvex
