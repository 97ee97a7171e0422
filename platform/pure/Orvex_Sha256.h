// SHA-256 (FIPS 180-4) of a stream of bytes, for systems whose own crypto
// provider has none (before Windows XP SP3): the same digest on every
// system.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orvex {

class TSha256 {
public:
    TSha256() noexcept;
    // Adds bytes to the message.
    void Update(const void* data, std::size_t size) noexcept;
    void Update(std::string_view bytes) noexcept { Update(bytes.data(), bytes.size()); }
    // The digest of everything added; the object is spent afterwards.
    std::array<std::uint8_t, 32> Finish() noexcept;

private:
    void Block(const std::uint8_t* block) noexcept;

    std::array<std::uint32_t, 8> state_;
    std::array<std::uint8_t, 64> buffer_{};
    std::size_t buffered_ = 0;
    std::uint64_t length_ = 0;  // bytes added
};

// The digest in lower-case hexadecimal, as sha256sum writes it.
std::string DigestHex(const std::array<std::uint8_t, 32>& digest);

}  // namespace orvex
