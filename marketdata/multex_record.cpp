#include "marketdata/multex_record.h"

#include <cstddef>

#include "common/files/data_file.h"
#include "common/files/text_file_read.h"
#include "common/logs/logs.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "marketdata/line_order.h"
#include "marketdata/text_record_line.h"
#include "platform/utf8_text.h"

namespace marketdata {

namespace {

// The 68 texts in line order; `R` is MultexRec or const MultexRec.
template <class R>
auto TextsOf(R& rec) {
    std::vector<decltype(&rec.Text[0])> texts;
    texts.reserve(kMultexFieldCount - kKeyFieldCount);
    for (std::size_t n = 1; n < rec.Text.size(); ++n) texts.push_back(&rec.Text[n]);
    for (std::size_t k = 1; k < rec.A1.size(); ++k) {
        for (auto* group : {&rec.A1, &rec.A2}) texts.push_back(&(*group)[k]);
    }
    for (std::size_t k = 1; k < rec.B1.size(); ++k) {
        for (auto* group : {&rec.B1, &rec.B2, &rec.B3}) texts.push_back(&(*group)[k]);
    }
    for (std::size_t k = 1; k < rec.C1.size(); ++k) {
        for (auto* group : {&rec.C1, &rec.C2, &rec.C3, &rec.C4, &rec.C5}) texts.push_back(&(*group)[k]);
    }
    return texts;
}

bool Passes(const MultexRec& rec, const MultexLoadReq& req) {
    return (req.FlagFilter.empty() || rec.Key.Flag1 == req.FlagFilter) &&
           (req.CategoryFilter.empty() || rec.Key.Category == req.CategoryFilter) &&
           (req.MarketFilter.empty() || rec.Key.Market == req.MarketFilter);
}

}  // namespace

bool ParseMultexLine(std::string_view line, MultexRec& rec) {
    return LineToTextRecord(line, rec.Key, TextsOf(rec));
}

void MultexRecToLine(const MultexRec& rec, std::string& line) { TextRecordToLine(rec.Key, TextsOf(rec), line); }

bool CFMLT10M(const MultexLoadReq& req, common::EnvRec& env, std::vector<MultexRec>& recs) {
    common::FunctionIdGuard guard("CFMLT10M");
    recs.clear();
    std::string path;
    if (!common::FindDataFile(req.FNameIdx, req.ProcIdx, req.FNameSeq, req.Concati, "", env, path)) return false;
    std::vector<std::string> lines;
    common::CFFIL20M(path, lines);
    recs.reserve(lines.size());
    MultexRec rec;
    for (const std::size_t j : SortedLineOrder(lines, req.SortKeys)) {
        if (platform::TrimBlanks(lines[j]).empty()) continue;
        if (!ParseMultexLine(lines[j], rec)) {
            const common::RunState& state = common::State();
            common::WriteErrorLog(state.errorLogOn, state.procedureId, common::log_tag::kWarning, "00",
                                  "ロイター業種の読めない行を読み飛ばしました。　" + path + "　" +
                                      std::to_string(j + 1) + "行目　項目数=" +
                                      std::to_string(SplitTabs(lines[j]).size()));
            continue;
        }
        if (Passes(rec, req)) recs.push_back(rec);
    }
    recs.shrink_to_fit();
    return !recs.empty();
}

}  // namespace marketdata
