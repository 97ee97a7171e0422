// What the list pages of the process details dialog show: modules, threads,
// child processes, security token, handles and the window tree, with the
// counted page captions.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/pure/DetailsText.h"
#include "engine/pure/OXI_Records.h"

namespace orvex {

// Captions that carry the number of entries of their page.
std::string ModulesCaption(std::size_t count);     // " Modules (%d) "
std::string ThreadsCaption(std::uint32_t count);   // " Threads (%d) "
std::string ChildProcsCaption(std::size_t count);  // " Child Procs (%d) "
std::string HandlesCaption(std::size_t count);     // " Handles (%d) "
std::string WindowsCaption(std::size_t count);     // " Windows (%d) "

// Columns of addresses: wide enough for the program's own pointers.
inline constexpr int AddressColumnWidth = sizeof(std::uintptr_t) > 4 ? 120 : 80;

// Modules: name; size; base and entry addresses; full path.
inline constexpr TColumnDef ModuleColumns[] = {{"Name", 125},
                                               {"Size [B]", 75, TColumnAlign::Right},
                                               {"Base Address", AddressColumnWidth},
                                               {"Entry Point", AddressColumnWidth},
                                               {"Location", 270},
                                               {"Signer", 200}};
// The column of the base address, which names a module within its process.
inline constexpr int ModuleBaseColumn = 2;
// The column of the full path, the one the properties sheet opens.
inline constexpr int ModulePathColumn = 4;
// The column of the module file's signer.
inline constexpr int ModuleSignerColumn = 5;
TListRows ModuleRows(const TModuleList& modules);

// Threads.
inline constexpr TColumnDef ThreadColumns[] = {{"ID", 50},
                                               {"Start Address", AddressColumnWidth},
                                               {"Base Pri", 55, TColumnAlign::Right},
                                               {"Dyn Pri", 50, TColumnAlign::Right},
                                               {"State", 100},
                                               {"CntxSwitch Cnt", 85, TColumnAlign::Right},
                                               {"Kernel Time", 70},
                                               {"User Time", 70}};
inline constexpr std::size_t ThreadColumnCount = std::size(ThreadColumns);
// The widths of the thread columns: the declared ones on the NT family; on
// the 9x family a wider ID and only the two priorities besides it.
std::array<int, ThreadColumnCount> ThreadColumnWidths(bool nt);
// "Wait:UserRequest" for a waiting thread, the state name alone otherwise.
std::string ThreadStateText(std::uint32_t threadState, std::uint32_t waitReason);
TListRows ThreadRows(const TThreadList& threads, bool nt);

// Child processes: every record whose parent identifier is Pid, in list order.
inline constexpr TColumnDef ChildColumns[] = {{"PID", 125}, {"Name", 270}};
TListRows ChildProcessRows(const TProcList& processes, std::uint32_t pid, bool nt);

// Security: the token's groups, then its privileges as check boxes.
inline constexpr int SecurityWidths[] = {275, 115};
// The caption of a group: its SID when the account has no name, otherwise
// "domain\name", or the name alone without a domain.
std::string GroupCaption(const TTokenGroupInfo& group);
TPropertyRows SecurityRows(const TTokenGroupList& groups, const TPrivilegeList& privileges);

// Handles of one process.
inline constexpr TColumnDef HandleColumns[] = {{"Handle", 50}, {"Type", 75}, {"Access", 80}, {"Name", 185}};
TListRows HandleRows(const THandleList& handles, std::uint32_t pid);

// One node of the window tree: Parent is the index of its parent node, -1
// for a top-level node; Image is 1 for a visible window and 0 otherwise.
struct TWindowNode {
    std::uintptr_t Handle = 0;
    int Parent = -1;
    std::string Text;
    int Image = 0;
    friend bool operator==(const TWindowNode&, const TWindowNode&) = default;
};
// "(0x%x) \"%s\": %s" of handle, text and class name.
std::string WindowNodeText(const TWindowInfo& window);
// The windows of process Pid, in list order; a window goes under the first
// earlier node of its parent window, and becomes a top-level node when its
// parent is none of the process's windows listed before it.
std::vector<TWindowNode> WindowTreeNodes(const TWindowList& windows, std::uint32_t pid);

}  // namespace orvex
