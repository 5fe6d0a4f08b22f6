#include "collect/company_pages/profile_collectors.h"

#include <cstdint>

#include "collect/company_pages/cn_profile_page.h"
#include "collect/company_pages/company_page_collector.h"
#include "collect/company_pages/jp_profile_page.h"
#include "collect/web/page_cell_table.h"
#include "common/run_state.h"
#include "marketdata/company_profile.h"
#include "marketdata/industry_list.h"
#include "platform/utf8_text.h"

namespace collect {

namespace {

// The company's profile page in the page cell tables; false, after the
// warning, when it could not be fetched.
bool FetchProfilePage(CompanyPageRun& run, const marketdata::CdmRec& company, const char* callerTag,
                      FetchRec& fetch) {
    const std::string url =
        CompanyUrl(common::State().context.urlTemplate1, platform::TrimBlanks(company.Key.CorpCode));
    return run.Fetch(fetch, url, callerTag, company);
}

bool NoProfile(CompanyPageRun& run, const marketdata::CdmRec& company) {
    run.LogMissing("無し(1) ", company);
    return false;
}

bool CollectJapanProfile(CompanyPageRun& run, marketdata::CdmRec& company, std::string& resultLine) {
    FetchRec fetch;
    marketdata::CpiRec profile;
    std::int32_t row = 0;
    std::int32_t col = 0;
    if (!FetchProfilePage(run, company, "ACPJP30M(3)：", fetch)) return false;
    if (CheckJapanProfilePage(PageText(), profile, row, col) == 0) return NoProfile(run, company);
    ParseJapanProfile(company, profile, PageText(), row, col);
    // The market codes follow from the market name in the market-report run.
    marketdata::MarketName(company) = profile.Text[25];
    marketdata::CpiToCdmRec(company, profile);
    marketdata::CpiRecToLine(profile, resultLine);
    return true;
}

// The first of the listings the profile names ("香港メインボード, H株").
std::string FirstListing(const std::string& listings) {
    return platform::TrimBlanks(listings.substr(0, listings.find(',')));
}

bool CollectChinaProfile(CompanyPageRun& run, marketdata::CdmRec& company, std::string& resultLine) {
    FetchRec fetch;
    marketdata::CpiRec profile;
    std::int32_t row = 0;
    std::int32_t col = 0;
    if (!FetchProfilePage(run, company, "ACPCN30M(3)：", fetch)) return false;
    if (CheckChinaProfilePage(PageText(), row, col) == 0) return NoProfile(run, company);
    ParseChinaProfile(company, profile, PageText(), row, col);
    marketdata::CpiToCdmRec(company, profile);
    std::string& marketName = marketdata::MarketName(company);
    const std::string& listings = profile.Text[25];
    if (platform::TrimBlanks(marketName).empty() && !platform::TrimBlanks(listings).empty()) {
        marketName = FirstListing(listings);
        marketdata::FillIndustryLevels(0, company, run.industries());
        profile.Key.IndCode0020 = company.Key.IndCode0020;
        profile.Key.IndCode0030 = company.Key.IndCode0030;
    }
    marketdata::CpiRecToLine(profile, resultLine);
    return true;
}

constexpr CompanyPageKind kJapan{"ACPJP30M", CollectJapanProfile};
constexpr CompanyPageKind kChina{"ACPCN30M", CollectChinaProfile};

}  // namespace

bool ACPJP30M(long, const std::string&, common::EnvRec& env, common::MSGRec& msg, common::TSDRec& task) {
    CompanyPageRun(kJapan, env, msg, task).Run();
    return true;
}

bool ACPCN30M(long, const std::string&, common::EnvRec& env, common::MSGRec& msg, common::TSDRec& task) {
    CompanyPageRun(kChina, env, msg, task).Run();
    return true;
}

}  // namespace collect
