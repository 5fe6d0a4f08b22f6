#include "marketdata/industry_list_reader.h"

#include "common/data_file.h"
#include "common/logs.h"
#include "common/run_state.h"
#include "common/text_file_read.h"
#include "marketdata/line_order.h"
#include "platform/utf8_text.h"

namespace marketdata {

namespace {

// Field 17 is the one-character field; text n is at field 19 + n.
constexpr long kAttr1Position = 16;  // 0-based
constexpr long kFirstText = 11;
constexpr long kLastText = 22;
constexpr long kTextOffset = 18;  // 0-based position of text n is n + 18
constexpr long kFieldsTaken = kLastText + kTextOffset + 1;

}  // namespace

bool ReadIndustryEntries(long fileNumber, long procIdx, long seq, const std::string& namePart, common::EnvRec& env,
                         const common::SortKeyRec& sortKeys, std::vector<IndustryEntry>& entries) {
    entries.clear();
    std::string path;
    if (!common::FindDataFile(fileNumber, procIdx, seq, namePart, "", env, path)) return false;
    std::vector<std::string> lines;
    common::CFFIL20M(path, lines);
    entries.reserve(lines.size());
    for (const std::size_t j : SortedLineOrder(lines, sortKeys)) {
        if (platform::TrimBlanks(lines[j]).empty()) continue;
        const std::vector<std::string_view> fields = SplitTabs(lines[j]);
        if (static_cast<long>(fields.size()) < kFieldsTaken) {
            const common::RunState& state = common::State();
            common::WriteErrorLog(state.errorLogOn, state.procedureId, common::log_tag::kWarning, "00",
                                  "業種情報の読めない行を読み飛ばしました。　" + path + "　" + std::to_string(j + 1) +
                                      "行目　項目数=" + std::to_string(fields.size()));
            continue;
        }
        IndustryEntry& entry = entries.emplace_back();
        long position = 0;
        KeyFromFields(fields, position, entry.Key);
        entry.Attr1 = FitField(fields[kAttr1Position], 1, "Attr1");
        for (long n = kFirstText; n <= kLastText; ++n) {
            entry.Text[static_cast<std::size_t>(n)] = fields[static_cast<std::size_t>(n + kTextOffset)];
        }
    }
    return !entries.empty();
}

}  // namespace marketdata
