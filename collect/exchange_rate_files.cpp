#include "collect/exchange_rate_files.h"

#include <algorithm>
#include <vector>

#include "common/data_file.h"
#include "common/procedure_guard.h"
#include "common/text_file_write.h"

namespace collect {

std::string LatestRatesLine(const ExchangeRateRec& rec) {
    std::string line = "JPN\t" + rec.RateDate + "\t" + rec.RateTime;
    for (const std::string& rate : rec.Rates) line += "\t" + rate;
    std::erase(line, ',');
    return line;
}

void CFEXC53M(common::EnvRec& env, long fileNumber, long n, const std::string& namePart,
              const std::string& extension, std::span<const std::string> lines) {
    common::FunctionIdGuard guard("CFEXC53M");
    const std::size_t count = std::min(lines.size(), static_cast<std::size_t>(std::max(n, 0L)));
    common::CFFIL30M(lines.first(count), common::BuildDataFilePath(fileNumber, 0, 0, namePart, extension, env));
}

void CFEXC55M(common::EnvRec& env, long fileNumber, long lineCount, const std::string& namePart,
              const std::string& extension, const ExchangeRateRec& rec) {
    common::FunctionIdGuard guard("CFEXC55M");
    const std::vector<std::string> lines{LatestRatesLine(rec)};
    CFEXC53M(env, fileNumber, lineCount, namePart, extension, lines);
}

}  // namespace collect
