// Case rules for comparing names: ASCII letters compare without regard to case.
#pragma once

#include <string>
#include <string_view>

namespace orvex {

std::string UpperCase(std::string_view s);
bool SameText(std::string_view a, std::string_view b) noexcept;

}  // namespace orvex
