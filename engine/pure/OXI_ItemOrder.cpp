#include "engine/pure/OXI_ItemOrder.h"

#include <algorithm>
#include <utility>

namespace orvex {

std::vector<std::size_t> ItemCreationOrder(std::size_t count) {
    std::vector<std::size_t> order;
    order.reserve(count);
    // Ranges [lo, hi) still to be ordered, the next one on top: each range
    // gives its middle, then its lower half, then its upper half.
    std::vector<std::pair<std::size_t, std::size_t>> ranges;
    // The indexes of one length of name: [0, 10), [10, 100), [100, 1000), ...
    for (std::size_t lo = 0, hi = 10; lo < count; lo = hi, hi *= 10) {
        ranges.emplace_back(lo, std::min(hi, count));
        while (!ranges.empty()) {
            const auto [from, to] = ranges.back();
            ranges.pop_back();
            if (from >= to) continue;
            const std::size_t mid = from + (to - from) / 2;
            order.push_back(mid);
            ranges.emplace_back(mid + 1, to);
            ranges.emplace_back(from, mid);
        }
        if (hi >= count) break;  // no longer name follows (and hi cannot overflow)
    }
    return order;
}

}  // namespace orvex
