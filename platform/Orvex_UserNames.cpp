#include "platform/Orvex_UserNames.h"

#include <windows.h>

#include "platform/Orvex_Registry.h"

namespace orvex {

std::string ReadUserName() {
    char buf[256] = {};
    DWORD size = 255;
    if (!GetUserNameA(buf, &size)) return std::string();
    return buf;
}

std::string ReadAltDefaultUserName() {
    std::string name;
    ReadRegistryText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon",
                     "AltDefaultUserName", name);
    return name;
}

}  // namespace orvex
