// The files behind the paths the system reports for kernel modules and
// services.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/pure/Orvex_StrUtils.h"

namespace orvex {

// A DOS path for the module path the system reports: "\SystemRoot\..." in
// the Windows directory, "\??\C:\..." without its prefix, "\Windows\..." on
// the Windows directory's drive, a relative path below the Windows
// directory; anything else unchanged. windowsDirectory is "C:\Windows" or
// the like (no trailing backslash needed).
std::string DriverFilePath(std::string_view path, std::string_view windowsDirectory);

// The files a service's command line (held without its double quotes) may
// start, in the order the system tries them: the text up to each blank,
// shortest first, then the whole text; ".exe" appended to a name whose file
// part has no extension. isLeadByte tells the lead bytes of double-byte
// characters (see FileNamePart).
std::vector<std::string> ServiceFileCandidates(std::string_view commandLine, TLeadBytePredicate isLeadByte = nullptr);

}  // namespace orvex
