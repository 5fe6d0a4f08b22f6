#pragma once
// How a cost grows with its input, told apart on a loaded machine: the time
// of an input four times as large over the time of the input, the median of
// the ratios of several rounds. A cost linear in the input gives about 4, a
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

// The median over `rounds` of the time of `run` over the time of `reference`,
// each round timing both, after a round that warms the caches and the
// allocator.
inline double CostRatio(const CostRun& run, const CostRun& reference, int rounds = 7) {
    const auto seconds = [](const CostRun& timed) {
        const auto start = std::chrono::steady_clock::now();
        timed();
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    reference();
    run();
    std::vector<double> ratios;
    for (int round = 0; round < rounds; ++round) {
        const double referenceSeconds = seconds(reference);
        ratios.push_back(seconds(run) / std::max(referenceSeconds, 1e-9));
    }
    std::sort(ratios.begin(), ratios.end());
    return ratios[ratios.size() / 2];
}

// `setUp(n)` prepares an input of size n and gives the run to time on it.
// A figure above the limit is measured again, up to three times in all, and
// the lowest counts: other processes can only make a round look worse, while
// a quadratic cost stays near 16 in every measurement.
inline double FourfoldGrowth(std::size_t n, const std::function<CostRun(std::size_t)>& setUp, int rounds = 7) {
    const CostRun large = setUp(4 * n);
    const CostRun small = setUp(n);
    double growth = CostRatio(large, small, rounds);
    for (int attempt = 1; attempt < 3 && growth >= kLinearGrowthLimit; ++attempt) {
        growth = std::min(growth, CostRatio(large, small, rounds));
    }
    return growth;
}

}  // namespace testsupport
