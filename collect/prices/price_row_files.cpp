#include "collect/prices/price_row_files.h"

#include "common/files/data_file.h"
#include "common/files/master_merge.h"
#include "common/files/text_file_read.h"
#include "common/procedure_guard.h"

namespace collect {

bool CFHPC50M(common::EnvRec& env, long fileNumber, std::span<const marketdata::PriceRec> rows,
              const std::string& namePart, const std::string& extension) {
    common::FunctionIdGuard guard("CFHPC50M");
    std::vector<std::string> lines;
    marketdata::PriceRecsToLines(rows, lines);
    marketdata::WritePriceSeries(env, fileNumber, namePart, extension, lines);
    return true;
}

bool CFCND10M(const std::string& namePart, common::EnvRec& env, std::vector<std::string>& lines) {
    common::FunctionIdGuard guard("CFCND10M");
    return common::CFFIL21M(common::BuildDataFilePath(kCalendarFileNumber, 0, 0, namePart, "", env), lines);
}

void CFHPJR0M(const std::string& base, const std::string& workExt, const std::string& masterExt,
              std::vector<std::string>& lines) {
    common::FunctionIdGuard guard("CFHPJR0M");
    common::MergeKeyRec keys;
    keys.KeyCount = 1;
    keys.KeyStart[1] = 1;
    keys.KeyLength[1] = 10;  // the date
    keys.ReplaceMode = "9";
    common::MSGRec msg;
    common::MergeCounterRec counter;
    common::CFRCV21M(base, workExt, masterExt, msg, keys, counter, lines);
}

}  // namespace collect
