// The names of the user running the program.
#pragma once

#include <string>

namespace orvex {

// GetUserNameA; empty when it fails.
std::string ReadUserName();

// The Winlogon value "AltDefaultUserName" of
// HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Winlogon; empty when the
// key or the value is missing.
std::string ReadAltDefaultUserName();

}  // namespace orvex
