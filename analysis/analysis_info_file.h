#pragma once
#include <span>
#include <string>
#include <vector>

#include "analysis/analysis_info_record.h"
#include "common/files/env_rec.h"
#include "common/logs/progress.h"
#include "platform/record_io.h"

namespace analysis {

// The settings key of the record count of file 30001 (Counter\CntTrlMng) or
// 30002 (Counter\CntTrlMngIdx); any other number is an application error.
std::string AnalysisCountSettingPath(long fileNumber);

// The stored records of one analysis file, taken one at a time, so that a
// build need not keep the records it made.
class AnalysisFileWriter {
public:
    void Add(const AnalysisInfoRec& rec);
    long count() const { return count_; }

    // Replaces the file of the number (process index `procIdx`, sequence 0,
    // no name part, `extension`; "" for the default) with the records taken.
    // No record leaves an empty file.
    void Write(long fileNumber, long procIdx, const std::string& extension, common::EnvRec& env) const;

private:
    platform::RecordWriter out_;
    AnalysisFileRec flat_;
    long count_ = 0;
};

// The records in order through AnalysisFileWriter, as one item stage of the
// progress display.
void WriteAnalysisFile(common::MSGRec& msg, long fileNumber, long procIdx, const std::string& extension,
                       common::EnvRec& env, std::span<const AnalysisInfoRec> recs);

// Loads file 30001 or 30002 of `procIdx` into `recs`, the progress counted
// against the record count saved by the last build. A saved count too small
// to pace the progress (below 50) is replaced by the real one. False, with no
// record, when the file is missing or holds none.
bool ReadAnalysisInfoFile(long fileNumber, long procIdx, common::EnvRec& env, common::MSGRec& msg,
                          std::vector<AnalysisFileRec>& recs);

}  // namespace analysis
