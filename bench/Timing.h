// Times one piece of work over a number of rounds: the median, the fastest
// and the slowest round in milliseconds.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace orvex::bench {

struct TTiming {
    double MedianMs = 0, MinMs = 0, MaxMs = 0;
};

inline TTiming Measure(int rounds, const std::function<void()>& work) {
    using Clock = std::chrono::steady_clock;
    std::vector<double> ms;
    for (int i = 0; i < rounds; ++i) {
        const auto start = Clock::now();
        work();
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    if (ms.empty()) return {};
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.front(), ms.back()};
}

}  // namespace orvex::bench
