// The rules a process's module list follows whichever way it was collected.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <utility>

namespace orvex {

// Process 0 is the idle process: it has no modules, and a module query for
// it would describe the asking process instead.
constexpr bool ProcessHasModules(std::uint32_t pid) noexcept { return pid != 0; }

// The modules listed so far, by base address and path (without regard to
// case). A module snapshot of a 32-bit process taken by a 64-bit program
// holds both views of the process, which share the executable and may share
// further modules: each is listed once, as first seen.
class TModulesSeen {
public:
    // True for a module not seen before (and remembers it), false for a repeat.
    bool Add(std::uintptr_t base, std::string_view path);

private:
    std::set<std::pair<std::uintptr_t, std::string>> seen_;
};

}  // namespace orvex
