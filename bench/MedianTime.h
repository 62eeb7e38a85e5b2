#pragma once
// The median wall time of repeated runs: one slow run (a page fault, the
// wineserver busy elsewhere) does not move it.
#include <algorithm>
#include <chrono>
#include <vector>

template <typename F>
double MedianMs(int runs, F f)
{
    using Clock = std::chrono::steady_clock;
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        f();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}
