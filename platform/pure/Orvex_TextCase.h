// Case rules for comparing names: ASCII letters compare without regard to
// case, in the code page in force (ProcessCodePageRule): a trail byte of a
// double-byte character is never taken for a letter.
#pragma once

#include <string>
#include <string_view>

namespace orvex {

std::string UpperCase(std::string_view s);
bool SameText(std::string_view a, std::string_view b) noexcept;

}  // namespace orvex
