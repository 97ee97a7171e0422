// Reads a system information class into a buffer that grows until the
// system is satisfied.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/pure/Orvex_NtLayouts.h"

namespace orvex {

// Calls the bound NtQuerySystemInformation for infoClass, starting with
// initialSize bytes and growing as the status asks (at least by growStep, or
// to what the call reports as needed), at most 16 times and to at most
// 256 MB. True with the buffer cut to the filled length on success; false,
// with the buffer empty, on any other status or when nothing is bound.
bool QuerySystemInformation(std::uint32_t infoClass, std::size_t initialSize, std::size_t growStep, bool doubleSize,
                            std::vector<std::uint8_t>& buffer);

// The system-process list (one entry per process with its threads), read
// with the class's own buffer growth; empty when the query fails.
std::vector<nt::TProcessBlock> QuerySystemProcesses();

}  // namespace orvex
