// "Find handle or DLL": the handles whose object name and the modules whose
// base name or path contain a text, without regard to case, with the rows the
// Find window shows for them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/pure/DetailsText.h"
#include "engine/pure/OXI_Records.h"
#include "platform/pure/Orvex_StrUtils.h"
#include "platform/pure/Orvex_TextCase.h"

namespace orvex {

// One match: a handle, or a module (Module true, Handle its base address).
struct TFindHit {
    std::uint32_t ProcessID = 0;
    std::string ProcessName;
    bool Module = false;
    std::string Type;  // the object type's name, "DLL" for a module
    std::uintptr_t Handle = 0;
    std::string Name;  // object name; module path, or base name where the path is unknown
    friend bool operator==(const TFindHit&, const TFindHit&) = default;
};

inline constexpr const char* ModuleHitType = "DLL";

// Finds text in every handle's name and every process's module base names and
// paths (see TTextFinder; isLeadByte tells the lead bytes of the code page the
// texts are in): handles first, in list order, then modules, process by
// process. An empty text finds nothing. A handle's process name is the name
// of the process of its owner's identifier ("" when the list has none). A
// module is found by its base name too because its path may be unknown: a
// path in a folder whose name the ANSI code page cannot hold comes back with
// "?" in it, names no file and is not kept.
std::vector<TFindHit> FindHandlesAndModules(const TProcList& processes, const THandleList& handles,
                                            std::string_view text, TLeadBytePredicate isLeadByte = nullptr);

// Columns and rows of the result list; the process identifier in the family's
// base (see FormatProcessId).
inline constexpr TColumnDef FindColumns[] = {{"Process", 110},      {"PID", 55, TColumnAlign::Right},
                                             {"Type", 70},          {"Handle", 80},
                                             {"Name or Path", 330}, {"Signer", 200}};
inline constexpr int FindPidColumn = 1;
inline constexpr int FindTypeColumn = 2;
inline constexpr int FindHandleColumn = 3;
inline constexpr int FindNameColumn = 4;
// A module's signer, which the window fills in as its checks answer (empty
// here, and for handles).
inline constexpr int FindSignerColumn = 5;
TListRows FindRows(const std::vector<TFindHit>& hits, bool nt);

// The module files among hits, each once, with the hits of each: what the
// window checks.
struct THitFiles {
    std::vector<std::string> Paths;
    std::vector<std::vector<std::size_t>> Hits;  // by path: indices into hits
};
THitFiles ModuleHitFiles(const std::vector<TFindHit>& hits);

// "%d matches" for the Find window's status line.
std::string FindCountText(std::size_t count);

}  // namespace orvex
