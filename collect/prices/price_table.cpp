#include "collect/prices/price_table.h"

#include <algorithm>
#include <array>
#include <span>
#include <string_view>

#include "platform/numeric_text.h"
#include "platform/utf8_text.h"

namespace collect {

namespace {

using ColumnField = std::int32_t PriceColumnMap::*;

struct HeaderLabel {
    std::string_view text;
    ColumnField column;
};

constexpr std::string_view kStockCategory = "1000";

// What the data sources write instead of a table when they hold nothing for
// the stock or the dates asked for.
constexpr std::array<std::string_view, 6> kNoDataTexts = {
    "unavailable for the specified date range", "データはありません", "Invalid Ticker Symbol",
    "Changed Ticker Symbol",                    "requested was not found",  "is not a valid ticker symbol",
};

constexpr std::array<std::string_view, 4> kDateLabels = {"日付", "Date", "-->Date", "週間"};

constexpr std::array<HeaderLabel, 12> kPriceLabels = {{
    {"日付", &PriceColumnMap::DateCol},
    {"Date", &PriceColumnMap::DateCol},
    {"-->Date", &PriceColumnMap::DateCol},
    {"週間", &PriceColumnMap::DateCol},
    {"始値", &PriceColumnMap::OpenCol},
    {"Open", &PriceColumnMap::OpenCol},
    {"高値", &PriceColumnMap::HighCol},
    {"High", &PriceColumnMap::HighCol},
    {"安値", &PriceColumnMap::LowCol},
    {"Low", &PriceColumnMap::LowCol},
    {"終値", &PriceColumnMap::CloseCol},
    {"Close", &PriceColumnMap::CloseCol},
}};

// Only a stock's table has a quantity and an adjusted close worth reading;
// an index page may show them but they are not counted.
constexpr std::array<HeaderLabel, 6> kStockLabels = {{
    {"出来高", &PriceColumnMap::VolumeCol},
    {"Volume", &PriceColumnMap::VolumeCol},
    {"Avg Vol", &PriceColumnMap::VolumeCol},
    {"調整後終値*", &PriceColumnMap::AdjCloseCol},
    {"Adj Close*", &PriceColumnMap::AdjCloseCol},
    {"Adj. Close*", &PriceColumnMap::AdjCloseCol},
}};

// The value columns the shape finder fills from the left, in this order.
constexpr std::array<ColumnField, 6> kValueColumns = {
    &PriceColumnMap::OpenCol,  &PriceColumnMap::HighCol,   &PriceColumnMap::LowCol,
    &PriceColumnMap::CloseCol, &PriceColumnMap::VolumeCol, &PriceColumnMap::AdjCloseCol,
};

bool IsStock(const std::string& category) { return category == kStockCategory; }

// Date and four prices, plus quantity and adjusted close for a stock.
std::int32_t ColumnsNeeded(const std::string& category) { return IsStock(category) ? 7 : 5; }

bool SaysNoData(std::string_view text) {
    for (const std::string_view marker : kNoDataTexts) {
        if (text.find(marker) != std::string_view::npos) return true;
    }
    return false;
}

// The stored cells of the row within the fetch's columns.
std::span<const PageCellTable::Cell> RowCells(const FetchRec& fetch, const PageCellTable& pageText, std::int32_t row,
                                              std::int32_t fromCol) {
    const std::span<const PageCellTable::Cell> cells = pageText.CellsOf(row, fromCol);
    const auto end = std::find_if(cells.begin(), cells.end(),
                                  [&](const PageCellTable::Cell& cell) { return cell.col > fetch.ColCount; });
    return cells.first(static_cast<std::size_t>(end - cells.begin()));
}

bool RowSaysNoData(const FetchRec& fetch, const PageCellTable& pageText, std::int32_t row) {
    for (const PageCellTable::Cell& cell : RowCells(fetch, pageText, row, 1)) {
        if (SaysNoData(pageText.Text(cell))) return true;
    }
    return false;
}

bool IsDateLabel(std::string_view text) {
    for (const std::string_view label : kDateLabels) {
        if (text == label) return true;
    }
    return false;
}

// Maps the row's labels into `map` (whose columns of these labels start at
// 0); the number of columns found, or 0 when one of them is named twice: the
// row then does not say which column holds its values.
template <std::size_t N>
std::int32_t MapLabels(const std::array<HeaderLabel, N>& labels, const FetchRec& fetch,
                       const PageCellTable& pageText, std::int32_t row, PriceColumnMap& map) {
    std::int32_t recognised = 0;
    bool repeated = false;
    for (const PageCellTable::Cell& cell : RowCells(fetch, pageText, row, 1)) {
        const std::string text = platform::TrimBlanks(pageText.Text(cell));
        for (const HeaderLabel& label : labels) {
            if (text == label.text) {
                repeated = repeated || map.*label.column != 0;
                map.*label.column = cell.col;
                ++recognised;
            }
        }
    }
    return repeated ? 0 : recognised;
}

bool StartsWithYear(std::string_view text) {
    if (text.size() < 4) return false;
    for (std::size_t i = 0; i < 4; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
    }
    return true;
}

}  // namespace

void ClearPriceColumnMap(PriceColumnMap& map) { map = PriceColumnMap{}; }

std::int32_t ParsePriceTable(const std::string& category, PriceColumnMap& map, const FetchRec& fetch,
                             const PageCellTable& pageText) {
    ClearPriceColumnMap(map);
    for (std::int32_t row = 1; row <= fetch.RowCount; ++row) {
        if (!IsDateLabel(platform::TrimBlanks(pageText.At(row, 1)))) {
            if (RowSaysNoData(fetch, pageText, row)) return -1;
            continue;
        }
        PriceColumnMap found;
        std::int32_t recognised = MapLabels(kPriceLabels, fetch, pageText, row, found);
        if (IsStock(category)) recognised += MapLabels(kStockLabels, fetch, pageText, row, found);
        if (recognised == ColumnsNeeded(category)) {
            map = found;
            return row;
        }
    }
    return 0;
}

std::int32_t FindPriceTableByShape(const std::string& category, PriceColumnMap& map, const FetchRec& fetch,
                                   const PageCellTable& pageText) {
    ClearPriceColumnMap(map);
    const std::int32_t needed = ColumnsNeeded(category);
    for (std::int32_t row = 1; row <= fetch.RowCount; ++row) {
        // Before the year test: the Japanese notice starts with the stock's
        // four-digit code ("7203のデータはありません").
        if (RowSaysNoData(fetch, pageText, row)) return -1;
        if (!StartsWithYear(platform::TrimBlanks(pageText.At(row, 1)))) continue;
        PriceColumnMap found;
        found.DateCol = 1;
        std::int32_t count = 1;
        for (const PageCellTable::Cell& cell : RowCells(fetch, pageText, row, 2)) {
            if (count == needed) break;
            if (!platform::IsNumericText(platform::TrimBlanks(pageText.Text(cell)))) continue;
            found.*kValueColumns[static_cast<std::size_t>(count - 1)] = cell.col;
            ++count;
        }
        if (count == needed) {
            map = found;
            return row - 1;
        }
    }
    return 0;
}

}  // namespace collect
