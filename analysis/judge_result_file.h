#pragma once
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/kagi_judge_rec.h"
#include "common/files/env_rec.h"
#include "common/logs/progress.h"

namespace analysis {

inline constexpr long kJudgeResultFileNumber = 40001;
inline constexpr long kJudgeSummaryFileNumber = 40002;
// Arrays of the readers grow by this many records.
inline constexpr std::size_t kJudgeArrayStep = 20000;

// Path of a file of the judgement results of `country`: the registry's path
// for the numbers, the name part "（" display name "）" & `nameText` for a
// known country code (`nameText` alone otherwise) and `extension`.
std::string CountryDataFilePath(common::EnvRec& env, long fileNumber, long procIdx, long taskSeq,
                                const std::string& country, const std::string& nameText,
                                const std::string& extension);

// Appends the stored parts of `recs` to the file at `path` (created when
// missing).
void AppendJudgeRecords(const std::string& path, std::span<const KagiJudgeRec> recs);

// Writes `bytes` as the whole file at `path` when `mode` is 1 (the old file
// stays until the new one is complete), else appends them.
void ReplaceOrAppend(const std::string& path, long mode, std::string_view bytes);

// Reads records first..last of the judgement-result file (40001) into `recs`
// (element i - first for record i), stopping at the end of the file; record
// numbers below 1 hold no record. The derived list part is not computed.
// False, with `count` and `recs` untouched, when the file does not exist;
// False, count 0 and one empty element when no record was read.
bool ReadJudgeResultList(common::MSGRec& msg, long procIdx, long taskSeq, const std::string& country,
                         const std::string& nameText, common::EnvRec& env, long first, long last, long& count,
                         std::vector<KagiJudgeRec>& recs);

// Reads a whole judgement-result file into the derived list parts of its
// records, each numbered by its place in `lists` (from 1). Mode 1 starts
// afresh, any other mode appends after `count`. At least one element is left.
// False, with `count` and `lists` untouched, when the file does not exist.
bool CFKGR13M(common::MSGRec& msg, const std::string& country, long mode, long fileNumber, long procIdx, long taskSeq,
              const std::string& nameText, const std::string& extension, common::EnvRec& env, long& count,
              std::vector<KagiJudgeList>& lists);

// The same for whole records: the stored part and the derived keys and marks
// (own index, level rows and copies stay unset). The progress stride is
// `msg.ProgressStride`.
bool CFKGR10M(common::MSGRec& msg, const std::string& country, long mode, long fileNumber, long procIdx, long taskSeq,
              const std::string& nameText, const std::string& extension, common::EnvRec& env, long& count,
              std::vector<KagiJudgeRec>& recs);

// Appends the records of one part's judgement-result file (found through
// `partEnv`) that `keep` accepts to the run's gathered file, numbering them
// on from `n`, and adds the gather line of each to `lines`. A record is moved
// as the bytes it is stored as, with its sequence number set, and only the
// fields its sort text is made of are read: reading it whole and writing it
// again would cost as much as the rest of the gathering. The progress stride is `msg.ProgressStride`. A part without a
// file gives nothing.
void GatherPartRecords(common::MSGRec& msg, const std::string& country, long fileNumber, long procIdx, long taskSeq,
                       const std::string& extension, common::EnvRec& partEnv, common::EnvRec& env,
                       const std::function<bool(std::string_view)>& keep, long& n, std::vector<std::string>& lines);

// Writes the stored parts of `recs` to the run's file of `fileNumber`
// (process index and part sequence 0): mode 1 replaces the file, any other
// mode appends. No records: nothing happens.
void CFKGR52M(common::MSGRec& msg, common::EnvRec& env, long fileNumber, long mode, const std::string& country,
              const std::string& nameText, const std::string& extension, std::span<const KagiJudgeRec> recs);

}  // namespace analysis
