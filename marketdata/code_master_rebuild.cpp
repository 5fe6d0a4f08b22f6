#include <array>

#include "common/files/data_file.h"
#include "common/files/file_ops.h"
#include "common/files/key_layout.h"
#include "common/logs/logs.h"
#include "common/logs/message_box.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "marketdata/code_master.h"
#include "marketdata/industry_list.h"
#include "platform/number_format.h"
#include "platform/utf8_text.h"

namespace marketdata {

namespace {

constexpr const char* kNoIndustryList = "業種情報が存在しません。　";

// Positions 171 and 174 (the name) and 177 to 187 (industry texts 11 to 21).
constexpr std::size_t kName1 = 171 - 133;
constexpr std::size_t kName2 = 174 - 133;
constexpr std::size_t kIndustryTexts = 177 - 133;

// An industry entry of a level is named by its level's name and known by its
// level's code.
struct LevelEntry {
    const char* category;
    std::size_t nameText;
    std::string Key::*code;
};

const std::array<LevelEntry, 8> kLevels{{
    {"0020", 14, &Key::IndCode0020},
    {"0030", 15, &Key::IndCode0030},
    {"0040", 16, &Key::IndCode0040},
    {"0050", 17, &Key::IndCode0050},
    {"0060", 18, &Key::IndCode0060},
    {"0070", 19, &Key::IndCode0070},
    {"0080", 20, &Key::IndCode0080},
    {"0090", 21, &Key::IndCode0090},
}};

void ReportMissingList(bool warn) {
    common::WriteErrorLog(common::State().errorLogOn, common::State().procedureId, common::log_tag::kErrApl, "00",
                          kNoIndustryList);
    if (!warn) return;
    common::ShowWarning(std::string(kNoIndustryList) + "\r\n\r\n" + "ご不便をお掛けして、大変申し訳ございません。　" +
                            "\r\n" +
                            "企業一覧の収集、または「その他の機能」のコードマスターの初期化を行ってから再実行して下さ"
                            "い。　" +
                            "\r\n\r\n" + "それでも同様のエラーが発生する場合は、お手数をお掛けしますが、　" + "\r\n" +
                            "開発者へ連絡をお願い致します。　" + "\r\n",
                        48);
}

void ShowBuildProgress(common::MSGRec& msg, long done, long count) {
    msg.lngDenominator = count;
    msg.lngNumerator = done;
    msg.LabelText2 = std::string("\r\n\r\n") + "企業一覧の編集" + "\r\n" + "処理済件数　" +
                     platform::FormatNumber(static_cast<double>(done), "##,##0") + " / " +
                     platform::FormatNumber(static_cast<double>(count), "##,##0");
    common::ShowProgress(msg);
}

void FillFromEntry(const IndustryRec& entry, CdmRec& rec) {
    rec.Key = entry.Key;
    rec.Attr1 = entry.Fixed1;
    for (std::size_t n = 11; n <= 21; ++n) rec.InfoText[kIndustryTexts + n - 11] = entry.Text[n];
    std::string name = entry.Text[22];
    const std::string category = platform::TrimBlanks(entry.Key.Category);
    for (const LevelEntry& level : kLevels) {
        if (category == level.category) {
            name = entry.Text[level.nameText];
            rec.Key.CorpCode = FitField(entry.Key.*level.code, 20, "CorpCode");
        }
    }
    rec.InfoText[kName1] = name;
    rec.InfoText[kName2] = name;
}

void BuildFromIndustryList(long industryFileNumber, std::int32_t seqNo, const std::string& namePart,
                           common::EnvRec& env, common::MSGRec& msg, bool warnWhenMissing, CdmTbl& tbl) {
    msg.LabelText2 = std::string("\r\n\r\n") + "業種情報の取込み中　" + "\r\n";
    common::ShowProgress(msg);
    tbl.clear();
    IndustryLoadReq req;
    req.FNameIdx = industryFileNumber;
    req.Concati = namePart;
    common::SetKeyLayout4(req.SortKeys);
    std::vector<IndustryRec> entries;
    if (!LoadIndustryList(req, env, entries)) {
        ReportMissingList(warnWhenMissing);
        return;
    }
    const long count = static_cast<long>(entries.size());
    const long step = common::ProgressStep(count);
    CdmRec blank;
    InitCdmRec(blank, seqNo);
    tbl.assign(entries.size(), blank);
    for (long i = 1; i <= count; ++i) {
        if (i % step == 0) ShowBuildProgress(msg, i, count);
        FillFromEntry(entries[static_cast<std::size_t>(i - 1)], tbl[static_cast<std::size_t>(i - 1)]);
    }
    ShowBuildProgress(msg, count, count);
}

void Rebuild(long industryFileNumber, std::int32_t seqNo, const std::string& namePart, common::EnvRec& env,
             common::MSGRec& msg, bool warnWhenMissing) {
    CdmTbl tbl;
    BuildFromIndustryList(industryFileNumber, seqNo, namePart, env, msg, warnWhenMissing, tbl);
    // Without an industry list nothing is written and the master stays.
    if (tbl.empty()) return;
    msg.LabelText2 = std::string("\r\n\r\n") + "コードマスター" + "の出力中";
    common::ShowProgress(msg);
    common::CopyFileIfAbsent(common::BuildDataFilePath(kCodeMasterFileNumber, seqNo, 0, "", ".txt", env),
                             common::BuildDataFilePath(kCodeMasterFileNumber, seqNo, 0, "", ".tmp", env));
    WriteCodeMaster(kCodeMasterFileNumber, seqNo, 0, "", ".tmp", static_cast<long>(tbl.size()), env, tbl);
    CFCDMR1M(kCodeMasterFileNumber, seqNo, 0, "", ".txt", ".tmp", env, msg);
}

}  // namespace

void CFCDMI11(long industryFileNumber, std::int32_t seqNo, const std::string& namePart, common::EnvRec& env,
              common::MSGRec& msg, CdmTbl& tbl) {
    common::FunctionIdGuard guard("CFCDMI11");
    BuildFromIndustryList(industryFileNumber, seqNo, namePart, env, msg, true, tbl);
}

void CFCDMI1M(long industryFileNumber, std::int32_t seqNo, const std::string& namePart, common::EnvRec& env,
              common::MSGRec& msg) {
    common::FunctionIdGuard guard("CFCDMI1M");
    Rebuild(industryFileNumber, seqNo, namePart, env, msg, true);
}

void CFCDMI0M(long industryFileNumber, std::int32_t seqNo, const std::string& namePart, common::EnvRec& env,
              common::MSGRec& msg) {
    common::FunctionIdGuard guard("CFCDMI0M");
    Rebuild(industryFileNumber, seqNo, namePart, env, msg, false);
}

}  // namespace marketdata
