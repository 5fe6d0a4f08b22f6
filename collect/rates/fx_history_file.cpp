#include "collect/rates/fx_history_file.h"

#include <algorithm>

#include "collect/rates/exchange_rate_files.h"
#include "common/files/data_file.h"
#include "common/files/file_ops.h"
#include "common/files/master_merge.h"
#include "common/files/tab_line_sort.h"
#include "common/files/text_file_read.h"
#include "common/logs/logs.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "marketdata/line_order.h"
#include "platform/file_system.h"
#include "platform/utf8_text.h"

namespace collect {

namespace {

template <typename Keys>
void SetHistoryKeys(Keys& keys) {
    keys.KeyCount = 2;
    keys.KeyStart[1] = 1;
    keys.KeyLength[1] = 3;  // the currency code
    keys.KeyStart[2] = 5;
    keys.KeyLength[2] = 10;  // the date
}

}  // namespace

std::string FxHistoryRecToLine(const FxHistoryRec& rec) { return RatesLine({rec.Currency, rec.Date}, rec.Rates); }

bool LineToFxHistoryRec(std::string_view line, FxHistoryRec& rec) {
    const std::vector<std::string_view> fields = platform::SplitAt(line, '\t');
    if (fields.size() != kFxHistoryFieldCount) return false;
    rec.Currency = fields[0];
    rec.Date = fields[1];
    for (std::size_t i = 0; i < rec.Rates.size(); ++i) rec.Rates[i] = fields[i + 2];
    return true;
}

void LoadFxHistory(common::EnvRec& env, const std::string& namePart, const std::string& extension,
                   std::vector<FxHistoryRec>& rows) {
    common::FunctionIdGuard guard("LoadFxHistory");
    rows.clear();
    std::vector<std::string> lines;
    const std::string path = common::BuildDataFilePath(kExchangeRateFileNumber, 0, 0, namePart, extension, env);
    if (!common::CFFIL21M(path, lines)) return;
    common::SortKeyRec keys;
    SetHistoryKeys(keys);
    for (const std::size_t j : marketdata::SortedLineOrder(lines, keys)) {
        if (platform::TrimBlanks(lines[j]).empty()) continue;
        FxHistoryRec rec;
        if (!LineToFxHistoryRec(lines[j], rec)) {
            const common::RunState& state = common::State();
            common::WriteErrorLog(state.errorLogOn, state.procedureId, common::log_tag::kWarning, "00",
                                  "為替情報の読めない行を読み飛ばしました。　" + path + "　" + std::to_string(j + 1) +
                                      "行目　項目数=" + std::to_string(platform::SplitAt(lines[j], '\t').size()));
            continue;
        }
        rows.push_back(std::move(rec));
    }
}

void CFEXC51M(long n, const std::vector<FxHistoryRec>& rows, std::vector<std::string>& lines) {
    lines.clear();
    const std::size_t count = std::min(rows.size(), static_cast<std::size_t>(std::max(n, 0L)));
    for (std::size_t i = 0; i < count; ++i) lines.push_back(FxHistoryRecToLine(rows[i]));
}

void CFEXCS1M(std::vector<std::string>& lines) {
    common::SortKeyRec keys;
    SetHistoryKeys(keys);
    common::SortLinesByKeys(lines, keys);
}

void CFEXCR0M(const std::string& base, const std::string& workExt, const std::string& masterExt, common::EnvRec&,
              common::MSGRec& msg) {
    common::FunctionIdGuard guard("CFEXCR0M");
    common::MergeKeyRec keys;
    SetHistoryKeys(keys);
    keys.ReplaceMode = "9";
    common::MergeCounterRec counter;
    std::vector<std::string> merged;
    common::CFRCV21M(base, workExt, masterExt, msg, keys, counter, merged);
    // The merge leaves its result in base + ".tmp" (a first history it writes
    // in place, and the work file there holds the same lines). One rename over
    // the old history: deleting it first would leave none at all if the
    // program ended in between, as the next run starts by deleting the work file.
    if (platform::FileExists(base + ".tmp")) common::CFFIL60M(base + ".tmp", base + masterExt);
}

}  // namespace collect
