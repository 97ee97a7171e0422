// The files a name with wildcards names, as command-line programs of Windows
// expand them themselves (the system's shell passes patterns on as written).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace orvex {

// The files (not folders) that pattern's file-name part matches, each with
// pattern's folder part as written, sorted by name without regard to ASCII
// case, in files. ERROR_SUCCESS when at least one was found; otherwise the
// system's error (ERROR_FILE_NOT_FOUND when none matches) and files is left
// as it is.
DWORD FindMatchingFiles(const std::string& pattern, std::vector<std::string>& files);

}  // namespace orvex
