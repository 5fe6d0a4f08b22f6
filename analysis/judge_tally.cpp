#include <array>
#include <vector>

#include "analysis/judge_aggregation.h"
#include "analysis/judge_result_file.h"
#include "analysis/summary_file.h"
#include "common/files/file_registry.h"
#include "common/procedure_guard.h"
#include "common/text/text_compare.h"
#include "platform/number_format.h"

namespace analysis {

namespace {

constexpr long kLevelCount = 5;

std::string Format(long value, const char* format) {
    return platform::FormatNumber(static_cast<double>(value), format);
}

const std::string& LevelKey(const KagiJudgeList& list, long level) {
    const std::array<const std::string*, kLevelCount> keys{&list.Level1Key, &list.Level2Key, &list.Level3Key,
                                                          &list.Level4Key, &list.SortText};
    return *keys[static_cast<std::size_t>(level - 1)];
}

KagiSummaryRec NewRow(const KagiJudgeList& list, long level, long rowNumber, long recordNumber) {
    KagiSummaryRec row;
    row.MarketCode = list.MarketCopy;
    row.LevelDigit = Format(level, "0");
    row.DirectionMark = list.DirectionCopy;
    row.TurnStateMark = list.TurnStateCopy;
    row.YearKey = list.YearKey;
    row.Rules = list.RulesCopy;
    row.RowNumber = static_cast<std::int32_t>(rowNumber);
    row.FirstRecord[static_cast<std::size_t>(level)] = static_cast<std::int32_t>(recordNumber);
    return row;
}

void AddRecord(KagiSummaryRec& row, const KagiJudgeList& list, long level, long recordNumber) {
    const platform::Currency one(1LL);
    const auto resultClass = static_cast<std::size_t>(list.ResultClass);
    row.LastRecord[static_cast<std::size_t>(level)] = static_cast<std::int32_t>(recordNumber);
    row.RecordCount += one;
    row.AbsoluteTotal += list.ResultMagnitude;
    if (list.RisingMark < 1) {
        row.FallingCount += one;
        row.FallingByClass[resultClass] += one;
        row.FallingTotal += list.ResultMagnitude;
    } else {
        row.RisingCount += one;
        row.RisingByClass[resultClass] += one;
        row.RisingTotal += list.ResultMagnitude;
    }
}

// Each quotient is a Currency value (four decimals) before the difference.
platform::Currency Rate(const platform::Currency& rising, const platform::Currency& falling,
                        const platform::Currency& whole) {
    return (rising / whole - falling / whole) * 100LL;
}

void FinishRow(KagiSummaryRec& row) {
    const platform::Currency zero;
    if (row.RecordCount > zero) row.CountRate = Rate(row.RisingCount, row.FallingCount, row.RecordCount);
    if (row.AbsoluteTotal > zero) {
        row.AmountRate = Rate(row.RisingTotal, row.FallingTotal, row.AbsoluteTotal);
        row.FallingTotal = -row.FallingTotal;
    }
}

}  // namespace

void AKSUM21M(common::EnvRec& env, common::MSGRec& msg, const std::string& country) {
    common::FunctionIdGuard guard("AKSUM21M");
    msg.StageCount = kAggregationStageCount;
    msg.StagesDone = 0;
    msg.LabelText2 = std::string("鉤足法則判定結果の取込み　") + "\r\n";
    const std::string extension = common::CFFIL03M(kJudgeResultFileNumber);
    long count = 0;
    std::vector<KagiJudgeList> lists;
    if (!CFKGR13M(msg, country, 1, kJudgeResultFileNumber, 0, 0, "", extension, env, count, lists)) return;
    lists.resize(static_cast<std::size_t>(count));

    std::vector<KagiSummaryRec> rows;
    for (long level = 1; level <= kLevelCount; ++level) {
        msg.LabelText2 = "集計中　" + std::string("\r\n") + Format(level, "0") + " / 5";
        msg.lngNumerator = level - 1;
        msg.lngDenominator = kLevelCount;
        common::ShowProgress(msg);
        const std::string* previous = nullptr;
        for (long i = 1; i <= count; ++i) {
            KagiJudgeList& list = lists[static_cast<std::size_t>(i - 1)];
            const std::string& key = LevelKey(list, level);
            if (previous == nullptr || !common::TextEquals(key, *previous)) {
                rows.push_back(NewRow(list, level, static_cast<long>(rows.size()) + 1, i));
                previous = &key;
            }
            list.LevelRows[static_cast<std::size_t>(level - 1)] = static_cast<std::int32_t>(rows.size());
            AddRecord(rows.back(), list, level, i);
        }
    }

    msg.LabelText2 = "鉤足法則集計結果の編集中　";
    for (KagiSummaryRec& row : rows) FinishRow(row);
    msg.LabelText2 = "鉤足法則判定結果の出力中　";
    const std::string summaryExtension = common::CFFIL03M(kJudgeSummaryFileNumber);
    if (rows.empty()) {
        // No result, no summary line: the previous run's must not stay.
        ReplaceOrAppend(CountryDataFilePath(env, kJudgeSummaryFileNumber, 0, 0, country, "", summaryExtension), 1, "");
        return;
    }
    CFKRS52M(msg, env, kJudgeSummaryFileNumber, country, "", 1, summaryExtension, rows);
}

}  // namespace analysis
