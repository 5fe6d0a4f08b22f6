#include "lists/result_lists.h"

#include <array>

#include "analysis/judge_result_file.h"
#include "analysis/kagi_line_rec.h"
#include "analysis/summary_file.h"
#include "common/bit_flags.h"
#include "common/logs/message_box.h"
#include "common/logs/message_style.h"
#include "lists/list_cells.h"
#include "lists/list_chart_target.h"
#include "platform/date.h"
#include "platform/number_format.h"
#include "platform/numeric_text.h"
#include "platform/utf8_text.h"

namespace lists {

namespace {

using analysis::KagiJudgeRec;
using analysis::KagiSummaryRec;
using platform::Currency;

constexpr const char* kNoData = "抽出対象のデータはありませんでした。　";
constexpr const char* kCrLf = "\r\n";
constexpr std::size_t kBands = 11;
constexpr std::array<std::int32_t, 4> kFamilyBits{analysis::kFamilyRosa, analysis::kFamilyRoku, analysis::kFamilyRoe,
                                                  analysis::kFamilyRoa};

void Warn(const std::string& text) { common::ShowWarning(text, common::msg_style::kExclamation); }

std::string Digits(long n, const char* format) { return platform::FormatNumber(static_cast<double>(n), format); }

void Advance(common::MSGRec& msg, long done) {
    msg.lngNumerator = done;
    common::ShowProgress(msg);
}

void StartStage(common::MSGRec& msg, const std::string& text, long maximum) {
    msg.LabelText2 = text;
    msg.lngDenominator = maximum;
    Advance(msg, 0);
}

struct ColumnDef {
    std::string caption;
    ColumnAlign align;
    std::int32_t sortKind;
};

ListData MakeList(const std::vector<ColumnDef>& defs, std::vector<ColumnSortState>& states) {
    ListData list;
    states.clear();
    std::int32_t counter = 0;
    for (const ColumnDef& def : defs) AddListColumn(def.caption, def.sortKind, def.align, counter, states, list);
    return list;
}

ListData SummaryColumns(std::vector<ColumnSortState>& states) {
    std::vector<ColumnDef> defs{{"№", ColumnAlign::Default, kSortAsText},
                                {"陰陽", ColumnAlign::Centre, kSortAsText},
                                {"転換出現状況", ColumnAlign::Centre, kSortAsText},
                                {"転換日付(年)", ColumnAlign::Centre, kSortAsText}};
    for (const char* caption : {"転換回数計", "転換回数(益)", "転換回数(損)", "転換回数率", "転換損益率計",
                                "転換損益率(益)", "転換損益率(損)", "転換損益率"}) {
        defs.push_back({caption, ColumnAlign::Right, kSortAsNumber});
    }
    for (const char* caption : {"ろさ", "ろく", "ろゑ", "ろあ"})
        defs.push_back({caption, ColumnAlign::Centre, kSortAsText});
    defs.push_back({"法則詳細", ColumnAlign::Left, kSortAsText});
    struct BandHeads {
        const char* head;
        const char* tail;
        const char* last;
    };
    for (const BandHeads& band : {BandHeads{"利益", "%～", "利益100%以上"}, BandHeads{"損失", "～%", "損失100%以上"}}) {
        for (long bound = 0; bound <= 90; bound += 10) {
            defs.push_back({band.head + std::to_string(bound) + band.tail, ColumnAlign::Right, kSortAsNumber});
        }
        defs.push_back({band.last, ColumnAlign::Right, kSortAsNumber});
    }
    defs.push_back({kSortKeyCaption, ColumnAlign::Right, kSortAsText});
    return MakeList(defs, states);
}

ListData DetailColumns(std::vector<ColumnSortState>& states) {
    std::vector<ColumnDef> defs{{"№", ColumnAlign::Default, kSortAsText}};
    for (const char* caption : {"国", "投資区分", "市場", "市場詳細", "セクター", "業種", "ロイター"}) {
        defs.push_back({caption, ColumnAlign::Centre, kSortAsText});
    }
    defs.push_back({"企業コード", ColumnAlign::Left, kSortAsText});
    for (const char* caption : {"転換日付", "陰陽区分", "発生区分"})
        defs.push_back({caption, ColumnAlign::Centre, kSortAsText});
    for (const char* caption : {"転換額", "転換損益額", "転換損益率"})
        defs.push_back({caption, ColumnAlign::Right, kSortAsNumber});
    defs.push_back({kSortKeyCaption, ColumnAlign::Right, kSortAsText});
    return MakeList(defs, states);
}

// The names of the set rule bits, joined by "、".
std::string RuleDetailNames(const analysis::RuleSet& rules) {
    struct Family {
        std::size_t word;
        const char* name;
        std::int32_t lowestBit;
    };
    constexpr std::array<Family, 4> kFamilies{{{analysis::kRuleBitsRosa, "ろさ", 32},
                                               {analysis::kRuleBitsRoku, "ろく", 128},
                                               {analysis::kRuleBitsRoe, "ろゑ", 16},
                                               {analysis::kRuleBitsRoa, "ろあ", 128}}};
    constexpr std::array<const char*, 6> kNumerals{"一", "二", "三", "四", "五", "六"};
    std::string names;
    for (const Family& family : kFamilies) {
        std::size_t n = 0;
        for (std::int32_t bit = 512; bit >= family.lowestBit; bit /= 2, ++n) {
            names += common::TextIfBitSet(rules[family.word], bit, std::string("、") + family.name + kNumerals[n]);
        }
    }
    return platform::MidChars(names, 2);
}

void WriteBands(ListRow& row, std::int32_t& counter, const std::array<Currency, 12>& byClass) {
    SetNextCellIntOrBlank(row, counter, (byClass[0] + byClass[1]).ToText());
    for (std::size_t band = 2; band <= kBands; ++band) SetNextCellIntOrBlank(row, counter, byClass[band].ToText());
}

void WriteSummaryRow(ListData& list, const KagiSummaryRec& rec, long level, long i) {
    ListRow& row = list.AddRow(rec.LevelDigit + ":" + Digits(rec.RowNumber, "0000000"));
    std::int32_t counter = 0;
    SetNextCellBuySell(row, counter, rec.DirectionMark);
    SetNextCellText(row, counter, level == 1 ? "-" : (rec.TurnStateMark == "1" ? "同時" : "連続"));
    SetNextCellText(row, counter, level == 5 ? rec.YearKey : "-");
    for (const Currency* count : {&rec.RecordCount, &rec.RisingCount, &rec.FallingCount}) {
        SetNextCellInt(row, counter, count->ToText());
    }
    for (const Currency* rate :
         {&rec.CountRate, &rec.AbsoluteTotal, &rec.RisingTotal, &rec.FallingTotal, &rec.AmountRate}) {
        SetNextCellPct(row, counter, rate->ToText());
    }
    for (const std::int32_t bit : kFamilyBits) {
        SetNextCellText(row, counter,
                        level <= 2 ? "-" : common::BitMarkText(rec.Rules[analysis::kRuleBitsFamilies], bit));
    }
    SetNextCellText(row, counter, level <= 3 ? "-" : RuleDetailNames(rec.Rules));
    WriteBands(row, counter, rec.RisingByClass);
    WriteBands(row, counter, rec.FallingByClass);
    SetCellText(row, list.KeyCell(), Digits(i, "000000"));
}

std::string DateDigits(double serial) {
    const platform::Date date = platform::FromDaySerial(serial);
    return Digits(date.year, "0000") + Digits(date.month, "00") + Digits(date.day, "00");
}

void WriteDetailRow(ListData& list, const KagiJudgeRec& rec, long j) {
    ListRow& row = list.AddRow(Digits(j, "0000"));
    std::int32_t counter = 0;
    for (const std::string* code : {&rec.Key.Market, &rec.Key.Category, &rec.Key.IndCode0020, &rec.Key.IndCode0030,
                                    &rec.Key.IndCode0040, &rec.Key.IndCode0050, &rec.Key.IndCode0060}) {
        SetNextCellText(row, counter, *code);
    }
    SetNextCellText(row, counter, platform::TrimBlanks(rec.Key.CorpCode));
    SetNextCellText(row, counter, DateDigits(rec.JudgeDate));
    SetNextCellBuySell(row, counter, rec.Direction);
    SetNextCellText(row, counter, rec.TurnState == "1" ? "同時" : "連続");
    SetNextCellDec3(row, counter, rec.Signal.SignalPrice.ToText());
    SetNextCellDec3Signed(row, counter, rec.Signal.SignalGain.ToText());
    SetNextCellPctFine(row, counter, rec.Signal.SignalGainPct.ToText());
    SetCellText(row, list.KeyCell(), Digits(j, "000000"));
}

// The level digit and record number of a summary row's text ("4:0000012").
bool SplitRowText(const std::string& text, long& level, long& record) {
    const std::vector<std::string_view> parts = platform::SplitAt(text, ':');
    if (parts.size() < 2) return false;
    const std::optional<double> s = platform::ParseDouble(parts[0]);
    const std::optional<double> r = platform::ParseDouble(parts[1]);
    if (!s || !r || *s < 0 || *s > 5 || *r < 1 || *r > 2147483647.0) return false;
    level = static_cast<long>(*s);
    record = static_cast<long>(*r);
    return true;
}

}  // namespace

std::int32_t RuleBitOfChoice(int index) {
    return index >= 1 && index <= 4 ? kFamilyBits[static_cast<std::size_t>(index - 1)] : 0;
}

std::optional<ListData> BuildSummaryList(common::EnvRec& env, common::MSGRec& msg, const SummarySelection& selection,
                                         std::vector<ColumnSortState>& states) {
    if (selection.country.empty()) {
        Warn("「国」は選択必須項目です。　");
        return std::nullopt;
    }
    if (selection.level < 1 || selection.level > 5) {
        Warn("「集計単位」は選択必須項目です。　");
        return std::nullopt;
    }
    StartStage(msg, "鉤足法則判定結果（集計結果）の読込み中", 1);
    long count = 0;
    std::vector<KagiSummaryRec> recs;
    const bool read = analysis::CFKRS11M(msg, selection.country, Digits(selection.level, "0"), selection.ruleBit,
                                         analysis::kJudgeSummaryFileNumber, 0, 0, "", env, count, recs);
    if (!read || count == 0) {
        Warn(kNoData);
        return std::nullopt;
    }
    StartStage(msg, std::string("リストの編集中") + kCrLf + kCrLf, count);
    ListData list = SummaryColumns(states);
    const long stride = common::AtLeastOne(count / 100);
    for (long i = 1; i <= count; ++i) {
        WriteSummaryRow(list, recs[static_cast<std::size_t>(i - 1)], selection.level, i);
        if (i % stride == 0) Advance(msg, i);
    }
    Advance(msg, count);
    return list;
}

std::optional<ListData> BuildDetailList(common::EnvRec& env, common::MSGRec& msg, const SummarySelection& selection,
                                        const std::string& summaryRowText, std::vector<ColumnSortState>& states) {
    if (selection.level <= 3) {
        Warn(std::string("「集計単位」がLevel1～3の場合、「転換の詳細情報」の表示件数が多過ぎる為、　") + kCrLf +
             kCrLf + "「転換の詳細情報」を表示したい場合は、「集計単位」をLevel4～5で抽出してください。　" + kCrLf);
        return std::nullopt;
    }
    ListData list = DetailColumns(states);
    long level = 0;
    long record = 0;
    KagiSummaryRec summary;
    if (!SplitRowText(summaryRowText, level, record) ||
        !analysis::ReadSummaryRecordAt("", selection.country, env, record, summary)) {
        return list;
    }
    const auto slot = static_cast<std::size_t>(level);
    long count = 0;
    std::vector<KagiJudgeRec> recs;
    if (!analysis::ReadJudgeResultList(msg, 0, 0, selection.country, "", env, summary.FirstRecord[slot],
                                       summary.LastRecord[slot], count, recs)) {
        return list;
    }
    StartStage(msg, std::string("リストの編集中") + kCrLf + kCrLf, count);
    for (long j = 1; j <= count; ++j) {
        WriteDetailRow(list, recs[static_cast<std::size_t>(j - 1)], j);
        Advance(msg, j);
    }
    return list;
}

std::optional<charts::ChartTarget> DetailRowChartTarget(common::EnvRec& env, const ListRow& row) {
    const auto cell = [&row](std::size_t n) { return n < row.cells.size() ? TextBeforeColon(row.cells[n].text) : ""; };
    return ChartTargetOfCompany(env, cell(1), cell(2), cell(8));
}

}  // namespace lists
