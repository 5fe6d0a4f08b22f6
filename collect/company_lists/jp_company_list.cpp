#include "collect/company_lists/jp_company_list.h"

#include <algorithm>
#include <cctype>
#include <span>
#include <string_view>

#include "collect/company_lists/list_collector_run.h"
#include "common/files/text_file_write.h"
#include "common/logs/logs.h"
#include "common/settings/settings.h"
#include "common/tasks/waits.h"
#include "platform/number_format.h"
#include "platform/numeric_text.h"
#include "platform/utf8_text.h"

namespace collect {

namespace {

constexpr const char* kOwnId = "ALSJP30M";
constexpr long kPageSize = 20;

bool Holds(std::string_view text, std::string_view part) {
    return !part.empty() && text.find(part) != std::string_view::npos;
}

// The row after a company that closes the page's list: the paging links,
// the notes below the table, or the portal's brand in its footer.
// The brand is a setting; an empty one matches nothing.
bool EndsList(std::string_view text, const std::string& brand) {
    static constexpr std::string_view kMarks[] = {"次へ", "前へ", "この情報は"};
    const auto holds = [&](std::string_view mark) { return Holds(text, mark); };
    return std::any_of(std::begin(kMarks), std::end(kMarks), holds) || Holds(text, brand);
}

long ExpectedCount(const marketdata::IndustryRec& industry) {
    const std::string text = platform::TrimBlanks(industry.Fixed6);
    const bool digits = !text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char c) {
        return std::isdigit(c) != 0;
    });
    return digits ? std::stol(text) : 0;
}

long PageCount(const marketdata::IndustryRec& industry) {
    return (ExpectedCount(industry) + kPageSize - 1) / kPageSize;
}

long TotalPages(std::span<const marketdata::IndustryRec> industries) {
    long pages = 1;
    for (const marketdata::IndustryRec& industry : industries) pages += PageCount(industry);
    return pages;
}

// Pages through the industry until a page holds no list. A page that failed
// to come is one without a list: the industry ends there, its shortfall shown
// in the count line.
IndustryEnd CollectIndustry(ListCollectorRun& run, marketdata::IndustryRec& industry) {
    const long pages = PageCount(industry);
    long taken = 0;
    FetchRec fetch;
    for (long page = 1; page <= pages; ++page) {
        run.ShowIndustryProgress(run.pageCounter, industry, page);
        if (page == 1 && run.StopRequested()) return IndustryEnd::Cancelled;
        run.Fetch(fetch, IndustryPageUrl(industry.Text[23], page));
        const long start = FindJpListStart(fetch);
        if (start == 0) break;
        ++run.pageCounter;
        industry.Fixed4 = platform::FormatNumber(static_cast<double>(page), "0000");
        ParseJpListPage(start, industry, taken, run.CompanyPath());
        run.KeepPagedIndustry(industry);
    }
    common::WriteInfoLog(common::LogSwitch(1), kOwnId, common::log_tag::kWarning, "00",
                         std::string(kOwnId) + "\t取得予定件数=\t" +
                             platform::FormatNumber(static_cast<double>(ExpectedCount(industry)), "0000") +
                             "\t　　取得件数=\t" + platform::FormatNumber(static_cast<double>(taken), "0000") +
                             "\t　　業種=" + industry.Text[17]);
    return IndustryEnd::Finished;
}

constexpr ListCollectorKind kJapan{.id = kOwnId,
                                   .preparingLabel = "企業一覧（国内）の取得準備中",
                                   .industryFile = marketdata::kJapanIndustryFileNumber,
                                   .industryNamePart = "",
                                   .market = "JPN",
                                   .category = "0050",
                                   .companyFile = 1003,
                                   .recordsFinished = true,
                                   .denominator = TotalPages,
                                   .collectIndustry = CollectIndustry};

}  // namespace

bool ALSJP30M(long, const std::string&, common::EnvRec& env, common::MSGRec& msg, common::TSDRec& task) {
    return ListCollectorRun(kJapan, env, msg, task).Run();
}

std::string IndustryPageUrl(const std::string& prefix, long page) { return prefix + std::to_string(page) + ".html"; }

long FindJpListStart(const FetchRec& fetch) {
    for (long row = 1; row <= fetch.RowCount; ++row) {
        const std::string first = CellText(row, 1);
        if (Holds(first, "入力されたページは見つかりません") || Holds(first, "企業情報ページが見つかりません")) return 0;
        // A header in the last row is still a list, one without companies:
        // the industry pages on.
        if (Holds(first, "コード")) return row + 1;
    }
    return 0;
}

void ParseJpListPage(long startRow, const marketdata::IndustryRec& industry, long& count,
                     const std::string& partPath) {
    const long lastRow = PageText().RowCount();
    const std::string brand = common::ReadSetting("MirControl\\HpGet\\ListBrand");
    std::string lines;
    long onPage = 0;
    for (long row = startRow; row <= lastRow; ++row) {
        const std::string code = CellText(row, 1);
        if (!code.empty() && platform::IsNumericText(code)) {
            marketdata::ListRec rec;
            BuildJpListRec(row, industry, rec);
            AddCompanyLine(lines, rec);
            ++count;
            ++onPage;
        }
        if (onPage == kPageSize || EndsList(PageText().At(row + 1, 1), brand)) break;
    }
    if (lines.empty()) return;
    common::AppendLineToFile(partPath, lines);
    common::WaitSeconds(0.2f);
}

void BuildJpListRec(long row, const marketdata::IndustryRec& industry, marketdata::ListRec& rec) {
    StartCompanyRec(industry, rec);
    rec.Key.CorpCode = CellText(row, 1);
    rec.ListText[1] = CellText(row, 2);
    rec.ListText[2] = rec.ListText[1];
    rec.ListText[7] = CellText(row, 3);
    rec.ListText[29] = CellLink(row, 1);
}

}  // namespace collect
