// The I/O counters of a process as the system keeps them: counts of
// operations and of bytes, six 64-bit values in every layout.
#pragma once

#include <cstdint>

namespace orvex {

struct TIOCounters {
    std::uint64_t ReadOperationCount = 0;
    std::uint64_t WriteOperationCount = 0;
    std::uint64_t OtherOperationCount = 0;
    std::uint64_t ReadTransferCount = 0;
    std::uint64_t WriteTransferCount = 0;
    std::uint64_t OtherTransferCount = 0;
    friend bool operator==(const TIOCounters&, const TIOCounters&) = default;
};

}  // namespace orvex
