// Small helpers shared by the benchmarks: timing and printing ratios.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace zvbench {

inline double Seconds(const std::function<void()>& f) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// The median of several runs, the two sides interleaved so that noise hits both alike.
inline std::pair<double, double> MedianPair(int runs, const std::function<void()>& ours,
                                            const std::function<void()>& reference) {
    std::vector<double> a, b;
    for (int i = 0; i < runs; ++i) {
        a.push_back(Seconds(ours));
        b.push_back(Seconds(reference));
    }
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    return {a[a.size() / 2], b[b.size() / 2]};
}

inline void Report(const char* what, double ours, double reference, const char* unit, double goal, bool atMost) {
    const double ratio = reference > 0 ? ours / reference : 0;
    std::printf("%-52s ours %10.4f %s  reference %10.4f %s  ratio %.3f  (goal %s %.2f: %s)\n", what, ours, unit,
                reference, unit, ratio, atMost ? "<=" : ">=", goal,
                (atMost ? ratio <= goal : ratio >= goal) ? "met" : "MISSED");
}

} // namespace zvbench
