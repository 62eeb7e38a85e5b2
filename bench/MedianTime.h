#pragma once
// The median wall time of repeated runs: one slow run (a page fault, the
// wineserver busy elsewhere) does not move it.
#include <algorithm>
#include <chrono>
#include <vector>

template <typename F>
double ElapsedMs(F f)
{
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    f();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

inline double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

template <typename F>
double MedianMs(int runs, F f)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(ElapsedMs(f));
    return Median(times);
}

// Two programs timed in turns, so that both see the same moments of a busy
// machine; the median of each and the median of the ratios of each turn.
struct PairedTimes {
    double first;
    double second;
    double ratio; // first / second
};
// `settle`, untimed, runs after each first: what the first leaves running
// in the background (a worker thread) ends before the second is timed.
template <typename F, typename G, typename S = void (*)()>
PairedTimes MedianPairedMs(int runs, F first, G second, S settle = [] {})
{
    std::vector<double> a, b, ratios;
    for (int i = 0; i < runs; ++i) {
        a.push_back(ElapsedMs(first));
        settle();
        b.push_back(ElapsedMs(second));
        ratios.push_back(a.back() / b.back());
    }
    return {Median(a), Median(b), Median(ratios)};
}
