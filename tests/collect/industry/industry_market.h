#pragma once
// The code-master records and files that an industry-series build finds in a
// program folder: industries, their member stocks, the members' daily series
// and the market calendar.
#include <initializer_list>
#include <string>

#include "collect/prices/price_row_files.h"
#include "common/files/data_file.h"
#include "marketdata/code_master.h"
#include "marketdata/price_series.h"
#include "tests/support/file_bytes.h"

namespace collect_test {

inline marketdata::CdmRec MarketRecord(const std::string& category, const std::string& code, const std::string& name) {
    marketdata::CdmRec rec;
    marketdata::InitCdmRec(rec, 1);
    rec.Key.Market = "JPN";
    rec.Key.Category = category;
    rec.Key.CorpCode = code;
    rec.InfoText[171 - 133] = name;
    return rec;
}

// A sector ("0050") or research-provider industry ("0060") never built.
inline marketdata::CdmRec IndustryRecord(const std::string& category, const std::string& code,
                                         const std::string& name) {
    marketdata::CdmRec rec = MarketRecord(category, code, name);
    rec.Term[1] = {"1900/01/01", "1900/01/01"};
    return rec;
}

inline marketdata::CdmRec MemberStock(const std::string& code, const std::string& sector, const std::string& research,
                                      const std::string& unitShares) {
    marketdata::CdmRec rec = MarketRecord("1000", code, "銘柄" + code);
    rec.Key.IndCode0050 = sector;
    rec.Key.IndCode0060 = research;
    rec.InfoText[139 - 133] = unitShares;
    return rec;
}

inline void WriteMaster(common::EnvRec& env, marketdata::CdmTbl tbl) {
    marketdata::WriteCodeMaster(1, 0, 0, "", "", static_cast<long>(tbl.size()), env, tbl);
}

inline std::string SeriesPath(common::EnvRec& env, const std::string& category, const std::string& code,
                              const std::string& extension) {
    marketdata::Key key;
    key.Market = "JPN";
    key.Category = category;
    key.CorpCode = code;
    return common::BuildDataFilePath(1014, 0, 0, marketdata::PriceFileNamePart(key, "D"), extension, env);
}

// The daily series of stock `code`, one line a row.
inline void WriteSeries(common::EnvRec& env, const std::string& code, std::initializer_list<const char*> lines) {
    std::string bytes;
    for (const char* line : lines) bytes += std::string(line) + "\r\n";
    testsupport::WriteBytes(SeriesPath(env, "1000", code, ".txt"), bytes);
}

inline void WriteCalendar(common::EnvRec& env, const std::string& dates) {
    testsupport::WriteBytes(common::BuildDataFilePath(collect::kCalendarFileNumber, 0, 0, "", "", env), dates);
}

}  // namespace collect_test
