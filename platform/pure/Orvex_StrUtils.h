// Text routines shared by the platform layer and the user interface.
#pragma once

#include <string>
#include <string_view>

namespace orvex {

// Tells whether a byte starts a double-byte character of the active code page.
using TLeadBytePredicate = bool (*)(unsigned char);

// Removes leading and trailing blanks and control characters, then every
// space, then every CR LF pair.
std::string StripBlanks(std::string_view s);

// True when the 1-based Index names a "\" of s that is a single-byte
// character (not the trail byte of a double-byte character).
bool IsBackslashAt(std::string_view s, int index, TLeadBytePredicate isLeadByte = nullptr);

// s with a trailing "\" (unchanged when it already ends in one).
std::string AddTrailingBackslash(std::string_view s, TLeadBytePredicate isLeadByte = nullptr);

}  // namespace orvex
