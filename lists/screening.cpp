#include "lists/screening.h"

#include "analysis/analysis_info.h"
#include "analysis/analysis_info_file.h"
#include "analysis/progress_step.h"
#include "common/logs/message_box.h"
#include "common/logs/message_style.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "common/settings/settings.h"
#include "common/text/text_compare.h"
#include "lists/list_chart_target.h"
#include "marketdata/analysis_info_reader.h"
#include "platform/number_format.h"
#include "platform/utf8_text.h"

namespace lists {

namespace {

constexpr long kStages = 7;
constexpr const char* kCrLf = "\r\n";
constexpr const char* kNoData = "抽出対象のデータはありませんでした。　";

// The number in full-width digits ("１０００").
std::string WideDigits(long n) {
    std::string wide;
    for (const char digit : platform::FormatNumber(static_cast<double>(n), "0")) {
        if (digit >= '0' && digit <= '9') {
            platform::AppendUtf8(wide, U'０' + static_cast<char32_t>(digit - '0'));
        } else {
            platform::AppendUtf8(wide, U'－');
        }
    }
    return wide;
}

void WarnOverLimit(long limit, std::size_t count) {
    const std::string l = WideDigits(limit);
    common::ShowWarning("対象データが" + l + "件を超えました" + "（対象データ" + WideDigits(static_cast<long>(count)) +
                            "件）　" + kCrLf + "対象データが" + l + "件以下になる様に、抽出条件を指定してください。　" +
                            kCrLf + kCrLf + "※上限値は、ご利用のＰＣの環境によって異なります。　" + kCrLf +
                            "　特に、実装メモリーが少ない場合に大量のデータを表示しようとした場合、　" + kCrLf +
                            "　表示するまでに数分から数１０分かかり、ＰＣ自体も不安定になります。　　" + kCrLf +
                            "　この為、上限値の初期設定を１０００件に設定していますので、　" + kCrLf +
                            "　「環境設定」画面にて、ご利用のＰＣの実装メモリーの状況に合わせて、　" + kCrLf +
                            "　上限値を変更してください。　" + kCrLf + kCrLf,
                        common::msg_style::kExclamation);
}

// Loads both analysis files when the information is not in memory; false,
// after telling the user, when there is none.
bool EnsureAnalysisInfo(common::EnvRec& env, common::MSGRec& msg, long& stride) {
    common::RunState& state = common::State();
    if (!state.analysisTable.empty()) return true;
    analysis::SetProgressStep("分析情報の取込", 0, 0, stride, msg);
    if (!analysis::ReadAnalysisInfoFile(marketdata::kAnalysisInfoFileNumber, 0, env, msg, state.analysisTable)) {
        state.analysisIndexTable.clear();
        analysis::WarnNoAnalysisInfo("01");
        return false;
    }
    analysis::ReadAnalysisInfoFile(marketdata::kAnalysisIndexFileNumber, 0, env, msg, state.analysisIndexTable);
    return true;
}

// The rows the conditions narrow: the table itself until a condition first
// filters, which then works on a copy of its own, so that a list of every
// stock copies none.
class WorkList {
public:
    explicit WorkList(const std::vector<common::AnalysisRec>& table) : table_(table) {}

    std::vector<common::AnalysisRec>& ToNarrow() {
        if (!own_) own_ = table_;
        return *own_;
    }
    std::span<const common::AnalysisRec> rows() const { return own_ ? *own_ : table_; }

private:
    const std::vector<common::AnalysisRec>& table_;
    std::optional<std::vector<common::AnalysisRec>> own_;
};

// The first refused bound of a row whose kind is set, if any.
bool FindBadBound(const ScreeningConditions& conditions, ScreeningResult& result) {
    for (std::size_t k = 0; k < kConditionRows; ++k) {
        const RangeCondition& row = conditions.range[k];
        if (platform::TrimBlanks(row.kind).empty()) continue;
        for (const bool isTo : {false, true}) {
            if (IsRangeBoundText(isTo ? row.to : row.from)) continue;
            result.outcome = ScreeningOutcome::BadBound;
            result.badRow = k;
            result.badBoundIsTo = isTo;
            return true;
        }
    }
    return false;
}

// The catalogue position of the w-th kind of `kinds` (1-based).
std::int32_t KindPosition(const ColumnCatalogue& catalogue, const std::vector<std::size_t>& kinds, std::size_t w) {
    return catalogue.columns[kinds[w - 1] - 1].ColNo;
}

bool IsKind(const ColumnCatalogue& catalogue, const std::vector<std::size_t>& kinds, std::size_t w,
            const std::string& text) {
    return common::TextEquals(catalogue.columns[kinds[w - 1] - 1].Caption, text);
}

// Condition 1, from the last kind to the first and from row 5 to row 1;
// false when no row is left.
bool ApplyCodeConditions(common::MSGRec& msg, const ColumnCatalogue& catalogue, const std::vector<std::size_t>& kinds,
                         const ScreeningConditions& conditions, WorkList& work) {
    for (std::size_t w = kinds.size(); w >= 1; --w) {
        for (std::size_t k = kConditionRows; k >= 1; --k) {
            const CodeCondition& row = conditions.code[k - 1];
            if (row.choice.empty() || !IsKind(catalogue, kinds, w, row.kind)) continue;
            const auto filter = IsKind(catalogue, kinds, w, kCurrencyKind) ? &FilterByCurrency : &FilterByCode;
            if (filter(msg, KindPosition(catalogue, kinds, w), TextBeforeColon(row.choice), work.ToNarrow()) == 0) {
                return false;
            }
        }
    }
    return true;
}

bool ApplyRangeConditions(common::MSGRec& msg, const ColumnCatalogue& catalogue, const std::vector<std::size_t>& kinds,
                          const ScreeningConditions& conditions, WorkList& work) {
    for (std::size_t w = kinds.size(); w >= 1; --w) {
        for (std::size_t k = kConditionRows; k >= 1; --k) {
            const RangeCondition& row = conditions.range[k - 1];
            if (!IsKind(catalogue, kinds, w, row.kind)) continue;
            const std::int32_t position = KindPosition(catalogue, kinds, w);
            const std::string from = platform::TrimBlanks(row.from);
            const std::string to = platform::TrimBlanks(row.to);
            std::size_t left = work.rows().size();
            if (!from.empty() && !to.empty()) {
                left = FilterByRange(msg, position, from, to, work.ToNarrow());
            } else if (!from.empty()) {
                left = FilterFrom(msg, position, from, work.ToNarrow());
            } else if (!to.empty()) {
                left = FilterTo(msg, position, to, work.ToNarrow());
            }
            if (left == 0) return false;
        }
    }
    return true;
}

}  // namespace

ScreeningResult ScreenAnalysisInfo(common::EnvRec& env, common::MSGRec& msg, const ColumnCatalogue& catalogue,
                                   const ScreeningConditions& conditions, std::vector<ColumnSortState>& states) {
    common::ProcedureIdGuard guard("ScreenAnalysisInfo");
    ScreeningResult result;
    if (FindBadBound(conditions, result)) return result;
    msg.StageCount = kStages;
    msg.StagesDone = 0;
    long stride = 1;
    if (!EnsureAnalysisInfo(env, msg, stride)) {
        result.outcome = ScreeningOutcome::NoAnalysisInfo;
        return result;
    }
    const std::vector<common::AnalysisRec>& table = common::State().analysisTable;
    analysis::SetProgressStep("分析情報のスクリーニング準備", 1, static_cast<long>(table.size()), stride, msg);
    WorkList work(table);

    const ColumnLists lists = DeriveColumnLists(catalogue.columns);
    analysis::SetProgressStep("抽出条件１でスクリーニング", 1, static_cast<long>(lists.condList.size()), stride, msg);
    bool left = ApplyCodeConditions(msg, catalogue, lists.condList, conditions, work);
    if (left) {
        analysis::SetProgressStep("抽出条件２でスクリーニング", 1, static_cast<long>(lists.condRange.size()), stride,
                                  msg);
        left = ApplyRangeConditions(msg, catalogue, lists.condRange, conditions, work);
    }
    if (!left) {
        common::ShowWarning(kNoData, common::msg_style::kExclamation);
        result.outcome = ScreeningOutcome::NothingLeft;
        return result;
    }

    const std::span<const common::AnalysisRec> rows = work.rows();
    const long limit = common::ReadSettingLong(common::SettingKeyPath("Common", "ListMax"));
    if (static_cast<long long>(rows.size()) > limit) {
        WarnOverLimit(limit, rows.size());
        result.outcome = ScreeningOutcome::OverLimit;
        return result;
    }
    analysis::SetProgressStep("リストの編集", 1, static_cast<long>(rows.size()), stride, msg);
    result.list = FillScreeningList(msg, rows, catalogue.columns, states);
    result.rows.reserve(rows.size());
    for (const common::AnalysisRec& rec : rows) result.rows.push_back({rec.Field[1], rec.Field[2], rec.Field[8]});
    analysis::SetProgressStep("列の表示幅を修正", 1, static_cast<long>(result.list.columns.size()), stride, msg);
    return result;
}

}  // namespace lists
