#include "platform/pure/Orvex_CodePageRule.h"

namespace orvex {

namespace {

TCodePageRule& Rule() noexcept {
    static TCodePageRule rule;
    return rule;
}

// The length a UTF-8 lead byte announces; 1 for a byte that is no lead.
std::size_t Utf8SequenceLength(unsigned char c) noexcept {
    if (c >= 0xF0 && c <= 0xF4) return 4;
    if (c >= 0xE0) return c <= 0xEF ? 3 : 1;
    if (c >= 0xC2) return 2;
    return 1;
}

bool IsContinuation(unsigned char c) noexcept { return (c & 0xC0) == 0x80; }

}  // namespace

const TCodePageRule& ProcessCodePageRule() noexcept { return Rule(); }

void SetProcessCodePageRule(const TCodePageRule& rule) noexcept { Rule() = rule; }

std::size_t CharacterLengthAt(std::string_view s, std::size_t i, const TCodePageRule& rule) noexcept {
    if (i >= s.size()) return 0;
    const auto c = static_cast<unsigned char>(s[i]);
    std::size_t length = 1;
    if (rule.Utf8) {
        length = Utf8SequenceLength(c);
        // A sequence that is cut short or broken is taken byte by byte.
        for (std::size_t k = 1; k < length; ++k)
            if (i + k >= s.size() || !IsContinuation(static_cast<unsigned char>(s[i + k]))) return 1;
    } else if (rule.IsLeadByte && rule.IsLeadByte(c)) {
        length = 2;
    }
    return i + length <= s.size() ? length : s.size() - i;
}

std::size_t CharacterCutLength(std::string_view s, std::size_t max, const TCodePageRule& rule) noexcept {
    if (s.size() <= max) return s.size();
    std::size_t end = 0;
    while (end < max) {
        const std::size_t next = end + CharacterLengthAt(s, end, rule);
        if (next > max) break;
        end = next;
    }
    return end;
}

}  // namespace orvex
