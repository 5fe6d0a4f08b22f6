#pragma once
#include <span>
#include <string>
#include <vector>

#include "common/files/env_rec.h"
#include "common/logs/progress.h"
#include "marketdata/code_master.h"
#include "marketdata/key.h"

namespace marketdata {

// The name index of a market ("JPN", "CHN", "USA"): a key file (file number
// 51, 27-byte records) and a data file (52, 480-byte records), record n of one
// belonging to record n of the other, in code-master order. It lets one
// company's names and industry codes be looked up without reading the whole
// code master. Texts are CP932, blank-padded and cut at the byte width
// without splitting a double-byte character.
inline constexpr std::size_t kNameKeyRecordLength = 27;
inline constexpr std::size_t kNameDataRecordLength = 480;

// One data record as the lookup returns it.
struct NameIndexRec {
    // Market, Category, IndCode0020 to IndCode0060 and CorpCode; the other
    // fields are left as they were.
    marketdata::Key Key;
    std::string RptText06;    // fixed 3, code-master field 65
    std::string Name;         // field 171
    std::string SecondName;   // field 174
    std::string InfoText046;  // field 179
    std::string IndName0020;  // field 180
    std::string IndName0030;  // field 181
    std::string IndName0040;  // field 182
    std::string IndName0050;  // field 183
    std::string IndName0060;  // field 184
};

// Completes a pending rewrite of the code master (RefreshCodeMaster), reads
// it and rewrites the name index of `market`, or with "ALL" of every market
// that has records.
void BuildNameIndex(long fileNumber, long procIdx, long taskSeq, const std::string& market,
                    const std::string& namePart, const std::string& ignored1, const std::string& ignored2,
                    common::EnvRec& env, common::MSGRec& msg);

// Parses the code-master lines of `market` (compared ignoring case) and
// writes its name index; with "ALL", that of each of "JPN", "CHN" and "USA"
// that has records, other markets dropped. A line that cannot be read is
// logged with its number and skipped. A market without records keeps its
// previous files.
void SelectByMarket(const std::string& market, common::EnvRec& env, common::MSGRec& msg,
                    std::span<const std::string> lines);

// Writes both files of `market` from records 1 to `count` of `tbl` whose
// Market equals it (ignoring case). Each file is completed as base + ".tmp"
// and then put in place of base + ".dat"; with no such record nothing
// changes and no work file stays.
void WriteNameIndex(common::EnvRec& env, const std::string& market, long count, const CdmTbl& tbl);

// Looks the identity up (Market 3, Category 4 and CorpCode 20 characters, as
// CdmKeyString gives it; compared ignoring case and trailing blanks) in the
// key file of its market: true and the first matching data record, or false
// when it is not there or the files are missing or do not agree.
bool FindCompanyListRecord(common::EnvRec& env, const std::string& identity, NameIndexRec& rec);

}  // namespace marketdata
