#pragma once
// How a cost grows with its input, told apart on a loaded machine: the time
// of an input four times as large over the time of the input, the median of
// the ratios of several rounds that each time both, after a round that warms
// the caches and the allocator. A cost linear in the input gives about 4, a
// quadratic one about 16; no absolute time is compared.
#include <algorithm>
#include <chrono>
#include <cstddef>
#include <functional>
#include <vector>

namespace testsupport {

// Between the linear and the quadratic figure, with room for noise either way.
constexpr double kLinearGrowthLimit = 8;

using CostRun = std::function<void()>;

// `setUp(n)` prepares an input of size n and gives the run to time on it.
inline double FourfoldGrowth(std::size_t n, const std::function<CostRun(std::size_t)>& setUp, int rounds = 7) {
    const auto seconds = [](const CostRun& run) {
        const auto start = std::chrono::steady_clock::now();
        run();
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    const CostRun small = setUp(n);
    const CostRun large = setUp(4 * n);
    small();
    large();
    std::vector<double> ratios;
    for (int round = 0; round < rounds; ++round) {
        const double smallSeconds = seconds(small);
        ratios.push_back(seconds(large) / std::max(smallSeconds, 1e-9));
    }
    std::sort(ratios.begin(), ratios.end());
    return ratios[ratios.size() / 2];
}

}  // namespace testsupport
