#include "analysis/analysis_info_file.h"

#include "common/files/data_file.h"
#include "common/files/text_file_io.h"
#include "common/logs/logs.h"
#include "common/logs/message_box.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "common/settings/settings.h"
#include "marketdata/analysis_info_reader.h"
#include "platform/file_system.h"
#include "platform/integer_round.h"
#include "platform/record_io.h"

namespace analysis {

std::string AnalysisCountSettingPath(long fileNumber) {
    if (fileNumber == marketdata::kAnalysisInfoFileNumber) return common::SettingKeyPath("Counter", "CntTrlMng");
    if (fileNumber == marketdata::kAnalysisIndexFileNumber) return common::SettingKeyPath("Counter", "CntTrlMngIdx");
    const std::string message = "アプリケーションエラー（ファイル番号が不正）";
    common::WriteErrorLog(common::State().errorLogOn, common::State().procedureId, common::log_tag::kErrApl, "00",
                          message + " FNameIdx=" + std::to_string(fileNumber));
    common::EndWithAppError(message);
}

void AnalysisFileWriter::Add(const AnalysisInfoRec& rec) {
    FlattenAnalysisRecord(rec, flat_);
    marketdata::WriteAnalysisRecord(out_, flat_);
    ++count_;
}

void AnalysisFileWriter::Write(long fileNumber, long procIdx, const std::string& extension,
                               common::EnvRec& env) const {
    common::FunctionIdGuard guard("WriteAnalysisFile");
    platform::AtomicReplace(common::BuildDataFilePath(fileNumber, procIdx, 0, "", extension, env), out_.data());
}

void WriteAnalysisFile(common::MSGRec& msg, long fileNumber, long procIdx, const std::string& extension,
                       common::EnvRec& env, std::span<const AnalysisInfoRec> recs) {
    const long count = static_cast<long>(recs.size());
    const long stride = common::LineProgressStep(count);
    msg.lngDenominator = count;
    msg.lngNumerator = 0;
    AnalysisFileWriter writer;
    for (long i = 1; i <= count; ++i) {
        writer.Add(recs[static_cast<std::size_t>(i - 1)]);
        if (i % stride == 0) {
            msg.lngNumerator = i;
            common::ShowStagedProgress(msg);
        }
    }
    writer.Write(fileNumber, procIdx, extension, env);
}

bool ReadAnalysisInfoFile(long fileNumber, long procIdx, common::EnvRec& env, common::MSGRec& msg,
                          std::vector<AnalysisFileRec>& recs) {
    common::FunctionIdGuard guard("ReadAnalysisInfoFile");
    const std::string countPath = AnalysisCountSettingPath(fileNumber);
    const long expected = common::ReadSettingLong(countPath);
    const long hundredth = platform::ToLong(static_cast<double>(expected) / 100.0);
    const bool repairCount = hundredth <= 0;
    const long stride = common::AtLeastOne(hundredth);
    msg.lngDenominator = expected;
    msg.lngNumerator = 0;
    const bool found = marketdata::ReadAnalysisRecords(fileNumber, procIdx, env, recs, [&](std::size_t read) {
        const long count = static_cast<long>(read);
        if (count % stride == 0) {
            msg.lngNumerator = count;
            common::ShowStagedProgress(msg);
        }
    });
    if (!found || recs.empty()) {
        recs.clear();
        return false;
    }
    if (repairCount) common::WriteSetting(countPath, std::to_string(recs.size()));
    msg.lngNumerator = msg.lngDenominator;
    common::ShowStagedProgress(msg);
    return true;
}

}  // namespace analysis
