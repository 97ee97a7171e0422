// A 32-bit program on 64-bit Windows (WoW64): whether this program is one,
// and the unredirected view of the system folder that it needs to read the
// files the system's own programs use.
#pragma once

#include <string>

namespace orvex {

// What a 32-bit program that runs without its 64-bit twin tells the user.
inline constexpr char Wow64ViewNotice[] = "32-bit view: paths and modules of 64-bit processes are not available";

// Whether this program runs in WoW64: the system's answer where it has the
// query (XP SP2 and later), false on every other system, and never asked on
// systems that are never 64-bit (the 9x family, NT 3 and 4, Windows 2000).
// Computed once.
bool IsWow64Program() noexcept;

// The name under which this program reads the file that 64-bit programs see
// at path. In WoW64 the system directory ("C:\Windows\System32") shows the
// 32-bit files of SysWOW64; a path below it is taken through the system's
// "Sysnative" alias, which shows the real folder (Vista and later; XP and
// Server 2003 x64 have it only with an update, and there the path stays as it
// is). Any other path, and every path outside WoW64, is returned unchanged.
std::string UnredirectedPath(const std::string& path);

}  // namespace orvex
