#include "collect/fx_history_page.h"

#include "collect/exchange_rate_files.h"
#include "common/web_text.h"
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
    int matched = 0;
    for (std::int32_t col = fromCol; col <= table.ColCount(); ++col) {
        const std::string cell = Cell(table, row, col);
        if (cell == kDateHeader) {
            map.DateCol = col;
            ++matched;
        }
        for (std::size_t i = 0; i < kRateCodes.size(); ++i) {
            if (cell == kRateCodes[i]) {
                map.RateCols[i] = col;
                ++matched;
            }
        }
    }
    return matched;
}

std::int32_t FindFxHistoryHeader(const PageCellTable& table, FxColumnMap& map) {
    for (std::int32_t row = 1; row <= table.RowCount(); ++row) {
        for (std::int32_t col = 1; col <= table.ColCount(); ++col) {
            if (Cell(table, row, col).find(kDateHeader) == std::string::npos) continue;
            FxColumnMap candidate;
            if (MapFxHistoryColumns(table, row, col, candidate) > 7) {
                map = candidate;
                return row;
            }
        }
    }
    return 0;
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
    for (std::int32_t row = fromRow; row <= table.RowCount(); ++row) {
        for (std::int32_t col = 1; col <= table.ColCount(); ++col) {
            const std::string& cell = table.At(row, col);
            if (cell.find("次の") != std::string::npos && cell.find("件を表示する") != std::string::npos) return true;
        }
    }
    return false;
}

}  // namespace collect
