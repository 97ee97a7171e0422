#include "platform/pure/Orvex_BufferText.h"

#include <cstring>

namespace orvex {

namespace {

// The bytes from address to the end of the buffer, empty when address lies outside.
std::string_view Rest(const void* base, std::size_t size, std::uintptr_t address) {
    const auto start = reinterpret_cast<std::uintptr_t>(base);
    if (!base || address < start || address - start >= size) return {};
    return {static_cast<const char*>(base) + (address - start), size - (address - start)};
}

}  // namespace

std::optional<std::string_view> TextInBuffer(const void* base, std::size_t size, std::uintptr_t address) {
    const std::string_view rest = Rest(base, size, address);
    const std::size_t end = rest.find('\0');
    if (end == std::string_view::npos) return std::nullopt;
    return rest.substr(0, end);
}

std::optional<std::size_t> TextListInBuffer(const void* base, std::size_t size, std::uintptr_t address) {
    const std::string_view rest = Rest(base, size, address);
    for (std::size_t at = 0; at < rest.size();) {
        const std::size_t end = rest.find('\0', at);
        if (end == std::string_view::npos) return std::nullopt;
        if (end == at) return end + 1;  // the empty text ends the list
        at = end + 1;
    }
    return std::nullopt;
}

}  // namespace orvex
