#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "collect/web/page_fetch.h"
#include "common/files/env_rec.h"
#include "common/logs/progress.h"
#include "common/tasks/task_records.h"
#include "marketdata/company_list.h"
#include "marketdata/industry_list.h"

namespace collect {

// How the collection of one industry ended.
enum class IndustryEnd {
    Finished,     // the industry's companies are written
    Cancelled,    // a cancel or suspension was asked for before its first fetch
    FetchFailed,  // its page could not be fetched: the task fails
    NoTable,      // its page holds no company table: the run ends, the task left as it is
};

class ListCollectorRun;

// What a company-list collector brings to the run they all share.
struct ListCollectorKind {
    const char* id;              // the collector's procedure ID
    const char* preparingLabel;  // the progress label while the run prepares
    long industryFile;           // the task's industry list, with the number's default extension
    const char* industryNamePart;
    const char* market;    // the rows collected: this market ("" any), category "0050" ("" any), flag "1"
    const char* category;
    long companyFile;      // the company-list part file, with ".tmp"
    // The finished industries are appended to the industry ".tmp" file and
    // the industry being paged is kept in ".rcv"; each start folds the
    // finished ones into the task's list, so a task started again skips them.
    bool recordsFinished;
    long (*denominator)(std::span<const marketdata::IndustryRec> industries);
    IndustryEnd (*collectIndustry)(ListCollectorRun& run, marketdata::IndustryRec& industry);
};

// One task's run, as the collection of an industry sees it.
class ListCollectorRun {
public:
    ListCollectorRun(const ListCollectorKind& kind, common::EnvRec& env, common::MSGRec& msg, common::TSDRec& task);

    // Collects the task's industries: the whole run from the start line to
    // the end line. True unless an industry ended with FetchFailed or NoTable.
    bool Run();

    // The cancel flag of the settings, or the parent's suspension mark.
    bool StopRequested();
    // The progress of the industry in hand; a page number above 0 is shown too.
    void ShowIndustryProgress(long numerator, const marketdata::IndustryRec& industry, long page);
    // One fetch of the page at `url` into the page cell tables; false when it failed.
    bool Fetch(FetchRec& fetch, const std::string& url);
    // The one page of an industry whose page address is the whole address:
    // the progress shown, the cancel check, then the fetch. Finished when the
    // page is in the page cell tables.
    IndustryEnd FetchIndustryPage(const marketdata::IndustryRec& industry, FetchRec& fetch);
    // The industry's one page (as FetchIndustryPage) with its company table,
    // whose first company `findStart` gives at `label`; anything but Finished
    // ends the industry, a missing table logged with `notFound`.
    using TableStartFinder = bool (*)(const std::string& label, std::int32_t& row, std::int32_t& col,
                                      const FetchRec& fetch);
    IndustryEnd FetchCompanyTable(const marketdata::IndustryRec& industry, TableStartFinder findStart,
                                  const std::string& label, const std::string& notFound, FetchRec& fetch,
                                  std::int32_t& row, std::int32_t& col);
    // The task's company-list part file.
    const std::string& CompanyPath() const { return companyPath_; }
    // The industry being paged, rewritten after every page.
    void KeepPagedIndustry(marketdata::IndustryRec& industry);

    long pageCounter = 1;  // grows with every list page found

private:
    bool LoadIndustries();
    void ShowPreparing();
    void ClearOutputOfFailedTask();
    bool CollectIndustries();
    void RecordFinished(marketdata::IndustryRec& industry);
    void Report(long fileNumber, const std::string& status);
    void DeletePagedIndustry();

    const ListCollectorKind& kind_;
    common::EnvRec& env_;
    common::MSGRec& msg_;
    common::TSDRec& task_;
    std::string companyPath_;
    std::string finishedPath_;
    std::string pagedPath_;
    std::vector<marketdata::IndustryRec> industries_;
    long position_ = 0;  // b of n
    bool result_ = true;
};

// The progress denominator of the collectors with one page per industry.
long IndustryCount(std::span<const marketdata::IndustryRec> industries);

// A company record started from its industry: the industry's Key and texts,
// then the stock category, blank flags and the current date and time.
void StartCompanyRec(const marketdata::IndustryRec& industry, marketdata::ListRec& rec);

// The trimmed text of a cell of the page cell tables.
std::string CellText(std::int32_t row, std::int32_t col);
std::string CellLink(std::int32_t row, std::int32_t col);

// The first cell of the page, row by row, whose trimmed text is `label`.
bool FindLabelCell(const std::string& label, const FetchRec& fetch, std::int32_t& row, std::int32_t& col);

// Adds the company's company-list line to `lines`, the lines of one write
// to the part file (CR LF between them).
void AddCompanyLine(std::string& lines, const marketdata::ListRec& rec);


}  // namespace collect
