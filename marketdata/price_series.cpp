#include "marketdata/price_series.h"

#include <algorithm>
#include <optional>
#include <span>
#include <type_traits>

#include "common/files/data_file.h"
#include "common/files/tab_line_sort.h"
#include "common/files/text_file_io.h"
#include "common/files/text_file_read.h"
#include "common/files/text_file_write.h"
#include "common/logs/logs.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "marketdata/price_line_reader.h"
#include "platform/date_parse.h"
#include "platform/field_text.h"
#include "platform/numeric_text.h"
#include "platform/utf8_text.h"

namespace marketdata {

namespace {

constexpr std::size_t kFixedColumns = 7;  // date, four prices, quantity, adjusted close
constexpr std::size_t kValueColumns = kFixedColumns - 1;
constexpr std::size_t kDateLength = 10;

// The column counts the writers produce: the fixed seven, the optional
// eighth, then the moving-average texts in groups of four. A line of more
// columns is one whose fields have shifted.
bool IsAcceptedColumnCount(std::size_t count) {
    return count == kFixedColumns || count == 8 || count == 12 || count == 16 || count == kPriceTextColumns;
}

void LogSkippedLine(const std::string& path, std::size_t lineNumber, const std::string& reason) {
    const common::RunState& state = common::State();
    common::WriteErrorLog(state.errorLogOn, state.procedureId, common::log_tag::kWarning, "00",
                          "株価時系列の読めない行を読み飛ばしました。　" + path + "　" + std::to_string(lineNumber) +
                              "行目　" + reason);
}

// Out of the reading loop, which runs for every line.
[[gnu::cold, gnu::noinline]] void LogColumnCount(const std::string& path, std::size_t lineNumber,
                                                 std::size_t columnCount) {
    LogSkippedLine(path, lineNumber, "項目数=" + std::to_string(columnCount));
}

// A line of another column count is logged and passed over.
bool AcceptedOrLogged(const std::string& path, std::size_t lineNumber, std::size_t columnCount) {
    if (IsAcceptedColumnCount(columnCount)) return true;
    LogColumnCount(path, lineNumber, columnCount);
    return false;
}

// The date and the six values of a line; all zero for a line not converted.
struct LineValues {
    platform::Date date;
    std::array<platform::Currency, kValueColumns> values{};
    unsigned unreadable = 0;  // bit c: value column c is no number and counts 0
};

// False when column 0 is not a date. The columns are read in order, one parse
// each, so a number beyond range raises only on a line with a date.
bool ConvertColumns(std::span<const std::string_view, kPriceTextColumns> columns, LineValues& out) {
    if (!platform::ParseDateInto(columns[0], out.date)) return false;
    for (std::size_t c = 1; c < kFixedColumns; ++c) {
        // A column that is no number keeps the zero it starts with.
        if (!platform::ParseCurrencyInto(columns[c], out.values[c - 1])) out.unreadable |= 1U << c;
    }
    return true;
}

// An AdjClose of 0 takes the Close.
void StoreValues(const LineValues& in, PriceValues& rec) {
    rec.Date = in.date;
    rec.Open = in.values[0];
    rec.High = in.values[1];
    rec.Low = in.values[2];
    rec.Close = in.values[3];
    rec.Volume = in.values[4];
    rec.AdjClose = in.values[5] == platform::Currency{} ? in.values[3] : in.values[5];
}

void AssignTexts(const PriceLine& line, PriceRec& rec) {
    for (std::size_t c = 0; c < kPriceTextColumns; ++c) rec.Text[c].assign(line.columns[c]);
}

// A reused row as a fresh one has them, without building a whole new record.
void ClearWorkFields(PriceRec& rec) {
    for (platform::Currency* value : {&rec.UnscaledOpen, &rec.UnscaledHigh, &rec.UnscaledLow, &rec.UnscaledClose,
                                      &rec.UnscaledVolume, &rec.UnscaledAdjClose}) {
        *value = platform::Currency{};
    }
    rec.CloseAverage = {};
    rec.VolumeAverage = {};
    rec.Direction.clear();
}

// Which rows of the series file LoadPriceSeries keeps.
enum class RowFilter { kAll, kPricesSet, kPricesAndQuantitySet };

RowFilter SeriesFilter(long fileNumber, const Key& key) {
    if (fileNumber != kPriceSeriesFileNumber) return RowFilter::kAll;
    // An index has no traded quantity; only an individual stock needs one.
    return platform::TrimBlanks(key.Category) == "1000" ? RowFilter::kPricesAndQuantitySet : RowFilter::kPricesSet;
}

bool Passes(RowFilter filter, const LineValues& line) {
    if (filter == RowFilter::kAll) return true;
    const platform::Currency zero;
    const bool pricesSet = line.values[0] != zero && line.values[1] != zero && line.values[2] != zero &&
                           line.values[3] != zero;
    return pricesSet && (filter == RowFilter::kPricesSet || line.values[4] > zero);
}

// The one reading of a series file behind every loader: each line is split
// and converted where it lies in the file's bytes, and only full rows
// (PriceRec) get their texts copied out.
template <class Row>
bool ReadSeriesRows(const std::string& path, long fileNumber, RowFilter filter, std::vector<Row>& rows) {
    if (!common::CFFIL10M(path, "")) {
        rows.clear();
        return false;
    }
    const std::string bytes = common::ReadFileBytes(path);
    const bool isSeries = fileNumber == kPriceSeriesFileNumber;
    // The analysis program keeps rows whose date text holds a blank.
    const bool dropBlankDates = !common::State().isKorvane;
    PriceLineReader reader(bytes);
    PriceLine line;
    // The rows already in `rows` are overwritten, not freed and made anew:
    // a caller loading series after series keeps reusing them.
    std::size_t kept = 0;
    // Room for a row per thirty bytes (a daily row takes some forty) from the
    // start: grown step by step, a first series would copy its rows and touch
    // twice the memory.
    rows.reserve(bytes.size() / 30);
    const auto nextRow = [&]() -> Row& {
        if (kept == rows.size()) rows.emplace_back();
        return rows[kept++];
    };
    for (;;) {
        if constexpr (std::is_same_v<Row, PriceValues>) {
            // Nearly every line: straight into numbers, with the same rules.
            PlainSeriesRow plain;
            if (isSeries && reader.NextPlainRow(plain)) {
                if (!AcceptedOrLogged(path, plain.number, plain.columnCount)) continue;
                LineValues values;
                values.date = plain.date;
                values.values = plain.values;
                if (Passes(filter, values)) StoreValues(values, nextRow());
                continue;
            }
        }
        if (!reader.Next(line)) break;
        if (!AcceptedOrLogged(path, line.number, line.columnCount)) continue;
        if (dropBlankDates && line.columns[0].find(' ') != std::string_view::npos) continue;
        LineValues values;
        if (isSeries && !ConvertColumns(line.columns, values)) {
            LogSkippedLine(path, line.number, "日付=" + std::string(line.columns[0]));
            continue;
        }
        if (!Passes(filter, values)) continue;
        Row& rec = nextRow();
        if constexpr (std::is_same_v<Row, PriceRec>) {
            AssignTexts(line, rec);
            // Every price text that is no number reads "0" from then on.
            for (std::size_t c = 1; c < kFixedColumns; ++c) {
                if (values.unreadable & (1U << c)) rec.Text[c] = "0";
            }
            ClearWorkFields(rec);
        }
        StoreValues(values, rec);
    }
    common::ReportUnreadableBytes(reader.unreadable(), path);
    rows.resize(kept);
    return kept > 0;
}

std::string SeriesPath(common::EnvRec& env, long fileNumber, const Key& key, std::string_view candleKind,
                       const std::string& extraName, const std::string& extension) {
    return common::BuildDataFilePath(fileNumber, 0, 0, extraName + PriceFileNamePart(key, candleKind), extension,
                                     env);
}

}  // namespace

bool SplitPriceLine(std::string_view line, PriceRec& rec) {
    PriceLine columns;
    SplitPriceColumns(line, columns);
    if (!IsAcceptedColumnCount(columns.columnCount)) return false;
    AssignTexts(columns, rec);
    return true;
}

bool PriceRecToValues(PriceRec& rec) {
    std::array<std::string_view, kPriceTextColumns> columns;
    std::ranges::copy(rec.Text, columns.begin());
    LineValues values;
    if (!ConvertColumns(columns, values)) return false;
    StoreValues(values, rec);
    return true;
}

std::string PriceFileNamePart(const Key& key, std::string_view candleKind) {
    return "-" + platform::TrimBlanks(key.Market) + "-" + platform::TrimBlanks(candleKind) + "-" +
           platform::TrimBlanks(key.Category) + "-" + platform::TrimBlanks(key.CorpCode);
}

bool ReadPriceSeriesLines(const std::string& path, long fileNumber, std::vector<PriceRec>& rows) {
    return ReadSeriesRows(path, fileNumber, RowFilter::kAll, rows);
}

bool LoadPriceSeriesByNumber(common::EnvRec& env, long fileNumber, const std::string& extraName,
                             const std::string& extension, std::vector<PriceRec>& rows) {
    const std::string path = common::BuildDataFilePath(fileNumber, 0, 0, extraName, extension, env);
    return ReadPriceSeriesLines(path, fileNumber, rows);
}

bool LoadPriceSeries(long fileNumber, common::EnvRec& env, const Key& key, std::string_view candleKind,
                     const std::string& extraName, const std::string& extension, std::vector<PriceRec>& rows) {
    return ReadSeriesRows(SeriesPath(env, fileNumber, key, candleKind, extraName, extension), fileNumber,
                          SeriesFilter(fileNumber, key), rows);
}

bool LoadPriceSeriesValues(common::EnvRec& env, const Key& key, std::string_view candleKind,
                           const std::string& extraName, const std::string& extension,
                           std::vector<PriceValues>& rows) {
    return ReadSeriesRows(SeriesPath(env, kPriceSeriesFileNumber, key, candleKind, extraName, extension),
                          kPriceSeriesFileNumber, SeriesFilter(kPriceSeriesFileNumber, key), rows);
}

std::vector<PriceValues> ValuesOf(std::span<const PriceRec> rows) {
    return {rows.begin(), rows.end()};
}

void PriceRecToLine(const PriceRec& rec, std::string& line) {
    const std::size_t columns =
        platform::TrimBlanks(rec.Text[kFixedColumns]).empty() ? kFixedColumns : kFixedColumns + 1;
    line.clear();
    for (std::size_t c = 0; c < columns; ++c) {
        if (c > 0) line += '\t';
        const std::string& text = rec.Text[c];
        const std::size_t from = line.size();
        platform::AppendFieldText(line, text);
        // Commas go, so a number is never written with thousands separators;
        // a price text that is not a number keeps them, or "1," would read
        // back as 1.
        const bool priceColumn = c >= 1 && c < kFixedColumns;
        if (!priceColumn || platform::IsNumericText(text)) {
            line.erase(std::remove(line.begin() + static_cast<std::ptrdiff_t>(from), line.end(), ','), line.end());
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
