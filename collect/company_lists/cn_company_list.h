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

// The child copy's part of the Chinese company-list run: one page per
// industry row of the task, whose table shows each company on two grid rows;
// at most twenty companies of a page are appended to the task's part file.
// False when a page could not be fetched (the task then fails) or held no
// company table.
bool ALSCN30M(long processNumber, const std::string& unused, common::EnvRec& env, common::MSGRec& msg,
              common::TSDRec& task);

// The column of the first cell whose text is `label`; the row below it.
bool FindCnTableStart(const std::string& label, std::int32_t& row, std::int32_t& col, const FetchRec& fetch);

// A company record from its two grid rows, `row` and the one below, from
// column `col` on.
void BuildCnListRec(std::int32_t row, std::int32_t col, const marketdata::IndustryRec& industry,
                    marketdata::ListRec& rec);

}  // namespace collect
