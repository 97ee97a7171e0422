// Names and paths of processes and modules: the names given to processes
// whose executable cannot be read, the file-name and directory parts of a
// path, and the names tried when completing an executable path.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/pure/Orvex_StrUtils.h"

namespace orvex {

// The names of the two kernel processes whose executable cannot be read.
inline constexpr std::string_view IdleProcessName = "[System Idle Process]";
inline constexpr std::string_view SystemProcessName = "System";

// The name a process gets when no collector found one: the idle name for
// identifier 0, the system name for identifiers 1 to 9, "" otherwise.
std::string_view FallbackProcessName(std::uint32_t pid) noexcept;

// Everything after the last backslash or colon (the whole text when there
// is neither). isLeadByte, when given, tells the lead bytes of double-byte
// characters, so that a trail byte equal to "\" is not a separator.
std::string_view FileNamePart(std::string_view path, TLeadBytePredicate isLeadByte = nullptr) noexcept;
// Everything up to and including the last backslash or colon ("" when
// there is neither).
std::string_view DirectoryPart(std::string_view path, TLeadBytePredicate isLeadByte = nullptr) noexcept;

// The names to try, in order, when path names no existing file: path itself,
// then path appended to each non-empty directory of
// "<directory part of path>;<searchPath>" (a backslash inserted after a
// directory that ends in neither a backslash nor a colon). An empty path
// gives no names.
std::vector<std::string> ImagePathCandidates(std::string_view path, std::string_view searchPath,
                                             TLeadBytePredicate isLeadByte = nullptr);

}  // namespace orvex
