// Latin-1 to UTF-8: a converter of the tests that stands in for the system's
// code page where exported texts are converted.
#pragma once

#include <string>
#include <string_view>

namespace orvex::test {

inline std::string Latin1ToUtf8(std::string_view s) {
    std::string out;
    for (char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | u >> 6);
            out += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return out;
}

}  // namespace orvex::test
