#include "collect/company_lists/us_company_list.h"

#include "collect/company_lists/list_collector_run.h"
#include "common/files/text_file_write.h"
#include "common/logs/logs.h"
#include "common/text/web_text.h"
#include "platform/utf8_text.h"

namespace collect {

namespace {

constexpr const char* kOwnId = "AL2US30M";

IndustryEnd CollectIndustry(ListCollectorRun& run, marketdata::IndustryRec& industry) {
    FetchRec fetch;
    std::int32_t first = 0;
    std::int32_t col = 0;
    const IndustryEnd end = run.FetchCompanyTable(industry, FindUsTableStart, "Companies",
                                                  "米国・企業一覧の開始位置が特定出来ません。", fetch, first, col);
    if (end != IndustryEnd::Finished) return end;
    std::string lines;
    for (std::int32_t row = first; row <= fetch.RowCount; ++row) {
        // A row without a second cell is a section line inside the table.
        if (CellText(row, col).empty() || CellText(row, col + 1).empty() || CellLink(row, col).empty()) continue;
        marketdata::ListRec rec;
        BuildUsListRec(row, col, industry, rec);
        // A company listed without its ticker ("Foo Corp ()") has no code to
        // be known by: written, it would be an entry without identity.
        if (platform::TrimBlanks(rec.Key.CorpCode).empty()) {
            common::WriteInfoLog(common::LogSwitch(1), kOwnId, common::log_tag::kWarning, "00",
                                 "米国・企業一覧のコードが無い企業を読み飛ばしました。　" + CellText(row, col) +
                                     "    URL=" + fetch.Url);
            continue;
        }
        AddCompanyLine(lines, rec);
    }
    if (!lines.empty()) common::AppendLineToFile(run.CompanyPath(), lines);
    return IndustryEnd::Finished;
}

constexpr ListCollectorKind kUsa{.id = kOwnId,
                                 .preparingLabel = "企業一覧（米国）の取得準備中",
                                 .industryFile = marketdata::kUsaIndustryFileNumber,
                                 .industryNamePart = "",
                                 .market = "USA",
                                 .category = "0050",
                                 .companyFile = 1006,
                                 .recordsFinished = true,
                                 .denominator = IndustryCount,
                                 .collectIndustry = CollectIndustry};

}  // namespace

bool AL2US30M(long, const std::string&, common::EnvRec& env, common::MSGRec& msg, common::TSDRec& task) {
    return ListCollectorRun(kUsa, env, msg, task).Run();
}

bool FindUsTableStart(const std::string& label, std::int32_t& row, std::int32_t& col, const FetchRec& fetch) {
    std::int32_t header = 0;
    if (!FindLabelCell(label, fetch, header, col)) return false;
    for (std::int32_t data = header + 1; data <= fetch.RowCount; ++data) {
        if (!CellText(data, col).empty() && !CellLink(data, col).empty()) {
            row = data;
            return true;
        }
    }
    return false;
}

void BuildUsListRec(std::int32_t row, std::int32_t col, const marketdata::IndustryRec& industry,
                    marketdata::ListRec& rec) {
    StartCompanyRec(industry, rec);
    const std::string cell = CellText(row, col);
    const std::size_t open = cell.rfind('(');
    const std::string code =
        common::CleanField(true, open == std::string::npos ? cell : cell.substr(open), "", "", "");
    rec.Key.CorpCode = code;
    rec.ListText[1] = open == std::string::npos || open == 0 ? code : platform::TrimBlanks(cell.substr(0, open));
    rec.ListText[4] = rec.ListText[1];
}

}  // namespace collect
