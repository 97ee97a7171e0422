// How the texts of this process are made of characters: the ANSI code page
// in force is single-byte (1252, 1251), double-byte (932, 936, 949, 950:
// a lead byte and a trail byte, which may be a backslash or an ASCII letter)
// or UTF-8 (65001, the active code page a program's manifest can ask for on
// Windows 10 1903 and later). Cutting, comparing and case-folding texts must
// never split a character or touch a trail byte.
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/pure/Orvex_StrUtils.h"

namespace orvex {

struct TCodePageRule {
    TLeadBytePredicate IsLeadByte = nullptr;  // double-byte code pages
    bool Utf8 = false;
};

// The rule of the code page in force; single-byte until the platform layer
// sets it at program start.
const TCodePageRule& ProcessCodePageRule() noexcept;
void SetProcessCodePageRule(const TCodePageRule& rule) noexcept;

// The length of the longest start of s that has at most max bytes and ends
// on a character boundary of rule's code page (a double-byte character or a
// UTF-8 sequence is kept whole or left out whole).
std::size_t CharacterCutLength(std::string_view s, std::size_t max, const TCodePageRule& rule) noexcept;

// The byte length of the character that starts at s[i] (1 for a byte that
// starts no longer character, and never past the end of s).
std::size_t CharacterLengthAt(std::string_view s, std::size_t i, const TCodePageRule& rule) noexcept;

}  // namespace orvex
