// Case rules for comparing names: ASCII letters compare without regard to
// case, in the code page in force (ProcessCodePageRule): a trail byte of a
// double-byte character is never taken for a letter.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "platform/pure/Orvex_StrUtils.h"

namespace orvex {

std::string UpperCase(std::string_view s);
bool SameText(std::string_view a, std::string_view b) noexcept;

// Finds a text inside others, without regard to the case of ASCII letters,
// character by character in a code page: isLeadByte, when given, tells the
// lead bytes of double-byte characters (code pages 932, 936, 949 and 950).
// A double-byte character matches only the same two bytes and a match starts
// only where a character starts, so a trail byte is never folded (0x83 0x61
// is no "a") nor taken for a character of its own (the 0x5C of 0x95 0x5C is
// no backslash). UTF-8 needs no predicate: no byte of a character of two or
// more bytes is below 0x80, and a whole character cannot match inside another.
class TTextFinder {
public:
    explicit TTextFinder(std::string_view needle, TLeadBytePredicate isLeadByte = nullptr);

    // Whether haystack contains the needle; every text contains "".
    bool In(std::string_view haystack) const noexcept;

private:
    bool MatchesAt(std::string_view haystack, std::size_t start) const noexcept;
    bool IsLead(char c) const noexcept { return lead_[static_cast<unsigned char>(c)]; }

    std::string needle_;
    // The predicate asked once per byte value: a search runs over every
    // handle and module of the system.
    std::array<bool, 256> lead_{};
};

// TTextFinder(needle, isLeadByte).In(haystack).
bool ContainsText(std::string_view haystack, std::string_view needle, TLeadBytePredicate isLeadByte = nullptr);

}  // namespace orvex
