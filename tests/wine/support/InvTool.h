// The console collector orvexinv.exe as the Wine tests start it.
#pragma once

#include <string>

#include "tests/wine/support/TestMode.h"

namespace orvex::test {

// The tool of this mode: the copy named for the mode's Windows version where
// there is one (Wine reports the version by file name).
inline std::string InvToolPath() {
    const std::string dir = ExeDir() + "..\\..\\console\\";
    if (IsMode("nt40")) return dir + "orvexinv_nt40.exe";
    if (IsMode("win98")) return dir + "orvexinv_win98.exe";
    return dir + "orvexinv.exe";
}

}  // namespace orvex::test
