#include "storage/pure/Orvex_ComErrorText.h"

#include <cstdio>

namespace orvex {

std::string ComErrorText(std::string_view systemMessage, std::uint32_t code) {
    while (!systemMessage.empty() && static_cast<unsigned char>(systemMessage.back()) <= ' ')
        systemMessage.remove_suffix(1);
    if (!systemMessage.empty()) return std::string(systemMessage);
    char buf[32];
    std::snprintf(buf, sizeof buf, "COM error 0x%08X", static_cast<unsigned>(code));
    return buf;
}

}  // namespace orvex
