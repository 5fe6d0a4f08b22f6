#include "collect/rates/exchange_rate_files.h"

#include <algorithm>
#include <vector>

#include "common/files/data_file.h"
#include "common/files/text_file_write.h"
#include "common/procedure_guard.h"
#include "platform/field_text.h"

namespace collect {

std::string RatesLine(std::initializer_list<std::string_view> leading, std::span<const std::string, 7> rates) {
    std::string line;
    bool first = true;
    const auto append = [&](std::string_view field) {
        if (!first) line += '\t';
        first = false;
        platform::AppendFieldText(line, field);
    };
    for (const std::string_view field : leading) append(field);
    for (const std::string& rate : rates) append(rate);
    std::erase(line, ',');
    return line;
}

std::string LatestRatesLine(const ExchangeRateRec& rec) {
    return RatesLine({"JPN", rec.RateDate, rec.RateTime}, rec.Rates);
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
