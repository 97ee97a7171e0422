// The module lists of one process: from the process-status library (used
// with the native process list) and from a tool-help module snapshot.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/OXI_ImagePath.h"
#include "engine/pure/OXI_ModuleHandles.h"
#include "engine/pure/OXI_Records.h"

namespace orvex {

// Replaces modules with those the process-status library reports for pid,
// in its order, at most MaxModuleHandles of them; a module whose file name
// cannot be read is left out, and so is a repeat of a module (same base and
// path). Empty for process 0, when the process cannot be opened or the
// library is not bound. Module paths are completed through paths; without
// it, through a resolver of this one call.
void CollectModulesProcessStatus(std::uint32_t pid, TModuleList& modules, TImagePathResolver& paths);
void CollectModulesProcessStatus(std::uint32_t pid, TModuleList& modules);
// The same through a handle the caller opened with query and read access
// (empty when process is null).
void CollectModulesProcessStatus(std::uint32_t pid, void* process, TModuleList& modules, TImagePathResolver& paths);

// Replaces modules with those of a module snapshot of pid, each module once
// (the first of those with the same base and path), and returns the
// full path, as the snapshot gives it, of the last module named like
// processName (without regard to case); "" when none is or the snapshot
// cannot be taken. Process 0 has no modules: its list is empty. Paths as
// above.
std::string CollectModulesSnapshot(std::string_view processName, std::uint32_t pid, TModuleList& modules,
                                   TImagePathResolver& paths);
std::string CollectModulesSnapshot(std::string_view processName, std::uint32_t pid, TModuleList& modules);

// Replaces modules with those of the loader data of pid (the NT family),
// each module once, and image with the full path of the last module named
// like processName, as above; a 64-bit program lists both widths of modules
// of a 32-bit process. False, with both untouched, when the loader data
// cannot be read (the process cannot be opened, is not yet initialised or
// ended, or is a 64-bit process and this program 32-bit): the snapshot
// answers then.
bool CollectModulesLoader(std::string_view processName, std::uint32_t pid, TModuleList& modules,
                          TImagePathResolver& paths, std::string& image);
// The same through a handle the caller opened with query and read access
// (false when process is null).
bool CollectModulesLoader(std::string_view processName, std::uint32_t pid, void* process, TModuleList& modules,
                          TImagePathResolver& paths, std::string& image);

}  // namespace orvex
