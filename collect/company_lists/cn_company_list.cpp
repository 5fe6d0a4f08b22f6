#include "collect/company_lists/cn_company_list.h"

#include "collect/company_lists/list_collector_run.h"
#include "common/files/text_file_write.h"

namespace collect {

namespace {

constexpr const char* kOwnId = "ALSCN30M";
constexpr long kMaxCompanies = 20;

IndustryEnd CollectIndustry(ListCollectorRun& run, marketdata::IndustryRec& industry) {
    FetchRec fetch;
    std::int32_t first = 0;
    std::int32_t col = 0;
    const IndustryEnd end = run.FetchCompanyTable(industry, FindCnTableStart, "市場コード",
                                                  "中国・企業一覧の開始位置が特定出来ません。", fetch, first, col);
    if (end != IndustryEnd::Finished) return end;
    std::string lines;
    for (long company = 0; company < kMaxCompanies; ++company) {
        const auto row = static_cast<std::int32_t>(first + 2 * company);
        if (row > fetch.RowCount || CellText(row, col).empty()) break;
        marketdata::ListRec rec;
        BuildCnListRec(row, col, industry, rec);
        AddCompanyLine(lines, rec);
    }
    if (!lines.empty()) common::AppendLineToFile(run.CompanyPath(), lines);
    return IndustryEnd::Finished;
}

// Every industry row of the task, whatever its market and category.
constexpr ListCollectorKind kChina{.id = kOwnId,
                                   .preparingLabel = "企業一覧（中国）の取得準備中",
                                   .industryFile = marketdata::kChinaIndustryFileNumber,
                                   .industryNamePart = "Market",
                                   .market = "",
                                   .category = "",
                                   .companyFile = 1004,
                                   .recordsFinished = false,
                                   .denominator = IndustryCount,
                                   .collectIndustry = CollectIndustry};

}  // namespace

bool ALSCN30M(long, const std::string&, common::EnvRec& env, common::MSGRec& msg, common::TSDRec& task) {
    return ListCollectorRun(kChina, env, msg, task).Run();
}

bool FindCnTableStart(const std::string& label, std::int32_t& row, std::int32_t& col, const FetchRec& fetch) {
    if (!FindLabelCell(label, fetch, row, col)) return false;
    ++row;  // the first data row is the one below the header
    return true;
}

void BuildCnListRec(std::int32_t row, std::int32_t col, const marketdata::IndustryRec& industry,
                    marketdata::ListRec& rec) {
    StartCompanyRec(industry, rec);
    rec.Key.CorpCode = CellText(row, col);
    rec.ListText[14] = CellText(row, col + 1);
    rec.ListText[1] = CellText(row + 1, col + 2);
    rec.ListText[2] = CellText(row, col + 2);
    rec.ListText[3] = CellText(row, col + 3);
    rec.ListText[4] = CellText(row + 1, col + 3);
}

}  // namespace collect
