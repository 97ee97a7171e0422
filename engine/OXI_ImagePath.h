// Path helpers of the process and module collectors, in the system's ANSI
// code page.
#pragma once

#include <string>
#include <string_view>

namespace orvex {

// The file-name part of an ANSI path (after the last backslash or colon).
std::string_view ExecutableFileName(std::string_view path) noexcept;

// The characters of a fixed text buffer up to its first zero byte, at most
// capacity and at most length (the count a call reported).
std::string BoundedText(const char* buffer, std::size_t capacity, std::size_t length);
template <std::size_t N>
std::string BoundedText(const char (&buffer)[N]) {
    return BoundedText(buffer, N, N);
}

}  // namespace orvex
