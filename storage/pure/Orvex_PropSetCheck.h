// Layout check of a property-set stream (the serialized form of one property
// set inside a compound file) before the platform's property code parses it.
//
// Reports are files from anywhere. Some implementations of the platform's
// property code trust the counts and offsets of a set (Wine's, for one: a
// text of length 0 makes it write before its buffer, a property count beyond
// the section makes it read past it, and a vector of fixed-size elements
// corrupts its heap even when the elements fit), so a report reader hands a
// set to the platform only after this check has walked every part of it.
// The check accepts nothing but what the report writer and the platform's
// own bookkeeping put into a set: whatever else a set may hold is refused,
// however well formed, because no reader here needs it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace orvex {

// Largest property-set stream accepted. A simple set holds at most 256 KB.
inline constexpr std::size_t MaxPropertySetStreamSize = std::size_t{256} * 1024;

// The 8-bit code page of a section (property 1) that the system can convert
// from; the platform answers this one.
using TCodePageCheck = bool (*)(std::uint32_t codePage);

// True when Stream is a property-set stream as the report writer makes it,
// and is laid out soundly:
// - byte order mark FFFE, format 0 or 1, exactly one section, at most
//   MaxPropertySetStreamSize bytes; the section and every property offset
//   lie inside the stream;
// - property 1 (the code page) is present once, a 16-bit integer naming an
//   8-bit code page that UsableCodePage accepts (never UTF-16: the writer
//   makes its sets in the system ANSI code page);
// - property 0 (the name dictionary) appears at most once, its entries
//   zero-terminated 8-bit names that fit;
// - property 0x80000000 (the locale) and 0x80000003 (the behaviour flags),
//   which the platform may add, are 32-bit unsigned integers;
// - every other property has an id from 2 to 0x7FFFFFFF and is a 64-bit
//   integer (VT_I8), a file time (VT_FILETIME) or a UTF-16 text (VT_LPWSTR)
//   counting and ending with its terminating zero.
// Anything else is refused: vectors, arrays, references, blobs, streams,
// storages, clipboard data, variants, 8-bit texts, other scalar types and
// type words with their upper half set. An empty stream (a set without
// properties) is sound.
bool IsSoundPropertySetStream(std::span<const std::uint8_t> stream, TCodePageCheck usableCodePage) noexcept;

}  // namespace orvex
