// Text form of a security identifier, "S-1-5-32-544".
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace orvex {

using TSidAuthority = std::array<std::uint8_t, 6>;  // big-endian, as stored in the SID

// "S-<revision>-<authority>-<sub-authority>...". The 48-bit authority is
// written in decimal when it fits 32 bits, otherwise as "0x" and twelve hex
// digits; sub-authorities are unsigned decimals.
std::string SidText(std::uint8_t revision, const TSidAuthority& authority,
                    std::span<const std::uint32_t> subAuthorities);

}  // namespace orvex
