// Writing a whole file so that no half-written file is ever left behind: the
// contents go to a temporary file in the target's folder, which then takes
// the target's name.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace orvex {

// Writes Contents as the whole of FileName, replacing a file of that name.
// The old file stays as it was until the new one is complete. Returns 0, or
// the system's error code of the step that failed; on failure the temporary
// file is gone and FileName is as it was.
DWORD WriteWholeFile(const std::string& fileName, std::string_view contents) noexcept;

// The same for a file that Write produces: Write is given the name of a new,
// empty file in FileName's folder and answers 0 or the system's error code
// (it must not raise); that file then takes FileName's place as above.
DWORD ReplaceFileWith(const std::string& fileName, const std::function<DWORD(const char* tempName)>& write) noexcept;

}  // namespace orvex
