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

TTextFinder::TTextFinder(std::string_view needle, TLeadBytePredicate isLeadByte) : needle_(needle) {
    if (isLeadByte)
        for (std::size_t b = 0; b < lead_.size(); ++b) lead_[b] = isLeadByte(static_cast<unsigned char>(b));
}

bool TTextFinder::MatchesAt(std::string_view haystack, std::size_t start) const noexcept {
    std::size_t h = start;
    for (std::size_t n = 0; n < needle_.size();) {
        if (h >= haystack.size()) return false;
        // A lead byte at the end of a text is a character of one byte: it
        // matches only a lead byte that also ends its text.
        const bool needleDouble = IsLead(needle_[n]) && n + 1 < needle_.size();
        const bool haystackDouble = IsLead(haystack[h]) && h + 1 < haystack.size();
        if (needleDouble != haystackDouble) return false;
        if (needleDouble) {
            if (haystack[h] != needle_[n] || haystack[h + 1] != needle_[n + 1]) return false;
            h += 2;
            n += 2;
            continue;
        }
        if (Upper(haystack[h]) != Upper(needle_[n])) return false;
        ++h;
        ++n;
    }
    return true;
}

bool TTextFinder::In(std::string_view haystack) const noexcept {
    if (needle_.empty()) return true;
    if (needle_.size() > haystack.size()) return false;
    // Starts at character boundaries only: past a lead byte, its trail byte.
    for (std::size_t start = 0; start + needle_.size() <= haystack.size();
         start += IsLead(haystack[start]) && start + 1 < haystack.size() ? 2 : 1)
        if (MatchesAt(haystack, start)) return true;
    return false;
}

bool ContainsText(std::string_view haystack, std::string_view needle, TLeadBytePredicate isLeadByte) {
    return TTextFinder(needle, isLeadByte).In(haystack);
}

}  // namespace orvex
