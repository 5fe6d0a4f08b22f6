#pragma once
#include <string>

#include "collect/web/page_fetch.h"
#include "common/files/env_rec.h"
#include "common/logs/progress.h"
#include "common/tasks/task_records.h"
#include "marketdata/company_list.h"
#include "marketdata/industry_list.h"

namespace collect {

// The child copy's part of the Japanese company-list run: pages through the
// portal's list pages of every industry of the task, twenty companies a page,
// and appends one company line per company to the task's part file. True
// also when it stopped on a cancel.
bool ALSJP30M(long processNumber, const std::string& unused, common::EnvRec& env, common::MSGRec& msg,
              common::TSDRec& task);

// The address of an industry's list page: the prefix, the page number and ".html".
std::string IndustryPageUrl(const std::string& prefix, long page);

// The first data row of the page's company table (the row below the header
// whose first cell holds "コード", past the table when the header is its last
// row), 0 when the page has no list.
long FindJpListStart(const FetchRec& fetch);

// Appends the companies of the page from `startRow` on to the part file at
// `partPath`, each started from `industry`; counts them into `count`.
void ParseJpListPage(long startRow, const marketdata::IndustryRec& industry, long& count,
                     const std::string& partPath);

// A company record from one row of the company table.
void BuildJpListRec(long row, const marketdata::IndustryRec& industry, marketdata::ListRec& rec);

}  // namespace collect
