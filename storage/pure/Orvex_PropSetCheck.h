// Layout check of a property-set stream (the serialized form of one property
// set inside a compound file) before the platform's property code parses it.
//
// Reports are files from anywhere. Some implementations of the platform's
// property code trust the counts and offsets of a set (Wine's, for one: a
// text of length 0 makes it write before its buffer, a property count beyond
// the section makes it read past it), so a report reader hands a set to the
// platform only after this check has walked every part of it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace orvex {

// Largest property-set stream accepted. A simple set holds at most 256 KB.
inline constexpr std::size_t MaxPropertySetStreamSize = 256 * 1024;

// The code page of a section (property 1) other than UTF-16 (1200) that the
// system can convert from; the platform answers this one.
using TCodePageCheck = bool (*)(std::uint32_t codePage);

// True when Stream is a property-set stream (byte order mark FFFE, format 0
// or 1, one or two sections) of at most MaxPropertySetStreamSize bytes whose
// sections lie inside the stream, whose property offsets lie inside their
// section, whose code page is UTF-16 or one that UsableCodePage accepts,
// whose name dictionary entries are zero-terminated and fit, and whose
// values are of the simple types with lengths that fit: integers, reals,
// booleans, file times, class ids, 8-bit and UTF-16 texts (counting at least
// their terminating zero), blobs and clipboard data, and vectors of these
// or of variants holding them. An empty stream (a set without properties)
// is sound. Values are walked the way the platform walks them: 8-bit texts,
// UTF-16 texts and clipboard data padded to four bytes, blobs unpadded.
bool IsSoundPropertySetStream(std::span<const std::uint8_t> stream, TCodePageCheck usableCodePage) noexcept;

}  // namespace orvex
