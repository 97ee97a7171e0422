// The Windows version mode a Wine test executable runs in ("modern", "win98",
// "nt40", "win10"), taken from its --orvex-mode= argument.
#pragma once

#include <string>

namespace orvex::test {

const std::string& Mode();
inline bool IsMode(const char* name) { return Mode() == name; }
// Directory of the running test executable, with a trailing backslash.
std::string ExeDir();

}  // namespace orvex::test
