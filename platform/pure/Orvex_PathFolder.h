// The folder a path lies in: its length, and replacing it, for the views of
// the file system that differ between a 32-bit and a 64-bit program
// (System32 and its "Sysnative" alias).
#pragma once

#include <string>
#include <string_view>

#include "platform/pure/Orvex_StrUtils.h"

namespace orvex {

// When path is folder or lies below it (folder followed by a backslash),
// out receives replacement followed by the rest of path, and the answer is
// true; otherwise out is left as it is. Characters compare as a file system
// compares names: ASCII letters without regard to case, every other byte as
// it is. isLeadByte tells the lead bytes of double-byte characters, whose
// trail bytes (which may be a backslash or an ASCII letter) are part of the
// character; a trailing backslash of folder is ignored.
bool ReplaceLeadingFolder(std::string_view path, std::string_view folder, std::string_view replacement,
                          TLeadBytePredicate isLeadByte, std::string& out);

// The position of the last byte of path that is one of separators and a
// character of its own (never the trail byte of a double-byte character);
// npos when there is none. isLeadByte as above.
std::size_t LastSeparator(std::string_view path, std::string_view separators, TLeadBytePredicate isLeadByte) noexcept;

// The length of the folder part of path: up to its last separator (a
// backslash, a slash or a colon; the trail byte of a double-byte character is
// never one); a root keeps its separator (the drive's root, the root of the
// current drive, and "C:" of a path relative to drive C). npos when path
// names no folder. isLeadByte as above.
std::size_t FolderPartLength(std::string_view path, TLeadBytePredicate isLeadByte);

// Whether the file-name part of path holds a wildcard ('*' or '?' as a
// character of its own). isLeadByte as above.
bool HasWildcards(std::string_view path, TLeadBytePredicate isLeadByte) noexcept;

}  // namespace orvex
