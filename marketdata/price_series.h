#pragma once
#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/files/env_rec.h"
#include "marketdata/key.h"
#include "platform/currency.h"
#include "platform/date.h"

namespace marketdata {

inline constexpr long kPriceSeriesFileNumber = 1014;  // Chart folder
inline constexpr long kSplitFileNumber = 1015;        // Split folder: rows carrying a split notice
inline constexpr std::size_t kPriceTextColumns = 20;

// The converted values of one period, as the judgement reads them: a row of
// a few dozen bytes, so a whole series stays in the cache while it is judged.
struct PriceValues {
    platform::Date Date;
    platform::Currency Open;
    platform::Currency High;
    platform::Currency Low;
    platform::Currency Close;
    platform::Currency Volume;
    platform::Currency AdjClose;  // Close when the source gives none
};

// One period of a price series: the converted values, then the line's
// columns as read (columns 8-19 are the moving-average texts the collectors
// compute; they never reach the file).
struct PriceRec : PriceValues {
    std::array<std::string, kPriceTextColumns> Text;

    // Work fields of the chart series (analysis program); the loaders leave
    // them zero or empty. The unscaled copies keep the prices before the
    // currency scale; the averages are over kChartAverageWindows rows, 0 on
    // the rows before a window fills; Direction is "2" when Close is below
    // Open, else "1".
    platform::Currency UnscaledOpen;
    platform::Currency UnscaledHigh;
    platform::Currency UnscaledLow;
    platform::Currency UnscaledClose;
    platform::Currency UnscaledVolume;
    platform::Currency UnscaledAdjClose;
    std::array<platform::Currency, 3> CloseAverage{};
    std::array<platform::Currency, 3> VolumeAverage{};
    std::string Direction;
};

inline constexpr std::array<long, 3> kChartAverageWindows{5, 25, 75};

// Splits the line on TAB into the text columns, leaving the others empty. A
// line carries 7, 8, 12, 16 or 20 columns; any other count gives false and
// leaves `rec` untouched.
bool SplitPriceLine(std::string_view line, PriceRec& rec);

// Date and the six values from the text columns; an AdjClose of 0 takes the
// Close. False, values untouched, when column 0 is not a date. A numeric text
// beyond the Currency range raises overflow.
bool PriceRecToValues(PriceRec& rec);

// "-" Market "-" candle kind "-" Category "-" CorpCode, each trimmed.
std::string PriceFileNamePart(const Key& key, std::string_view candleKind);

// Reads the series file at `path` into `rows`, blank lines skipped. For the
// series file (1014) every non-numeric price text reads as "0" and the values
// are converted; the split file keeps the texts only. A line of a column
// count no writer produces, or a series line whose date does not convert, is
// logged and skipped. The collection program also drops rows whose date text
// contains a blank; the analysis program keeps them. False when the file is
// missing or no row was kept.
bool ReadPriceSeriesLines(const std::string& path, long fileNumber, std::vector<PriceRec>& rows);

// ReadPriceSeriesLines on the file of process index 0, sequence 0, with
// `extraName` (the caller's name part) and `extension` (blank: the default).
bool LoadPriceSeriesByNumber(common::EnvRec& env, long fileNumber, const std::string& extraName,
                             const std::string& extension, std::vector<PriceRec>& rows);

// Loads the series of the stock `key` and candle kind; the file name is the
// stem, `extraName`, PriceFileNamePart and the extension. For the series file
// (1014) only rows with four non-zero prices are kept, and for an individual
// stock (category "1000") only those with a quantity above 0. True when at
// least one row remains.
bool LoadPriceSeries(long fileNumber, common::EnvRec& env, const Key& key, std::string_view candleKind,
                     const std::string& extraName, const std::string& extension, std::vector<PriceRec>& rows);

// LoadPriceSeries of the series file (1014) for a caller that reads only the
// values, as the judgement does: the same rows and logged skips, with no text
// copied out of the file.
bool LoadPriceSeriesValues(common::EnvRec& env, const Key& key, std::string_view candleKind,
                           const std::string& extraName, const std::string& extension,
                           std::vector<PriceValues>& rows);

// The values of each row, for a caller holding full rows that judges them.
std::vector<PriceValues> ValuesOf(std::span<const PriceRec> rows);

// Columns 0-6, and column 7 when it is not blank, joined by TAB, their
// control characters written as blanks (platform/field_text.h), with every
// "," removed so no number carries a thousands separator; a price text
// (columns 1-6) that is not a number keeps its commas, so it still reads as
// no number.
void PriceRecToLine(const PriceRec& rec, std::string& line);
void PriceRecsToLines(std::span<const PriceRec> rows, std::vector<std::string>& lines);

// Sorts the lines on their first 10 characters, the date.
void SortPriceLines(std::vector<std::string>& lines);

// Replaces the file of process index 0, sequence 0 with the lines.
void WritePriceSeries(common::EnvRec& env, long fileNumber, const std::string& extraName, const std::string& extension,
                      std::span<const std::string> lines);

// The rows as lines sorted by date, written as WritePriceSeries does.
bool CFHPJ50M(common::EnvRec& env, long fileNumber, const std::string& extraName, const std::string& extension,
              std::span<const PriceRec> rows);

}  // namespace marketdata
