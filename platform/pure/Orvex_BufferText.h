// Texts inside a buffer that the system filled and that points into itself
// (service configurations, service enumerations). Every reader checks a
// text's address and its end against the buffer before it uses it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace orvex {

// The zero-terminated text at address, when address lies inside the buffer
// [base, base + size) and the text's terminating zero does too.
std::optional<std::string_view> TextInBuffer(const void* base, std::size_t size, std::uintptr_t address);

// The length in bytes of the list of zero-terminated texts at address, up to
// and including the empty text that ends the list ("a\0b\0\0" gives 5, "\0"
// gives 1), when all of it lies inside the buffer.
std::optional<std::size_t> TextListInBuffer(const void* base, std::size_t size, std::uintptr_t address);

}  // namespace orvex
