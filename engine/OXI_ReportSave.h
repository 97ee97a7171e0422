// Saving a report so that a failure never costs the old one: the report is
// written to a new file beside the target, which takes the target's place
// only when complete.
#pragma once

#include <string>

namespace orvex {

class TOrvex_OXIC_Component;

// Writes the component's report into a new temporary file in FileName's
// folder and then puts it in FileName's place (replacing an existing file,
// whose attributes and security the new one keeps: ReplaceFileWith). On
// failure the temporary file is deleted and FileName is left as it was; what
// the save raised is raised again, and a failed replacement raises TComError
// with the system's code (a runtime_error that also says where the old file
// is, where it was moved aside and could not be put back).
void SaveReportReplacing(TOrvex_OXIC_Component& component, const std::string& fileName);

}  // namespace orvex
