// What the passes over the process list of one refresh share: each process
// is opened once, for its modules and then for its token, and the counters
// that came with the system's process list are not asked again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>

#include "platform/Orvex_Resources.h"

namespace orvex {

class TProcessPass {
public:
    // The process pid opened for query and memory reads, on the first ask;
    // null when it cannot be opened (asked once as well). The handle stays
    // open until the pass ends.
    HANDLE Open(std::uint32_t pid);
    // How many processes were asked for.
    std::size_t Asked() const noexcept { return open_.size(); }

    // True when the process list gave every process its counters and times.
    bool CountersRead = false;

private:
    std::unordered_map<std::uint32_t, THandle> open_;
};

}  // namespace orvex
