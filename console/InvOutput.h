// Output of the console collector through the standard handles: works on
// every system, with a console or redirected to a file or pipe. Every write
// passes at most MaxWriteBytes (console/pure/InvPieces.h).
#pragma once

#include <string>
#include <string_view>

namespace orvex::console {

enum class TStdStream { Out, Err };

// Writes Bytes as they are (UTF-8 output), to a console too; false when the
// handle is missing or a write fails, with the reason in GetLastError.
bool WriteBytes(TStdStream stream, std::string_view bytes);
// Writes a text of the program (ANSI code page) so that a console shows its
// characters: on the NT family as UTF-16 (WriteConsoleW), whatever the
// console's code page; on the 9x family in the console's own (OEM) code page.
// To a file or pipe it goes as it is. False as for WriteBytes.
bool WriteText(TStdStream stream, std::string_view text);

}  // namespace orvex::console
