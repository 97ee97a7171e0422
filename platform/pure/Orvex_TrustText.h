// The texts of a file's signature check, as every view shows them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvex {

enum class TTrustState : std::uint8_t {
    Signed,      // detail: the signer's name
    Unsigned,    // no signature, in the file or in a catalog
    NotTrusted,  // detail: the system's reason
    NotChecked   // detail: why
};

// "Signed: <signer>", "Unsigned", "Not trusted: <reason>" or
// "Not checked: <why>"; an empty detail reads "unknown".
std::string TrustText(TTrustState state, std::string_view detail);

}  // namespace orvex
