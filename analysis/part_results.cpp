#include "analysis/part_results.h"

#include <set>
#include <string_view>
#include <vector>

#include "analysis/judge_result_file.h"
#include "analysis/kagi_judge_rec.h"
#include "common/files/file_registry.h"
#include "common/files/text_file_io.h"
#include "marketdata/code_master.h"
#include "marketdata/key.h"
#include "marketdata/split_run_frame.h"
#include "platform/file_system.h"
#include "platform/record_io.h"

namespace analysis {

namespace {

using Identities = std::set<std::string>;

std::string IdentityOf(const marketdata::Key& key) {
    std::string identity;
    marketdata::CdmKeyString(key, identity);
    return identity;
}

// The companies of the part's list that are still to be judged; none when
// the list is missing or has none left (the read leaves the table empty then).
marketdata::CdmTbl PendingCompanies(common::EnvRec& env, long procIdx, long taskSeq, const std::string& country) {
    marketdata::CdmTbl pending;
    marketdata::CFCDM10M(marketdata::kCodeMasterFileNumber, procIdx, taskSeq, "", country, "2000", "1", env, {},
                         pending);
    return pending;
}

Identities IdentitiesOf(const marketdata::CdmTbl& companies) {
    Identities identities;
    for (const marketdata::CdmRec& rec : companies) identities.insert(IdentityOf(rec.Key));
    return identities;
}

std::string WholeRecordsOfJudgedCompanies(std::string_view bytes, const Identities& pending) {
    std::string kept;
    for (std::size_t at = 0; at + kKagiJudgeRecSize <= bytes.size(); at += kKagiJudgeRecSize) {
        const std::string_view record = bytes.substr(at, kKagiJudgeRecSize);
        platform::RecordReader in(record);
        marketdata::Key key;
        marketdata::ReadKeyRecord(in, key);
        if (!pending.contains(IdentityOf(key))) kept += record;
    }
    return kept;
}

// Rewrites the result file without the results of the companies still to
// be judged, when it has any.
void CutBackResults(const std::string& path, const marketdata::CdmTbl& pending) {
    if (!platform::FileExists(path)) return;
    const std::string bytes = common::ReadFileBytes(path);
    const std::string kept = WholeRecordsOfJudgedCompanies(bytes, IdentitiesOf(pending));
    if (kept.size() != bytes.size()) platform::AtomicReplace(path, kept);
}

}  // namespace

std::string PartResultPath(common::EnvRec& env, long procIdx, long taskSeq, const std::string& country) {
    return CountryDataFilePath(env, kJudgeResultFileNumber, procIdx, taskSeq, country, "",
                               common::CFFIL03M(kJudgeResultFileNumber));
}

marketdata::CdmTbl RecoverPartResults(common::EnvRec& env, common::MSGRec& msg, long procIdx, long taskSeq,
                                      const std::string& country) {
    marketdata::RecoverPartList(env, msg, procIdx, taskSeq);
    marketdata::CdmTbl pending = PendingCompanies(env, procIdx, taskSeq, country);
    CutBackResults(PartResultPath(env, procIdx, taskSeq, country), pending);
    return pending;
}

void RecoverPartFiles(common::EnvRec& env, common::MSGRec& msg, long procIdx, long taskSeq,
                      const std::string& country) {
    marketdata::RecoverPartList(env, msg, procIdx, taskSeq);
    // A part not yet run has no results to cut back, and its list need not be read.
    const std::string results = PartResultPath(env, procIdx, taskSeq, country);
    if (platform::FileExists(results)) CutBackResults(results, PendingCompanies(env, procIdx, taskSeq, country));
}

}  // namespace analysis
