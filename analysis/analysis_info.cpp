#include "analysis/analysis_info.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "analysis/analysis_info_file.h"
#include "analysis/analysis_info_record.h"
#include "analysis/progress_step.h"
#include "common/files/data_file.h"
#include "common/files/file_ops.h"
#include "common/files/key_layout.h"
#include "common/logs/logs.h"
#include "common/logs/message_box.h"
#include "common/logs/message_style.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "common/settings/settings.h"
#include "common/text/text_compare.h"
#include "marketdata/analysis_info_reader.h"
#include "marketdata/code_master.h"
#include "platform/date.h"
#include "platform/replace_group.h"

namespace analysis {

namespace {

using marketdata::kAnalysisIndexFileNumber;
using marketdata::kAnalysisInfoFileNumber;

constexpr long kBuildStages = 10;
// The new files wait under this extension until both are whole.
constexpr const char* kBuildExtension = ".tmp";
// Markets of switches 01 to 03; switch 04 has none of its own.
constexpr const char* kSwitchMarkets[] = {"JPN", "USA", "CHN"};
constexpr const char* kIndexCategories[] = {"0020", "0030", "0040", "0050", "0060", "0070", "0080", "0090"};

constexpr const char* kNoCompany = "処理対象の企業が存在しません。　";
constexpr const char* kNoAnalysisInfo = "分析情報が存在しません。　";

void WarnNoCompany() {
    common::WriteRunLog(common::LogSwitch(1), common::State().procedureId, common::log_tag::kWarning, "01",
                        kNoCompany);
    common::ShowWarning(std::string(kNoCompany) + "\r\n\r\n" + "ご不便をお掛けして、大変申し訳ございません。　" +
                            "\r\n" +
                            "企業一覧の収集、または「その他の機能」のコードマスターの初期化を行ってから再実行して下さ"
                            "い。　" +
                            "\r\n\r\n" + "それでも同様のエラーが発生する場合は、お手数をお掛けしますが、　" + "\r\n" +
                            "開発者へ連絡をお願い致します。　" + "\r\n",
                        common::msg_style::kExclamation);
}

bool MarketSwitchOn(std::int16_t n) {
    return common::ReadSettingLong(common::IndexedKeyPath(common::SettingKeyPath("Help", "MngCntry"), n)) >= 1;
}

// Drops the records of the markets the user did not select; with all four
// switches on every market stays, the unnamed ones too.
void KeepSelectedMarkets(marketdata::CdmTbl& tbl) {
    std::vector<std::string> markets;
    int switchesOn = 0;
    for (std::int16_t n = 1; n <= 4; ++n) {
        if (!MarketSwitchOn(n)) continue;
        ++switchesOn;
        if (n <= 3) markets.emplace_back(kSwitchMarkets[n - 1]);
    }
    if (switchesOn == 4) return;
    std::erase_if(tbl, [&](const marketdata::CdmRec& rec) {
        return std::none_of(markets.begin(), markets.end(),
                            [&](const std::string& market) { return common::TextEquals(rec.Key.Market, market); });
    });
}

bool IsIndexRecord(const AnalysisInfoRec& rec) {
    return std::find(std::begin(kIndexCategories), std::end(kIndexCategories), rec.Category) !=
           std::end(kIndexCategories);
}

void SwapInBuiltFile(long fileNumber, common::EnvRec& env) {
    common::CFFIL60M(common::BuildDataFilePath(fileNumber, 0, 0, "", kBuildExtension, env),
                     common::BuildDataFilePath(fileNumber, 0, 0, "", "", env));
}

void WriteAnalysisFiles(const marketdata::CdmTbl& tbl, common::EnvRec& env, common::MSGRec& msg, long& infoCount,
                        long& indexCount) {
    const long count = static_cast<long>(tbl.size());
    long stride = 1;
    SetProgressStep("分析情報のレコード編集中", 1, count, stride, msg);
    // Each record goes into its files as it is made: a market's records
    // together would take tens of megabytes.
    AnalysisFileWriter info;
    AnalysisFileWriter index;
    AnalysisInfoRec rec;
    for (long i = 1; i <= count; ++i) {
        BuildAnalysisInfoRecord(tbl[static_cast<std::size_t>(i - 1)], rec);
        info.Add(rec);
        if (IsIndexRecord(rec)) index.Add(rec);
        if (i % stride == 0) {
            msg.lngNumerator = i;
            common::ShowStagedProgress(msg);
        }
    }
    SetProgressStep("分析情報の出力", 1, count, stride, msg);
    // Both files are flushed together, and swapped in once both are whole.
    platform::ReplaceGroup builtFiles;
    info.Write(kAnalysisInfoFileNumber, 0, kBuildExtension, env);
    SetProgressStep("分析情報Indexの編集", 1, 0, stride, msg);
    SetProgressStep("分析情報Indexの出力", 1, index.count(), stride, msg);
    index.Write(kAnalysisIndexFileNumber, 0, kBuildExtension, env);
    builtFiles.Finish();

    SwapInBuiltFile(kAnalysisInfoFileNumber, env);
    SwapInBuiltFile(kAnalysisIndexFileNumber, env);
    infoCount = count;
    indexCount = index.count();
    common::WriteSetting(AnalysisCountSettingPath(kAnalysisInfoFileNumber), std::to_string(infoCount));
    common::WriteSetting(AnalysisCountSettingPath(kAnalysisIndexFileNumber), std::to_string(indexCount));
    common::WriteSetting(common::SettingKeyPath("Counter", "DateTrlMng"), platform::CompactStamp(platform::Now()));
}

}  // namespace

bool AMNCM46M(common::EnvRec& env, common::MSGRec& msg, long& infoCount, long& indexCount) {
    common::ProcedureIdGuard guard("AMNCM46M");
    infoCount = 0;
    indexCount = 0;
    const long firstStage = msg.StagesDone;
    msg.StageCount += kBuildStages;
    long stride = 1;
    SetProgressStep("分析情報の作成準備", 0, 0, stride, msg);
    // What a build that stopped before its swap left behind.
    common::DeleteDataFile(kAnalysisInfoFileNumber, 0, 0, "", kBuildExtension, env);
    common::DeleteDataFile(kAnalysisIndexFileNumber, 0, 0, "", kBuildExtension, env);
    common::SortKeyRec layout;
    common::SetKeyLayout3(layout);

    SetProgressStep("コードマスターの取込み", 1, 0, stride, msg);
    marketdata::CdmTbl tbl;
    bool built = marketdata::CFCDM11M(msg, marketdata::kCodeMasterFileNumber, 0, 0, "", "", "", "", env, layout, tbl);
    if (built) {
        SetProgressStep("コードマスターの取込み", 0, static_cast<long>(tbl.size()), stride, msg);
        KeepSelectedMarkets(tbl);
        built = !tbl.empty();
    }
    if (built) {
        WriteAnalysisFiles(tbl, env, msg, infoCount, indexCount);
    } else {
        WarnNoCompany();
    }
    SetProgressStep("分析情報の後処理中", 1, 0, stride, msg);
    msg.StagesDone = firstStage + kBuildStages;
    common::ShowStagedProgress(msg);
    return built;
}

void WarnNoAnalysisInfo(const char* code) {
    common::WriteRunLog(common::LogSwitch(1), common::State().procedureId, common::log_tag::kWarning, code,
                        kNoAnalysisInfo);
    common::ShowWarning(std::string(kNoAnalysisInfo) + "\r\n\r\n" +
                            "「その他の機能」の「分析情報の作成」で、分析情報を作成して下さい。" + "\r\n\r\n" +
                            "それでも同様のエラーが発生する場合は、お手数をお掛けしますが、　" + "\r\n" +
                            "開発者へ連絡をお願い致します。　" + "\r\n",
                        common::msg_style::kExclamation);
}

bool AMNCM00M(common::EnvRec& env, common::MSGRec& msg) {
    common::ProcedureIdGuard guard("AMNCM00M");
    msg.StageCount = 2;
    msg.StagesDone = 0;
    long infoCount = 0;
    long indexCount = 0;
    const bool written = AMNCM46M(env, msg, infoCount, indexCount);

    common::RunState& state = common::State();
    long stride = 1;
    SetProgressStep("分析情報の読込中", 0, infoCount, stride, msg);
    if (!ReadAnalysisInfoFile(kAnalysisInfoFileNumber, 0, env, msg, state.analysisTable)) {
        // No analysis information at all: no Index of it either.
        state.analysisIndexTable.clear();
        WarnNoAnalysisInfo("01");
    } else {
        SetProgressStep("分析情報Indexの読込中", 1, indexCount, stride, msg);
        if (!ReadAnalysisInfoFile(kAnalysisIndexFileNumber, 0, env, msg, state.analysisIndexTable)) {
            WarnNoAnalysisInfo("02");
        }
    }
    msg.LabelText2.clear();
    return written;
}

}  // namespace analysis
