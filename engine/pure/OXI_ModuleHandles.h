// How many module handles of a process-status answer to read.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orvex {

// The most module handles asked of the process-status library; a process
// with more modules lists its first ones only.
inline constexpr std::size_t MaxModuleHandles = 1024;

// The number of handles to read when the library reports neededBytes for a
// buffer of MaxModuleHandles handles of handleSize bytes each: the byte
// count covers all modules of the process, also those that did not fit.
constexpr std::size_t ModuleHandlesToRead(std::uint32_t neededBytes, std::size_t handleSize) noexcept {
    if (handleSize == 0) return 0;
    const std::size_t reported = neededBytes / handleSize;
    return reported < MaxModuleHandles ? reported : MaxModuleHandles;
}

}  // namespace orvex
