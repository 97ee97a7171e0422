// Structure check of a whole compound file before the platform opens it.
//
// The platform's compound-file code follows the file's sector chains and
// directory links as they stand. Wine's does so without guarding against
// loops: a report cut short (its last directory sectors missing, so that
// links read as 0, the root) makes opening an element loop for ever. A report
// reader therefore checks the file first, and a report writer checks an
// existing file before it opens it to write into it. Only what the
// platform itself writes passes: whatever it would merely tolerate on
// reading may break it once it starts writing into the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace orvex {

// True when File is a compound file (version 3 with 512-byte sectors or
// version 4 with 4096-byte sectors) whose sector allocation table, directory,
// mini allocation table and mini stream, and the sector chains of every
// stream reachable from the root, lie wholly inside the file, end, and hold
// at least as many sectors as their sizes need; whose allocation table
// marks its own sectors and those of its index as such, with no chain
// running through them; and whose directory tree from the root reaches
// every entry at most once, through ids inside the directory, and only
// entries that are storages or streams, named by one to 31 characters that
// end with the name's only zero, streams without children and, in version
// 3, with sizes of 32 bits.
bool IsSoundCompoundFile(std::span<const std::uint8_t> file) noexcept;

}  // namespace orvex
