// Saving a report so that a failure leaves no partial file behind.
#pragma once

#include <string>

namespace orvex {
class TOrvex_ProcessList;
}

namespace orvex::console {

// Writes the component's report into a new temporary file in FileName's
// folder and then puts it in FileName's place (replacing an existing file).
// On failure the temporary file is deleted, FileName is left as it was, and
// the result is false with Error holding the reason.
bool SaveReportReplacing(TOrvex_ProcessList& component, const std::string& fileName, std::string& error);

}  // namespace orvex::console
