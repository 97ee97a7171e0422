// The pieces in which the console collector writes its output: the consoles
// of Windows XP and 7 refuse one write of much more than 8 KB (WriteFile and
// WriteConsole fail with ERROR_NOT_ENOUGH_MEMORY, the console's shared heap
// being small), and a piece must not end inside a character, which a console
// would show as two wrong ones.
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/pure/Orvex_StrUtils.h"

namespace orvex::console {

// The most bytes one write passes.
inline constexpr std::size_t MaxWriteBytes = 8192;

// Each returns the length of the first piece of a text that is not empty: at
// most limit (1 or more) units, all of the text when it fits, and ending at a
// character boundary unless a single character is longer than limit.

// Texts of a code page whose double-byte characters isLeadByte tells (null
// for single-byte code pages).
std::size_t CodePagePieceLength(std::string_view text, std::size_t limit, TLeadBytePredicate isLeadByte) noexcept;
// UTF-8: a piece never ends before a continuation byte.
std::size_t Utf8PieceLength(std::string_view text, std::size_t limit) noexcept;
// UTF-16 (limit in code units): a piece never ends between a surrogate pair.
std::size_t Utf16PieceLength(std::wstring_view text, std::size_t limit) noexcept;

}  // namespace orvex::console
