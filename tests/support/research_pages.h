#pragma once
// The research provider's report pages as the report site lays them out,
// generated for a stock. Every value derives from the code, so that a test
// can predict what the collector reads; the pages are the same on every call.
#include <string>

#include "marketdata/multex_record.h"

namespace testsupport {

// The report page ("/report/sector33/brand_report/<code>.html"), UTF-8: the
// site's path line with the industry and the stock name, the stock's name
// over "関連情報", its research industry ("ロイター業種「…」", for some codes
// "マルテックス業種「…」"), "今週のリサーチ情報" with the portfolio date and the
// technical and analyst information, then the report-update history (five
// rows, one a rating change), the valuation table (three rows) and the
// performance table (seven rows).
std::string ResearchReportPage(const std::string& code, const std::string& name);

// The page of a stock of the foreign section, which has no report.
std::string NoResearchReportPage();

// The research industry of the code: one of a few, so that several stocks
// share one.
std::string ResearchIndustryOf(const std::string& code);

// What the collector makes of ResearchReportPage: every field but the Key.
marketdata::MultexRec ExpectedResearchRecord(const std::string& code, const std::string& name);

}  // namespace testsupport
