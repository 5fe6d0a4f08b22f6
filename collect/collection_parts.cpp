#include "collect/collection_parts.h"

#include "collect/cn_company_list.h"
#include "collect/company_list_run.h"
#include "collect/company_report_run.h"
#include "collect/exchange_rate_run.h"
#include "collect/fx_history_collector.h"
#include "collect/industry_series.h"
#include "collect/jp_company_list.h"
#include "collect/price_history_part.h"
#include "collect/price_history_run.h"
#include "collect/profile_collectors.h"
#include "collect/report_collectors.h"
#include "collect/research_collector.h"
#include "collect/us_company_list.h"
#include "common/batch_chain.h"
#include "common/sub_menu.h"

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
