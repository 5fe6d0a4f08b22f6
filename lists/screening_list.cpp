#include "charts/colour_palette.h"
#include "common/logs/logs.h"
#include "common/run_state.h"
#include "lists/list_cells.h"
#include "lists/list_chart_target.h"
#include "lists/screening.h"
#include "platform/number_format.h"
#include "platform/numeric_text.h"
#include "platform/utf8_text.h"

namespace lists {

namespace {

using CellWriter = void (*)(ListRow&, std::int32_t&, std::string_view);

bool IsPosition(std::int32_t position) { return position >= 1 && position <= kAnalysisPositions; }

bool IsNumericType(std::int32_t cellType) { return cellType >= kCellPct && cellType <= kCellDec5; }

CellWriter WriterOf(std::int32_t cellType) {
    switch (cellType) {
        case kCellPct:
            return SetNextCellPct;
        case kCellDec3:
            return SetNextCellDec3;
        case kCellDec3Signed:
            return SetNextCellDec3Signed;
        case kCellInt:
            return SetNextCellInt;
        case kCellIntSigned:
            return SetNextCellIntSigned;
        case kCellDec5:
            return SetNextCellDec5;
        case kCellDigits8:
            return SetNextCellDigits8;
        case kCellPlain:
            return SetNextCellPlain;
        case kCellBuySell:
            return SetNextCellBuySell;
        case kCellTurnKind:
            return SetNextCellTurnKind;
        case kCellRuleSet:
            return SetNextCellRuleSet;
        default:
            return SetNextCellText;
    }
}

std::string_view ValueAt(const common::AnalysisRec& rec, std::int32_t position) {
    return IsPosition(position) ? platform::TrimmedBlanks(rec.Field[static_cast<std::size_t>(position)])
                                : std::string_view();
}

void WriteCell(ListRow& row, std::int32_t& counter, const common::AnalysisRec& rec, const ListColumnRec& column) {
    const std::string_view value = ValueAt(rec, column.ColNo);
    if (value.empty()) {
        SetNextCellText(row, counter, " ");
        return;
    }
    if (column.CellType == kCellText || column.CellType == kCellLongText) {
        const std::string_view companion = column.CompanionCol != 0 ? ValueAt(rec, column.CompanionCol) : "";
        SetNextCellText(row, counter, value);
        if (!companion.empty()) row.cells[static_cast<std::size_t>(counter)].text.append(":").append(companion);
        return;
    }
    WriterOf(column.CellType)(row, counter, value);
}

// One warning per column whose positions no analysis row has.
void LogBadPositions(std::span<const ListColumnRec> shown) {
    const common::RunState& state = common::State();
    for (const ListColumnRec& column : shown) {
        if (IsPosition(column.ColNo) && (column.CompanionCol == 0 || IsPosition(column.CompanionCol))) continue;
        common::WriteErrorLog(state.errorLogOn, state.procedureId, common::log_tag::kWarning, "00",
                              "表示項目「" + column.Caption +
                                  "」の位置が範囲外のため空白で表示します。　ColNo=" + std::to_string(column.ColNo) +
                                  " CompanionCol=" + std::to_string(column.CompanionCol));
    }
}

std::string Digits6(std::size_t n) {
    static const platform::NumberFormat kFormat("000000");
    return kFormat.Format(static_cast<double>(n));
}

}  // namespace

ListData FillScreeningList(common::MSGRec& msg, std::span<const common::AnalysisRec> rows,
                           std::span<const ListColumnRec> columns, std::vector<ColumnSortState>& states) {
    std::vector<ListColumnRec> shown;
    for (const ListColumnRec& column : columns) {
        if (column.Reserved == 0 && column.Hidden == 0) shown.push_back(column);
    }
    LogBadPositions(shown);

    ListData list;
    states.clear();
    std::int32_t counter = 0;
    AddListColumn("№", kSortAsText, ColumnAlign::Default, counter, states, list);
    for (const ListColumnRec& column : shown) {
        const bool numeric = IsNumericType(column.CellType);
        AddListColumn(column.Caption, numeric ? kSortAsNumber : kSortAsText,
                      numeric ? ColumnAlign::Right : ColumnAlign::Left, counter, states, list);
    }
    AddListColumn(kSortKeyCaption, kSortAsText, ColumnAlign::Right, counter, states, list);

    const long stride = common::AtLeastOne(static_cast<long>(rows.size()) / 100);
    list.rows.reserve(rows.size());
    for (std::size_t i = 1; i <= rows.size(); ++i) {
        const std::string number = Digits6(i);
        ListRow& row = list.AddRow(number);
        std::int32_t cell = 0;
        for (const ListColumnRec& column : shown) WriteCell(row, cell, rows[i - 1], column);
        SetCellText(row, list.KeyCell(), number);
        if (static_cast<long>(i) % stride == 0) {
            msg.lngNumerator = static_cast<long>(i);
            common::ShowStagedProgress(msg);
        }
    }
    msg.lngNumerator = msg.lngDenominator;
    common::ShowStagedProgress(msg);
    return list;
}

std::optional<charts::ChartTarget> ScreeningRowChartTarget(common::EnvRec& env, const std::string& rowText,
                                                           std::span<const ListedStock> rows) {
    const std::optional<double> number = platform::ParseDouble(rowText);
    if (!number || *number < 1 || *number > static_cast<double>(rows.size())) return std::nullopt;
    const ListedStock& stock = rows[static_cast<std::size_t>(*number) - 1];
    return ChartTargetOfCompany(env, stock.country, stock.category, stock.companyCode);
}

ListData StoredConditionsSample(const platform::Date& today) {
    ListData list;
    for (const char* caption : {"日付", "時刻", "保存名称"}) list.columns.push_back({caption, ColumnAlign::Default, 0});
    for (long i = 1; i <= 30; ++i) {
        ListRow& row = list.AddRow(platform::DateText(platform::AddDays(today, -i)));
        row.cells[1] = {"jikoku", charts::GetColourPair(charts::kColourBlue).strong};
        row.cells[2] = {"Name", charts::GetColourPair(charts::kColourRed).strong};
    }
    return list;
}

}  // namespace lists
