#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "analysis/kagi_judge_rec.h"
#include "common/files/env_rec.h"
#include "common/logs/progress.h"

namespace analysis {

// Reads summary record `number` (from 1) of the summary file (40002) of
// `country`. False when the file does not exist or holds no such record.
bool ReadSummaryRecordAt(const std::string& nameText, const std::string& country, common::EnvRec& env, long number,
                         KagiSummaryRec& rec);

// Reads the summary records whose level digit equals `selection` (as text)
// and, unless `familyMask` is 0, whose family bits share a bit with the mask;
// kept records get their derived fields and go after the first `count`
// elements of `recs`, raising `count`. At least one element is left.
// False, with `count` and `recs` untouched, when the file does not exist.
bool CFKRS11M(common::MSGRec& msg, const std::string& country, const std::string& selection, std::int32_t familyMask,
              long fileNumber, long procIdx, long taskSeq, const std::string& nameText, common::EnvRec& env,
              long& count, std::vector<KagiSummaryRec>& recs);

// Writes the stored parts of `recs` to the run's file of `fileNumber`
// (process index and part sequence 0): mode 1 replaces the file, any other
// mode appends. No records: nothing happens.
void CFKRS52M(common::MSGRec& msg, common::EnvRec& env, long fileNumber, const std::string& country,
              const std::string& nameText, long mode, const std::string& extension,
              std::span<const KagiSummaryRec> recs);

}  // namespace analysis
