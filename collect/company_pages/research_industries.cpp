#include "collect/company_pages/research_industries.h"

#include <algorithm>
#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "common/files/data_file.h"
#include "common/files/file_ops.h"
#include "common/files/file_registry.h"
#include "common/files/key_layout.h"
#include "common/logs/logs.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "common/text/text_compare.h"
#include "marketdata/industry_list.h"
#include "marketdata/multex_record.h"
#include "marketdata/name_index.h"
#include "marketdata/research_fields.h"
#include "marketdata/split_run_frame.h"
#include "platform/number_format.h"
#include "platform/utf8_text.h"

namespace collect {

namespace {

using marketdata::CdmRec;
using marketdata::CdmTbl;
using marketdata::IndustryRec;

constexpr long kCodeMaster = marketdata::kCodeMasterFileNumber;
constexpr long kIndustryList = marketdata::kIndustryListFileNumber;
constexpr const char* kJapan = "JPN";
constexpr const char* kResearchLevel = "0060";
constexpr std::size_t kLevel0040Text = 16;
constexpr std::size_t kLevel0050Text = 17;
constexpr std::size_t kResearchNameText = 18;  // the name the rows are matched on
constexpr std::size_t kOwnNameText = 22;

std::string Count(long n) { return platform::FormatNumber(static_cast<double>(n), "####0"); }

// Record i of `count`, refreshed every Int(count / step) records and at the last.
void ShowRecordProgress(common::MSGRec& msg, long i, long count) {
    const long every = common::AtLeastOne(count / common::ProgressStep(count));
    if (i != count && i % every != 0) return;
    msg.lngDenominator = count;
    msg.lngNumerator = i;
    msg.LabelText2 = "\r\n\r\n処理済件数　" + Count(i) + " / " + Count(count) + "\r\n";
    common::ShowProgress(msg);
}

void ReportNoCompany(const char* id) {
    const std::string text = "処理対象の企業が存在しません。　";
    common::WriteInfoLog(common::LogSwitch(1), id, common::log_tag::kWarning, "00", text);
    marketdata::ShowNoCompanyWarning();
}

// The whole code master in the order of the research industry codes; false,
// after the warning, when it is empty.
bool LoadWholeCodeMaster(const char* id, common::EnvRec& env, common::MSGRec& msg, CdmTbl& tbl) {
    common::SortKeyRec keys;
    common::SetKeyLayout6(keys);
    if (marketdata::CFCDM11M(msg, kCodeMaster, 0, 0, "", "", "", "", env, keys, tbl)) return true;
    ReportNoCompany(id);
    return false;
}

// The table written to the code master's work file and merged into the
// master, whose Japanese name index follows.
void CommitCodeMaster(common::EnvRec& env, common::MSGRec& msg, long count, CdmTbl& tbl) {
    marketdata::WriteCodeMaster(kCodeMaster, 0, 0, "", ".tmp", count, env, tbl);
    marketdata::BuildNameIndex(kCodeMaster, 0, 0, kJapan, "", "", "", env, msg);
}

std::string IdentityKey(const marketdata::Key& key) {
    std::string identity;
    marketdata::CdmKeyString(key, identity);
    return common::NormalizeForCompare(identity);
}

std::string CodeText(long number) { return platform::FormatNumber(static_cast<double>(number), "0000"); }

// The codes are four digits wide: a longer one would be cut to the code of
// another industry.
constexpr long kLastIndustryCode = 9999;

// Logs, once per industry name, that the name found no code.
void RefuseIndustry(const std::string& name, long code, std::set<std::string>& refused) {
    if (!refused.insert(name).second) return;
    common::WriteErrorLog(common::State().errorLogOn, common::State().procedureId, common::log_tag::kErrApl, "00",
                          "業種コードが4桁を超えるため、業種を登録できません。　" + name + "　コード=" +
                              std::to_string(code));
}

// The code after the highest one of the rows (and after their count, which
// it is when the rows are numbered without gaps).
long NextIndustryCode(const std::vector<IndustryRec>& rows) {
    long highest = static_cast<long>(rows.size());
    for (const IndustryRec& row : rows) {
        const std::string code = platform::TrimBlanks(row.Key.IndCode0060);
        if (!code.empty() && std::all_of(code.begin(), code.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            highest = std::max(highest, std::stol(code));
        }
    }
    return highest + 1;
}

// A row of the research level named `name` with the code `code` as its
// level-"0060" code and CorpCode.
IndustryRec NumberedRow(const IndustryRec& blank, long code, const std::string& name) {
    IndustryRec row = blank;
    row.Key.IndCode0060 = CodeText(code);
    row.Key.CorpCode = marketdata::FitField(row.Key.IndCode0060, 20, "CorpCode");
    row.Text[kResearchNameText] = name;
    row.Text[kOwnNameText] = name;
    return row;
}

// The row of an industry first seen on `stock`, which gives it its codes and
// names of levels "0040" and "0050".
IndustryRec StockIndustryRow(const IndustryRec& blank, long code, const CdmRec& stock) {
    IndustryRec row = NumberedRow(blank, code, marketdata::ResearchIndustryName(stock));
    row.Key.IndCode0040 = stock.Key.IndCode0040;
    row.Key.IndCode0050 = stock.Key.IndCode0050;
    row.Text[kLevel0040Text] = marketdata::Level0040Name(stock);
    row.Text[kLevel0050Text] = marketdata::Level0050Name(stock);
    return row;
}

}  // namespace

bool CFMLTC1M(common::EnvRec& env, common::MSGRec& msg) {
    common::ProcedureIdGuard guard("CFMLTC1M");
    common::SortKeyRec keys;
    common::SetKeyLayout3(keys);
    CdmTbl tbl;
    if (!marketdata::CFCDM11M(msg, kCodeMaster, 0, 0, "", kJapan, "1000", "", env, keys, tbl)) {
        ReportNoCompany("CFMLTC1M");
        return true;
    }
    const long count = static_cast<long>(tbl.size());
    CFMLTC11(env, msg, count, tbl);
    msg.LabelText2.clear();
    common::ShowProgress(msg);
    CommitCodeMaster(env, msg, count, tbl);
    return true;
}

bool CFMLTC11(common::EnvRec& env, common::MSGRec& msg, long count, CdmTbl& tbl) {
    std::vector<marketdata::MultexRec> reports;
    if (!marketdata::CFMLT10M(marketdata::MultexLoadReq{}, env, reports)) {
        common::WriteInfoLog(common::LogSwitch(1), "CFMLTC1M", common::log_tag::kWarning, "00",
                             "企業一覧（国内）にロイター業種が設定されていません。　");
        return true;
    }
    // By identity rather than by walking both tables in step: a row is found
    // whatever order the two files were written in. The first row of an
    // identity counts.
    std::map<std::string, const marketdata::MultexRec*> byIdentity;
    for (const marketdata::MultexRec& report : reports) byIdentity.emplace(IdentityKey(report.Key), &report);
    for (long i = 1; i <= count; ++i) {
        ShowRecordProgress(msg, i, count);
        CdmRec& stock = tbl[static_cast<std::size_t>(i - 1)];
        const auto found = byIdentity.find(IdentityKey(stock.Key));
        if (found == byIdentity.end()) continue;
        const marketdata::MultexRec& report = *found->second;
        marketdata::ProcMarkRec& mark = marketdata::ResearchMark(stock);
        mark.MarkFlag = "1";
        mark.MarkDate = platform::LeftChars(report.Key.UpdateDate, 10);
        mark.MarkTime = platform::LeftChars(report.Key.UpdateTime, 8);
        marketdata::ResearchIndustryName(stock) = report.Text[3];
    }
    return true;
}

bool AMLTX41M(common::EnvRec& env, common::MSGRec& msg) {
    common::ProcedureIdGuard guard("AMLTX41M");
    CdmTbl tbl;
    if (!LoadWholeCodeMaster("AMLTX41M", env, msg, tbl)) return true;
    const long count = static_cast<long>(tbl.size());
    AMLTX411(env, msg, count, tbl);
    CommitCodeMaster(env, msg, count, tbl);
    return true;
}

bool AMLTX411(common::EnvRec& env, common::MSGRec& msg, long count, CdmTbl& tbl) {
    msg.LabelText2 = "\r\n\r\n業種情報の取込み中　\r\n";
    msg.lngNumerator = 0;
    common::ShowProgress(msg);
    IndustryRec blank;
    marketdata::InitIndustryRec(kJapan, "", kResearchLevel, "", blank);
    marketdata::IndustryLoadReq request;
    request.FNameIdx = kIndustryList;
    request.MarketFilter = kJapan;
    request.CategoryFilter = kResearchLevel;
    common::SetKeyLayout4(request.SortKeys);
    std::vector<IndustryRec> rows;
    marketdata::LoadIndustryList(request, env, rows);
    // The research level opens with row "0001" named "-"; the first real
    // industry is "0002".
    if (rows.empty()) rows.push_back(NumberedRow(blank, 1, "-"));
    std::set<std::string> refused;

    for (long i = 1; i <= count; ++i) {
        ShowRecordProgress(msg, i, count);
        CdmRec& stock = tbl[static_cast<std::size_t>(i - 1)];
        const std::string& name = marketdata::ResearchIndustryName(stock);
        if (platform::TrimBlanks(name).empty()) continue;
        auto row = std::find_if(rows.begin(), rows.end(),
                                [&name](const IndustryRec& r) { return r.Text[kResearchNameText] == name; });
        if (row == rows.end()) {
            const long code = NextIndustryCode(rows);
            if (code > kLastIndustryCode) {
                RefuseIndustry(name, code, refused);
                stock.Key.IndCode0060 = marketdata::FitField("", 4, "IndCode0060");
                continue;
            }
            rows.push_back(StockIndustryRow(blank, code, stock));
            row = rows.end() - 1;
        }
        stock.Key.IndCode0060 = row->Key.IndCode0060;
    }
    marketdata::BuildIndustryLines(kIndustryList, 0, 0, "", ".tmp", env, rows);
    marketdata::CommitIndustryList(kIndustryList, 0, 0, "", ".tmp", ".txt", env, msg);
    return true;
}

bool AMLTX40M(common::EnvRec& env, common::MSGRec& msg) {
    common::ProcedureIdGuard guard("AMLTX40M");
    CdmTbl tbl;
    if (!LoadWholeCodeMaster("AMLTX40M", env, msg, tbl)) return true;
    const long count = static_cast<long>(tbl.size());
    AMLTX411(env, msg, count, tbl);
    marketdata::WriteCodeMaster(kCodeMaster, 0, 0, "", ".tmp", count, env, tbl);
    const std::string extension = common::CFFIL03M(kCodeMaster);
    const std::string master = common::BuildDataFilePath(kCodeMaster, 0, 0, "", extension, env);
    common::CFFIL41M(master.substr(0, master.size() - extension.size()), ".tmp", extension);
    return true;
}

}  // namespace collect
