#include "platform/pure/Orvex_TextCase.h"

#include "platform/pure/Orvex_CodePageRule.h"

namespace orvex {

namespace {

char Upper(char c) noexcept { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

// ASCII letters are folded only where they are characters of their own: the
// trail byte of a double-byte character (0x41 to 0x7A in code pages 932 to
// 950) stays as it is.
std::string UpperCase(std::string_view s) {
    const TCodePageRule& rule = ProcessCodePageRule();
    std::string out(s);
    for (std::size_t i = 0; i < out.size();) {
        const std::size_t length = CharacterLengthAt(s, i, rule);
        if (length == 1) out[i] = Upper(out[i]);
        i += length;
    }
    return out;
}

bool SameText(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size()) return false;
    const TCodePageRule& rule = ProcessCodePageRule();
    for (std::size_t i = 0; i < a.size();) {
        const std::size_t length = CharacterLengthAt(a, i, rule);
        if (length == 1) {
            if (Upper(a[i]) != Upper(b[i])) return false;
        } else if (a.substr(i, length) != b.substr(i, length)) {
            return false;
        }
        i += length;
    }
    return true;
}

}  // namespace orvex
