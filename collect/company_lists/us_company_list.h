#pragma once
#include <cstdint>
#include <string>

#include "collect/web/page_fetch.h"
#include "common/files/env_rec.h"
#include "common/logs/progress.h"
#include "common/tasks/task_records.h"
#include "marketdata/company_list.h"
#include "marketdata/industry_list.h"

namespace collect {

// The child copy's part of the US company-list run: one portal page per
// industry of the task, every company of its table appended to the task's
// part file. False when a page could not be fetched (the task then fails)
// or held no company table.
bool AL2US30M(long processNumber, const std::string& unused, common::EnvRec& env, common::MSGRec& msg,
              common::TSDRec& task);

// The column of the first cell whose text is `label`, and the first row below
// it whose cell in that column holds a text and a link.
bool FindUsTableStart(const std::string& label, std::int32_t& row, std::int32_t& col, const FetchRec& fetch);

// A company record from the cell (row, col): the name followed by its ticker
// in parentheses.
void BuildUsListRec(std::int32_t row, std::int32_t col, const marketdata::IndustryRec& industry,
                    marketdata::ListRec& rec);

}  // namespace collect
