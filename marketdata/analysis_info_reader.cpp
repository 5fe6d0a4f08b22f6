#include "marketdata/analysis_info_reader.h"

#include <stdexcept>

#include "common/files/data_file.h"
#include "common/files/text_file_io.h"
#include "common/logs/logs.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "platform/record_io.h"

namespace marketdata {

void WriteAnalysisRecord(platform::RecordWriter& out, const AnalysisRec& rec) {
    for (const std::string& field : rec.Field) out.VarText(field);
}

void ReadAnalysisRecord(platform::RecordReader& in, AnalysisRec& rec) {
    for (std::string& field : rec.Field) in.VarText(field);
}

bool ReadAnalysisRecords(long fileNumber, long procIdx, common::EnvRec& env, std::vector<AnalysisRec>& recs,
                         const AnalysisRecordProgress& afterRecord) {
    recs.clear();
    std::string path;
    if (!common::FindDataFile(fileNumber, procIdx, 0, "", "", env, path)) return false;
    const std::string bytes = common::ReadFileBytes(path);
    platform::RecordReader in(bytes);
    while (in.remaining() > 0) {
        const std::size_t start = in.position();
        try {
            ReadAnalysisRecord(in, recs.emplace_back());
        } catch (const std::out_of_range&) {
            recs.pop_back();
            const common::RunState& state = common::State();
            common::WriteErrorLog(state.errorLogOn, state.procedureId, common::log_tag::kWarning, "00",
                                  "分析情報の末尾の不完全なレコードを読み飛ばしました。　" + path + "　" +
                                      std::to_string(recs.size() + 1) + "件目　" + std::to_string(bytes.size() - start) +
                                      "バイト");
            break;
        }
        if (afterRecord) afterRecord(recs.size());
    }
    return true;
}

bool AMNCM50M(common::EnvRec& env) {
    common::ProcedureIdGuard guard("AMNCM50M");
    std::vector<AnalysisRec> recs;
    ReadAnalysisRecords(kAnalysisInfoFileNumber, 0, env, recs);
    return true;
}

}  // namespace marketdata
