// Reading the version resource of an executable file.
#pragma once

#include <string>

#include "platform/pure/Orvex_VersionData.h"

namespace orvex {

// Resets Info, sets its FileName and fills it from the file's version
// resource: the eight numbers from the fixed information and the string
// values from the table of the first translation. False when the file has
// no readable version resource; Info then holds only the FileName.
bool ReadVersionInfo(const std::string& fileName, TVersionInfo& info);

}  // namespace orvex
