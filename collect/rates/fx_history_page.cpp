#include "collect/rates/fx_history_page.h"

#include "collect/rates/exchange_rate_files.h"
#include "collect/web/page_cell_scan.h"
#include "common/text/web_text.h"
#include "platform/date.h"
#include "platform/date_parse.h"
#include "platform/utf8_text.h"

namespace collect {

namespace {

constexpr const char* kDateHeader = "通貨種類";

std::string Cell(const PageCellTable& table, std::int32_t row, std::int32_t col) {
    return platform::TrimBlanks(table.At(row, col));
}

}  // namespace

std::string FillFxHistoryUrl(const std::string& urlTemplate, const std::string& currencyCode, long offset) {
    std::string url = urlTemplate;
    common::ReplaceInPlace(url, "@Country@", currencyCode);
    common::ReplaceInPlace(url, "@Next@", std::to_string(offset));
    return url;
}

int MapFxHistoryColumns(const PageCellTable& table, std::int32_t row, std::int32_t fromCol, FxColumnMap& map) {
    FxColumnMap found;
    int matched = 0;
    bool repeated = false;
    const auto take = [&](std::int32_t& column, std::int32_t col) {
        repeated = repeated || column != 0;
        column = col;
        ++matched;
    };
    for (const PageCellTable::Cell& stored : table.CellsOf(row, fromCol)) {
        const std::int32_t col = stored.col;
        const std::string cell = platform::TrimBlanks(table.Text(stored));
        if (cell == kDateHeader) take(found.DateCol, col);
        for (std::size_t i = 0; i < kRateCodes.size(); ++i) {
            if (cell == kRateCodes[i]) take(found.RateCols[i], col);
        }
    }
    if (repeated) return 0;
    map = found;
    return matched;
}

std::int32_t FindFxHistoryHeader(const PageCellTable& table, FxColumnMap& map) {
    std::int32_t header = 0;
    std::int32_t triedRow = 0;
    ScanPageCells(table, 1, 1, [&](std::int32_t row, std::int32_t col, const std::string& cell) {
        // A later start in a row maps a part of the cells the first start
        // mapped, so it cannot match more: each row is mapped once.
        if (row == triedRow || cell.find(kDateHeader) == std::string::npos) return true;
        triedRow = row;
        FxColumnMap candidate;
        if (MapFxHistoryColumns(table, row, col, candidate) <= 7) return true;
        map = candidate;
        header = row;
        return false;
    });
    return header;
}

std::int32_t ReadFxHistoryRows(const PageCellTable& table, const FxColumnMap& map, std::int32_t firstRow,
                               const std::string& currencyCode, std::vector<FxHistoryRec>& rows) {
    std::int32_t row = firstRow;
    for (; row <= table.RowCount(); ++row) {
        const std::optional<platform::Date> date = platform::ParseDate(Cell(table, row, map.DateCol));
        if (!date) break;
        FxHistoryRec& rec = rows.emplace_back();
        rec.Currency = currencyCode;
        rec.Date = platform::DateText(*date);
        for (std::size_t i = 0; i < rec.Rates.size(); ++i) rec.Rates[i] = Cell(table, row, map.RateCols[i]);
    }
    return row;
}

bool HasNextFxPage(const PageCellTable& table, std::int32_t fromRow) {
    bool found = false;
    ScanPageCells(table, fromRow, 1, [&](std::int32_t, std::int32_t, const std::string& cell) {
        found = cell.find("次の") != std::string::npos && cell.find("件を表示する") != std::string::npos;
        return !found;
    });
    return found;
}

}  // namespace collect
