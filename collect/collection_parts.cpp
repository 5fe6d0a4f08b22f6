#include "collect/collection_parts.h"

#include <string>

#include "collect/cn_company_list.h"
#include "collect/company_list_run.h"
#include "collect/company_report_run.h"
#include "collect/jp_company_list.h"
#include "collect/price_history_part.h"
#include "collect/price_history_run.h"
#include "collect/us_company_list.h"
#include "common/batch_chain.h"
#include "common/logs.h"
#include "common/run_state.h"
#include "common/sub_menu.h"

namespace collect {

namespace {

// Placeholders for the drivers and collectors that are not built yet: each
// says so in the error log; a collector then fails its task, so that the
// parent's controller counts it and no one waits for it.
void LogNotBuilt(const std::string& id) {
    common::WriteErrorLog(common::State().errorLogOn, id, common::log_tag::kWarning, "00",
                          id + " は未実装です（プレースホルダー）");
}

common::Driver NotBuiltDriver(const std::string& id) {
    return [id] { LogNotBuilt(id); };
}

common::Collector NotBuiltCollector(const std::string& id) {
    return [id](long, const std::string&, common::EnvRec&, common::MSGRec&, common::TSDRec&) {
        LogNotBuilt(id);
        return false;
    };
}

}  // namespace

common::ProgramParts CollectionProgramParts() {
    common::ProgramParts parts;
    for (const char* id : {"AEXCG00M", "AHPID00M"}) {
        parts.drivers[id] = NotBuiltDriver(id);
    }
    parts.drivers["AHPJP00M"] = [] { AHPJP00M(); };
    parts.drivers["ACORP00M"] = ACORP00M;
    parts.drivers["ALIST00M"] = ALIST00M;
    parts.collectors["AHPJP30M"] = AHPJP30M;
    parts.collectors["ALSJP30M"] = ALSJP30M;
    parts.collectors["ALSCN30M"] = ALSCN30M;
    parts.collectors["AL2US30M"] = AL2US30M;
    // The step of the company-registration process is empty by design.
    parts.drivers["AUSCM00M"] = [] {};
    for (const char* id : {"ACPJP30M", "ACPCN30M", "ARPJP30M", "ARPCH30M", "ARPUS30M", "AMLTX30M", "AEXCG30M"}) {
        parts.collectors[id] = NotBuiltCollector(id);
    }
    parts.subMenu = common::SubMenu;
    parts.batchRunner = common::RunCollectionBatch;
    return parts;
}

}  // namespace collect
