#include "platform/pure/Orvex_TrustText.h"

namespace orvex {

namespace {

constexpr std::string_view SignedPrefix = "Signed: ";
constexpr std::string_view UnsignedText = "Unsigned";
constexpr std::string_view NotTrustedPrefix = "Not trusted: ";
constexpr std::string_view NotCheckedPrefix = "Not checked: ";

std::string WithDetail(std::string_view prefix, std::string_view detail) {
    std::string text(prefix);
    text += detail.empty() ? std::string_view("unknown") : detail;
    return text;
}

}  // namespace

std::string TrustText(TTrustState state, std::string_view detail) {
    switch (state) {
    case TTrustState::Signed:
        return WithDetail(SignedPrefix, detail);
    case TTrustState::Unsigned:
        return std::string(UnsignedText);
    case TTrustState::NotTrusted:
        return WithDetail(NotTrustedPrefix, detail);
    case TTrustState::NotChecked:
        break;
    }
    return WithDetail(NotCheckedPrefix, detail);
}

}  // namespace orvex
