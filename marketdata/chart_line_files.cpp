#include "marketdata/chart_line_files.h"

#include "common/files/file_ops.h"
#include "common/files/file_registry.h"
#include "common/procedure_guard.h"
#include "platform/utf8_text.h"

namespace marketdata {

std::string CFKSN54M(common::EnvRec& env, const Key& key, long fileNumber, const std::string& suffix,
                     const std::string& extension) {
    common::FunctionIdGuard guard("CFKSN54M");
    const std::string stockPart = "-" + platform::TrimBlanks(key.Market) + "-" + platform::TrimBlanks(key.Category) +
                                  "-" + platform::TrimBlanks(key.CorpCode);
    return common::CFFIL02M({fileNumber, 0, 0, suffix, stockPart + extension}, env);
}

void DeleteChartLineFiles(common::EnvRec& env, const Key& key) {
    const std::string extension = common::CFFIL03M(kChartLineFileNumber);
    for (const char* suffix : {kChartLineTempSuffix, ""}) {
        common::CFFIL70M(CFKSN54M(env, key, kChartLineFileNumber, suffix, extension));
    }
}

}  // namespace marketdata
