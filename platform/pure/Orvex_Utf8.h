// UTF-8 encoding of UTF-16 text, and repair of text that should be UTF-8.
// The encoding is done here rather than by the system's code page CP_UTF8,
// which the first releases of Windows 95 do not convert to.
#pragma once

#include <string>
#include <string_view>

namespace orvex {

// UTF-16 as UTF-8; a surrogate without its partner becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view s);

// S with every byte sequence that is not well-formed UTF-8 (stray
// continuation bytes, cut, overlong or surrogate sequences, code points
// beyond U+10FFFF) replaced by U+FFFD; well-formed text is returned as it is.
std::string ValidUtf8(std::string_view s);

}  // namespace orvex
