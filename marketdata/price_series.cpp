#include "marketdata/price_series.h"

#include <algorithm>
#include <iterator>
#include <optional>

#include "common/data_file.h"
#include "common/logs.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "common/tab_line_sort.h"
#include "common/text_file_read.h"
#include "common/text_file_write.h"
#include "platform/date_parse.h"
#include "platform/numeric_text.h"
#include "platform/utf8_text.h"

namespace marketdata {

namespace {

constexpr std::size_t kFixedColumns = 7;  // date, four prices, quantity, adjusted close
constexpr std::size_t kDateLength = 10;

// The column counts the writers produce: the fixed seven, the optional
// eighth, then the moving-average texts in groups of four.
bool IsAcceptedColumnCount(std::size_t count) {
    return count == kFixedColumns || count == 8 || count == 12 || count == 16 || count >= kPriceTextColumns;
}

void LogSkippedLine(const std::string& path, std::size_t lineNumber, const std::string& reason) {
    const common::RunState& state = common::State();
    common::WriteErrorLog(state.errorLogOn, state.procedureId, common::log_tag::kWarning, "00",
                          "株価時系列の読めない行を読み飛ばしました。　" + path + "　" + std::to_string(lineNumber) +
                              "行目　" + reason);
}

// TrimBlanks(line).empty() without copying the line.
bool IsBlankLine(std::string_view line) { return line.find_first_not_of(" \t\r\n") == std::string_view::npos; }

// The date and the six values; a column that is not a number counts 0 and,
// with `zeroUnreadable`, also reads "0" from then on. One parse per column.
bool ConvertColumns(PriceRec& rec, bool zeroUnreadable) {
    const std::optional<platform::Date> date = platform::ParseDate(rec.Text[0]);
    if (!date) return false;
    rec.Date = *date;
    platform::Currency* const values[] = {&rec.Open, &rec.High, &rec.Low, &rec.Close, &rec.Volume, &rec.AdjClose};
    for (std::size_t c = 1; c < kFixedColumns; ++c) {
        const std::optional<platform::Currency> value = platform::ParseCurrency(rec.Text[c]);
        if (!value && zeroUnreadable) rec.Text[c] = "0";
        *values[c - 1] = value.value_or(platform::Currency{});
    }
    if (rec.AdjClose == platform::Currency{}) rec.AdjClose = rec.Close;
    return true;
}

}  // namespace

bool SplitPriceLine(std::string_view line, PriceRec& rec) {
    const std::vector<std::string_view> columns = SplitTabs(line);
    if (!IsAcceptedColumnCount(columns.size())) return false;
    const std::size_t taken = std::min(columns.size(), kPriceTextColumns);
    for (std::size_t c = 0; c < kPriceTextColumns; ++c) {
        if (c < taken) {
            rec.Text[c].assign(columns[c]);
        } else {
            rec.Text[c].clear();
        }
    }
    return true;
}

bool PriceRecToValues(PriceRec& rec) { return ConvertColumns(rec, false); }

std::string PriceFileNamePart(const Key& key, std::string_view candleKind) {
    return "-" + platform::TrimBlanks(key.Market) + "-" + platform::TrimBlanks(candleKind) + "-" +
           platform::TrimBlanks(key.Category) + "-" + platform::TrimBlanks(key.CorpCode);
}

bool ReadPriceSeriesLines(const std::string& path, long fileNumber, std::vector<PriceRec>& rows) {
    std::vector<std::string> lines;
    if (!common::CFFIL21M(path, lines)) {
        rows.clear();
        return false;
    }
    const bool isSeries = fileNumber == kPriceSeriesFileNumber;
    // The analysis program keeps rows whose date text holds a blank.
    const bool dropBlankDates = !common::State().isKorvane;
    // The rows already in `rows` are overwritten, not freed and made anew:
    // a caller loading series after series keeps reusing them.
    std::size_t kept = 0;
    for (std::size_t j = 0; j < lines.size(); ++j) {
        if (IsBlankLine(lines[j])) continue;
        if (kept == rows.size()) {
            rows.emplace_back();
        } else {
            rows[kept] = PriceRec{};
        }
        PriceRec& rec = rows[kept];
        if (!SplitPriceLine(lines[j], rec)) {
            LogSkippedLine(path, j + 1, "項目数=" + std::to_string(SplitTabs(lines[j]).size()));
            continue;
        }
        if (dropBlankDates && rec.Text[0].find(' ') != std::string::npos) continue;
        if (isSeries && !ConvertColumns(rec, true)) {
            LogSkippedLine(path, j + 1, "日付=" + rec.Text[0]);
            continue;
        }
        ++kept;
    }
    rows.resize(kept);
    return kept > 0;
}

bool LoadPriceSeriesByNumber(common::EnvRec& env, long fileNumber, const std::string& extraName,
                             const std::string& extension, std::vector<PriceRec>& rows) {
    const std::string path = common::BuildDataFilePath(fileNumber, 0, 0, extraName, extension, env);
    return ReadPriceSeriesLines(path, fileNumber, rows);
}

bool LoadPriceSeries(long fileNumber, common::EnvRec& env, const Key& key, std::string_view candleKind,
                     const std::string& extraName, const std::string& extension, std::vector<PriceRec>& rows) {
    const std::string namePart = extraName + PriceFileNamePart(key, candleKind);
    if (!LoadPriceSeriesByNumber(env, fileNumber, namePart, extension, rows)) return false;
    if (fileNumber != kPriceSeriesFileNumber) return true;
    const platform::Currency zero;
    // An index has no traded quantity; only an individual stock needs one.
    const bool isStock = platform::TrimBlanks(key.Category) == "1000";
    std::erase_if(rows, [&](const PriceRec& rec) {
        const bool pricesSet = rec.Open != zero && rec.High != zero && rec.Low != zero && rec.Close != zero;
        return !pricesSet || (isStock && rec.Volume <= zero);
    });
    return !rows.empty();
}

void PriceRecToLine(const PriceRec& rec, std::string& line) {
    const std::size_t columns =
        platform::TrimBlanks(rec.Text[kFixedColumns]).empty() ? kFixedColumns : kFixedColumns + 1;
    line.clear();
    for (std::size_t c = 0; c < columns; ++c) {
        if (c > 0) line += '\t';
        const std::string& text = rec.Text[c];
        // Commas go, so a number is never written with thousands separators;
        // a price text that is not a number keeps them, or "1," would read
        // back as 1.
        const bool priceColumn = c >= 1 && c < kFixedColumns;
        if (priceColumn && !platform::IsNumericText(text)) {
            line += text;
        } else {
            std::ranges::copy_if(text, std::back_inserter(line), [](char ch) { return ch != ','; });
        }
    }
}

void PriceRecsToLines(std::span<const PriceRec> rows, std::vector<std::string>& lines) {
    lines.assign(rows.size(), std::string());
    for (std::size_t k = 0; k < rows.size(); ++k) PriceRecToLine(rows[k], lines[k]);
}

void SortPriceLines(std::vector<std::string>& lines) {
    common::SortKeyRec keys;
    keys.KeyCount = 1;
    keys.KeyStart[1] = 1;
    keys.KeyLength[1] = static_cast<long>(kDateLength);
    common::SortLinesByKeys(lines, keys);
}

void WritePriceSeries(common::EnvRec& env, long fileNumber, const std::string& extraName, const std::string& extension,
                      std::span<const std::string> lines) {
    common::CFFIL30M(lines, common::BuildDataFilePath(fileNumber, 0, 0, extraName, extension, env));
}

bool CFHPJ50M(common::EnvRec& env, long fileNumber, const std::string& extraName, const std::string& extension,
              std::span<const PriceRec> rows) {
    common::FunctionIdGuard guard("CFHPJ50M");
    std::vector<std::string> lines;
    PriceRecsToLines(rows, lines);
    SortPriceLines(lines);
    WritePriceSeries(env, fileNumber, extraName, extension, lines);
    return true;
}

}  // namespace marketdata
