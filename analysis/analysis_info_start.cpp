#include "analysis/analysis_info_start.h"

#include <string>

#include "analysis/analysis_info.h"
#include "analysis/analysis_info_file.h"
#include "analysis/progress_step.h"
#include "common/files/data_file.h"
#include "common/logs/logs.h"
#include "common/logs/message_box.h"
#include "common/logs/message_style.h"
#include "common/run_state.h"
#include "common/settings/settings.h"
#include "marketdata/analysis_info_reader.h"
#include "marketdata/code_master.h"
#include "platform/utf8_text.h"

namespace analysis {

namespace {

constexpr const char* kNoCompany = "処理対象の企業が存在しません。　";

bool DataFileExists(long fileNumber, common::EnvRec& env) {
    std::string path;
    return common::FindDataFile(fileNumber, 0, 0, "", "", env, path);
}

std::string CounterStamp(const char* key) {
    return platform::TrimBlanks(common::ReadSetting(common::SettingKeyPath("Counter", key)));
}

}  // namespace

AnalysisInfoNeed AnalysisInfoNeedOf(bool masterExists, bool infoExists, std::string_view masterStamp,
                                    std::string_view infoStamp) {
    if (!infoExists) return masterExists ? AnalysisInfoNeed::Build : AnalysisInfoNeed::NoCompanies;
    // Both stamps are fixed-width digits, so text order is time order.
    if (masterExists && masterStamp > infoStamp) return AnalysisInfoNeed::Build;
    return AnalysisInfoNeed::Current;
}

AnalysisInfoNeed CheckAnalysisInfo(common::EnvRec& env) {
    return AnalysisInfoNeedOf(DataFileExists(marketdata::kCodeMasterFileNumber, env),
                              DataFileExists(marketdata::kAnalysisInfoFileNumber, env), CounterStamp("DateTrlCdm"),
                              CounterStamp("DateTrlMng"));
}

void WarnNoCompaniesAtStart() {
    common::WriteRunLog(common::LogSwitch(1), common::State().procedureId, common::log_tag::kWarning, "01",
                        kNoCompany);
    common::ShowWarning(std::string(kNoCompany) +
                            "\r\n\r\n「Mireldaツール」で企業一覧の収集、または「その他の機能」の\r\n"
                            "コードマスターの初期化を行ってから再実行して下さい。　\r\n\r\n"
                            "それでも同様のエラーが発生する場合は、お手数をお掛けしますが、　\r\n"
                            "開発者へ連絡をお願い致します。　\r\n",
                        common::msg_style::kExclamation);
}

bool PrepareAnalysisInfo(common::EnvRec& env, common::MSGRec& msg) {
    const AnalysisInfoNeed need = CheckAnalysisInfo(env);
    if (need == AnalysisInfoNeed::NoCompanies) {
        WarnNoCompaniesAtStart();
        return false;
    }
    // A build loads the Index itself, and has told the user when it could not.
    const bool built = need == AnalysisInfoNeed::Build;
    if (built) AMNCM00M(env, msg);
    common::State().CancelRequested = false;
    msg.StageCount = 10;
    msg.StagesDone = 0;
    long stride = 1;
    SetProgressStep("分析情報Indexの読込中", 0, 0, stride, msg);
    std::vector<common::AnalysisRec>& index = common::State().analysisIndexTable;
    if (!built && index.empty() && !ReadAnalysisInfoFile(marketdata::kAnalysisIndexFileNumber, 0, env, msg, index)) {
        WarnNoAnalysisInfo("00");
    }
    return true;
}

}  // namespace analysis
