#include "platform/pure/Orvex_SidText.h"

#include <cstdio>

namespace orvex {

std::string SidText(std::uint8_t revision, const TSidAuthority& authority,
                    std::span<const std::uint32_t> subAuthorities) {
    std::string s = "S-" + std::to_string(revision) + "-";
    if (authority[0] != 0 || authority[1] != 0) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%02X%02X%02X%02X%02X%02X", authority[0], authority[1], authority[2],
                      authority[3], authority[4], authority[5]);
        s += hex;
    } else {
        std::uint32_t value = 0;
        for (std::size_t i = 2; i < authority.size(); ++i) value = (value << 8) | authority[i];
        s += std::to_string(value);
    }
    for (std::uint32_t sub : subAuthorities) s += "-" + std::to_string(sub);
    return s;
}

}  // namespace orvex
