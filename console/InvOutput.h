// Output of the console collector through the standard handles: works on
// every system, with a console or redirected to a file or pipe.
#pragma once

#include <string>
#include <string_view>

namespace orvex::console {

enum class TStdStream { Out, Err };

// Writes Bytes as they are (UTF-8 output); false when the handle is missing
// or a write fails.
bool WriteBytes(TStdStream stream, std::string_view bytes);
// Writes a text of the program (system code page): to a console in the
// console's own (OEM) code page, to a file or pipe as it is.
bool WriteText(TStdStream stream, std::string_view text);

}  // namespace orvex::console
