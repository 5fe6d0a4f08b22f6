#include "collect/child/collection_parts.h"

#include "collect/company_lists/cn_company_list.h"
#include "collect/company_lists/company_list_run.h"
#include "collect/company_lists/jp_company_list.h"
#include "collect/company_lists/us_company_list.h"
#include "collect/company_pages/company_report_run.h"
#include "collect/company_pages/profile_collectors.h"
#include "collect/company_pages/report_collectors.h"
#include "collect/company_pages/research_collector.h"
#include "collect/industry/industry_series.h"
#include "collect/prices/price_history_part.h"
#include "collect/prices/price_history_run.h"
#include "collect/rates/exchange_rate_run.h"
#include "collect/rates/fx_history_collector.h"
#include "common/startup/batch_chain.h"
#include "common/startup/sub_menu.h"

namespace collect {

common::ProgramParts CollectionProgramParts() {
    common::ProgramParts parts;
    // The industry series build always comes to its end.
    parts.drivers["AHPID00M"] = [] {
        AHPID00M();
        return true;
    };
    parts.drivers["AEXCG00M"] = AEXCG00M;
    parts.drivers["AHPJP00M"] = AHPJP00M;
    parts.drivers["ACORP00M"] = ACORP00M;
    parts.drivers["ALIST00M"] = ALIST00M;
    parts.collectors["AHPJP30M"] = AHPJP30M;
    parts.collectors["ALSJP30M"] = ALSJP30M;
    parts.collectors["ALSCN30M"] = ALSCN30M;
    parts.collectors["AL2US30M"] = AL2US30M;
    // The step of the company-registration process is empty by design.
    parts.drivers["AUSCM00M"] = [] { return true; };
    parts.collectors["ACPJP30M"] = ACPJP30M;
    parts.collectors["ACPCN30M"] = ACPCN30M;
    parts.collectors["ARPJP30M"] = ARPJP30M;
    parts.collectors["ARPCH30M"] = ARPCH30M;
    parts.collectors["ARPUS30M"] = ARPUS30M;
    parts.collectors["AEXCG30M"] = AEXCG30M;
    parts.collectors["AMLTX30M"] = AMLTX30M;
    parts.subMenu = common::SubMenu;
    parts.batchRunner = common::RunCollectionBatch;
    return parts;
}

}  // namespace collect
