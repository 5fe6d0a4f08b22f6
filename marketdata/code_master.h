#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/files/env_rec.h"
#include "common/files/tab_line_sort.h"
#include "common/logs/progress.h"
#include "marketdata/key.h"
#include "platform/currency.h"
#include "platform/date.h"

namespace marketdata {

inline constexpr long kCodeMasterFileNumber = 1;
inline constexpr long kCdmFieldCount = 198;     // fields of a full line
inline constexpr long kCdmMinFieldCount = 188;  // 189 to 198 are optional on reading

// Per process index: a mark and when it was set.
struct ProcMarkRec {
    std::string MarkFlag;
    std::string MarkDate;
    std::string MarkTime;
};

// Per process index: the first and last date of the data the process holds.
struct TermRec {
    std::string FirstDate;
    std::string LastDate;
};

// Eight numeric values: three Long, then five Currency.
struct NumGroupRec {
    std::array<std::int32_t, 3> Nums{};
    std::array<platform::Currency, 5> Amounts{};
};

// One code-master record, its members in line order. Arrays that the line
// counts from 1 keep element 0 unused, so index n is field n of its group.
struct CdmRec {
    marketdata::Key Key;                   // 1-16
    std::string Attr1;                     // 17, fixed 1
    std::string Attr2;                     // 18, fixed 1
    std::string Attr3;                     // 19, fixed 10
    std::string SeqText;                   // 20, fixed 4: last four digits of SeqNo
    std::string Text1;                     // 21
    std::string Text2;                     // 22
    std::string Text3;                     // 23
    std::array<ProcMarkRec, 11> ProcMark;  // 24-53, elements 1-10
    std::array<TermRec, 4> Term;           // 54-59, elements 1-3
    std::array<std::string, 35> RptText;   // 60-93, RptText[NN] at 59 + NN
    std::string Attr4;                     // 94, fixed 10
    std::string Attr5;                     // 95, fixed 1
    std::string Attr6;                     // 96, fixed 1
    std::array<std::int32_t, 7> Num{};     // Num[1..5] at 97-101, Num[6] at 108
    platform::Date ValueDate{1900, 1, 1};  // 102
    std::array<platform::Currency, 7> Amount{};  // Amount[1..5] at 103-107, Amount[6] at 109
    std::array<NumGroupRec, 4> NumGroup;   // 110-133, elements 1-3
    std::array<std::string, 66> InfoText;  // 134-198, InfoText[NNN] at 133 + NNN
    std::int32_t SeqNo = 0;                // not on the line
};

// The entry's name (field 171).
inline const std::string& CompanyName(const CdmRec& rec) { return rec.InfoText[171 - 133]; }

// The entry's market name: its level-"0030" (market detail) industry name
// (field 181), from which FillIndustryLevels derives the market codes.
inline std::string& MarketName(CdmRec& rec) { return rec.InfoText[181 - 133]; }

// A Chinese stock's exchange suffix (".hk", ".ss" or ".sz"), empty until the
// price-history collection has found it; kept in the carried text field 21.
inline std::string& StoredMarketSuffix(CdmRec& rec) { return rec.Text1; }

// The in-memory code master: record n is element n - 1; the count is the size.
using CdmTbl = std::vector<CdmRec>;

// Blanks the Key and the fixed-width fields, empties the texts, zeroes the
// numbers, sets ValueDate to 1900/01/01 and SeqNo / SeqText from `seqNo`.
void InitCdmRec(CdmRec& rec, std::int32_t seqNo);

// Reads a line of 188 to 190 fields (189 to 198 left empty) or of 198 fields
// into `rec`; SeqNo is kept. Any other field count (more than 198 fields is a
// line whose fields have shifted), or a number or date field that does not
// convert, gives false with the reason in `problem`.
bool LineToCdmRec(std::string_view line, CdmRec& rec, std::string& problem);

// Stamps UpdateDate / UpdateTime with now and recomputes SeqText, in the
// record itself, then gives its 198-field line.
void CdmRecToLine(CdmRec& rec, std::string& line);

// Loads the code master (or a part's list) named by file number, process
// index, task sequence and name part, keeping in file order (after sorting
// the lines when `sortKeys` has keys) the records that pass the filters; an
// empty filter passes everything. Category filter "2000" also keeps "1000"
// and "0010"; filter "0060" keeps only records with a level-"0060" industry
// name. A line that cannot be read is logged with the file and line and
// skipped. True when the file exists and at least one record was kept; a
// missing file leaves `tbl` untouched, none kept empties it.
bool CFCDM10M(long fileNumber, long procIdx, long taskSeq, const std::string& namePart,
              const std::string& marketFilter, const std::string& categoryFilter, const std::string& flagFilter,
              common::EnvRec& env, const common::SortKeyRec& sortKeys, CdmTbl& tbl);

// CFCDM10M with staged progress (reading, sorting, parsing). With no filter
// at all it saves the number of lines read in Counter\CntTrlCdm, which is
// also the expected line count of the read.
bool CFCDM11M(common::MSGRec& msg, long fileNumber, long procIdx, long taskSeq, const std::string& namePart,
              const std::string& marketFilter, const std::string& categoryFilter, const std::string& flagFilter,
              common::EnvRec& env, const common::SortKeyRec& sortKeys, CdmTbl& tbl);

// Writes records 1 to `count` (stamping each) as lines sorted on market,
// category and CorpCode, replacing the file in one step; a failed write
// raises a TrappedError and leaves the old file. False, nothing written, when
// count is 0 or less.
bool WriteCodeMaster(long fileNumber, long procIdx, long taskSeq, const std::string& namePart,
                     const std::string& extension, long count, common::EnvRec& env, std::span<CdmRec> tbl);

// One code-master record per entry of the industry list `industryFileNumber`
// (sorted on market, category, level-"0060" code and CorpCode), each started
// from InitCdmRec(seqNo). A missing or empty list is logged and warned about;
// `tbl` is then empty.
void CFCDMI11(long industryFileNumber, std::int32_t seqNo, const std::string& namePart, common::EnvRec& env,
              common::MSGRec& msg, CdmTbl& tbl);

// Rebuilds the code master from the industry list: the new records go to the
// master's ".tmp" (a copy of the master when it had none) and are merged into
// the master, existing master records winning on equal keys. `seqNo` is also
// the master's process index (0 from every caller). Without an industry list
// (logged and warned about) nothing is written.
void CFCDMI1M(long industryFileNumber, std::int32_t seqNo, const std::string& namePart, common::EnvRec& env,
              common::MSGRec& msg);

// The same rebuild for the "その他の機能" form: a missing industry list is
// only logged.
void CFCDMI0M(long industryFileNumber, std::int32_t seqNo, const std::string& namePart, common::EnvRec& env,
              common::MSGRec& msg);

// Completes a pending rewrite (".tmp" into ".txt", the work file winning on
// equal keys) and gives the lines of the result, none when nothing was
// pending. When the master itself (no name part, process index and task
// sequence 0) was rewritten, it saves its line count in Counter\CntTrlCdm and
// the time in Counter\DateTrlCdm.
void CFCDMR0M(long fileNumber, long procIdx, long taskSeq, const std::string& namePart, common::EnvRec& env,
              common::MSGRec& msg, std::vector<std::string>& lines);

// Merges the work file into the master, existing master records winning on
// equal keys.
void CFCDMR1M(long fileNumber, long procIdx, long taskSeq, const std::string& namePart, const std::string& masterExt,
              const std::string& workExt, common::EnvRec& env, common::MSGRec& msg);

// CFCDMR0M without the lines.
void RefreshCodeMaster(long fileNumber, long procIdx, long taskSeq, const std::string& namePart,
                       common::EnvRec& env, common::MSGRec& msg);

}  // namespace marketdata
