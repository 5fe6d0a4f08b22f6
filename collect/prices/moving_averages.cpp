#include "collect/prices/moving_averages.h"

#include <array>
#include <string>
#include <vector>

#include "platform/number_format.h"
#include "platform/numeric_text.h"

namespace collect {

namespace {

using platform::Currency;

constexpr std::size_t kRecomputedAfterWindow = 75;  // rows recomputed: this many and the one before

struct Window {
    long size;
    std::size_t firstColumn;  // average price, price deviation, average volume, volume deviation
};
constexpr std::array<Window, 3> kWindows{{{5, 8}, {25, 12}, {75, 16}}};

// What the averages count of one row.
struct RowAmounts {
    Currency price;
    Currency volume;
};

struct WindowSums {
    Currency price;
    Currency volume;
};

Currency ValueOrZero(const std::string& text) { return platform::ParseCurrency(text).value_or(Currency{}); }

RowAmounts AmountsOf(const marketdata::PriceRec& row) {
    const Currency adjusted = ValueOrZero(row.Text[6]);
    return {adjusted > Currency{} ? adjusted : ValueOrZero(row.Text[4]), ValueOrZero(row.Text[5])};
}

// (value / average - 1) x 100: the ratio has four decimals, so the percent is
// exact at the two it is shown with.
std::string DeviationText(const Currency& value, const Currency& average) {
    return platform::FormatNumber((value / average - Currency(1)) * 100, "0.00");
}

// The texts of one window on row `index`, the `seen`-th row recomputed; the
// sums hold the rows of the window up to `index`, and lose the oldest of them
// once the window has filled.
void FillMovingAverageWindow(long seen, std::size_t index, const Window& window, WindowSums& sums,
                             marketdata::PriceRec& row, const std::vector<RowAmounts>& amounts,
                             std::size_t firstAmount) {
    std::string* const texts = &row.Text[window.firstColumn];
    if (seen < window.size) {
        for (std::size_t t = 0; t < 4; ++t) texts[t].clear();
        return;
    }
    const RowAmounts& own = amounts[index - firstAmount];
    const Currency average = sums.price / window.size;
    if (average > Currency{}) {
        texts[0] = platform::FormatNumber(average, "0.000");
        texts[1] = DeviationText(own.price, average);
        const Currency averageVolume = sums.volume / window.size;
        if (own.volume > Currency{} && averageVolume > Currency{}) {
            texts[2] = platform::FormatNumber(averageVolume, "0");
            texts[3] = DeviationText(own.volume, averageVolume);
        } else {
            texts[2].clear();
            texts[3].clear();
        }
    } else {
        texts[2].clear();
        texts[3].clear();
    }
    const RowAmounts& leaving = amounts[index + 1 - static_cast<std::size_t>(window.size) - firstAmount];
    sums.price -= leaving.price;
    sums.volume -= leaving.volume;
}

}  // namespace

void ComputeMovingAverages(std::span<marketdata::PriceRec> rows) {
    if (rows.empty()) return;
    const std::size_t first = rows.size() > kRecomputedAfterWindow ? rows.size() - kRecomputedAfterWindow - 1
                                                                   : rows.size() - 1;
    std::vector<RowAmounts> amounts;
    amounts.reserve(rows.size() - first);
    for (std::size_t k = first; k < rows.size(); ++k) amounts.push_back(AmountsOf(rows[k]));

    std::array<WindowSums, kWindows.size()> sums{};
    for (std::size_t k = first; k < rows.size(); ++k) {
        const long seen = static_cast<long>(k - first) + 1;
        const RowAmounts& own = amounts[k - first];
        for (std::size_t w = 0; w < kWindows.size(); ++w) {
            sums[w].price += own.price;
            sums[w].volume += own.volume;
            FillMovingAverageWindow(seen, k, kWindows[w], sums[w], rows[k], amounts, first);
        }
    }
}

}  // namespace collect
