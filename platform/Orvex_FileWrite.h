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
// The old file stays as it was until the new one is complete; the new one
// takes over the old one's attributes and, where the system has the replace
// call (ReplaceFile: NT 5 and later, bound at run time), its security,
// creation time and short name too. Returns 0, or the system's error code of
// the step that failed; on failure the temporary file is gone and FileName
// is as it was, except when the old file was moved aside and could not be
// put back: KeptAs (when given) then receives the name it has now.
DWORD WriteWholeFile(const std::string& fileName, std::string_view contents, std::string* keptAs = nullptr) noexcept;

// The same for a file that Write produces: Write is given the name of a new,
// empty file in FileName's folder and answers 0 or the system's error code
// (it must not raise); that file then takes FileName's place as above.
DWORD ReplaceFileWith(const std::string& fileName, const std::function<DWORD(const char* tempName)>& write,
                      std::string* keptAs = nullptr) noexcept;

// What a message about a failed replacement adds when the old file could not
// be put back: " The previous file is now <KeptAs>."; empty when it could.
std::string KeptAsNote(const std::string& keptAs);

}  // namespace orvex
