#include <vector>

#include "lists/column_catalogue.h"

namespace lists {

namespace {

// The flags that a group of default rows shares.
struct Flags {
    std::int32_t reserved, hidden, cellType, condItem, condList, condRange, condDate, freeText;
};

struct Entry {
    std::int32_t colNo;
    const char* caption;
    std::int32_t companion = 0;
};

struct Group {
    Flags flags;
    std::vector<Entry> entries;
};

constexpr Flags kCodeChoice{0, 0, kCellText, 1, 1, 0, 0, 0};
constexpr Flags RangeFlags(std::int32_t cellType, std::int32_t hidden = 0) {
    return {0, hidden, cellType, 1, 0, 1, 0, 0};
}
constexpr Flags ReservedFlags(std::int32_t cellType) { return {1, 1, cellType, 0, 0, 0, 0, 0}; }

}  // namespace

std::vector<ListColumnRec> BuildDefaultColumns() {
    const std::vector<Group> groups{
        {kCodeChoice,
         {{1, "国"},
          {2, "投資区分"},
          {16, "取引通貨"},
          {3, "市場", 101},
          {4, "市場・詳細", 102},
          {5, "ｾｸﾀｰ", 103},
          {6, "業種", 104},
          {7, "ﾛｲﾀｰ", 105}}},
        {{0, 0, kCellText, 1, 0, 0, 0, 0}, {{8, kCompanyCodeCaption, 97}}},
        {ReservedFlags(kCellText), {{9, "予約"}, {11, "予約"}}},
        {ReservedFlags(kCellDigits8), {{10, "予約"}}},
        {ReservedFlags(kCellPlain), {{13, "予約"}, {15, "予約"}}},
        {ReservedFlags(kCellLongText),
         {{97, "予約"},
          {98, "予約"},
          {99, "予約"},
          {100, "予約"},
          {101, "予約"},
          {102, "予約"},
          {103, "予約"},
          {104, "予約"},
          {105, "予約"}}},
        {{0, 0, kCellDigits8, 1, 0, 0, 1, 0},
         {{12, "株価変更日付"},
          {14, "レート変更日付"},
          {18, "取引日付"},
          {25, "前日日付"},
          {41, "転換日付"},
          {57, "設立年月日"},
          {76, "直近分割発生日"}}},
        {RangeFlags(kCellDigits8), {{58, "上場年月日"}, {59, "決算年月"}}},
        {{0, 0, kCellDec5, 1, 0, 0, 0, 0}, {{17, "Rate"}}},
        {RangeFlags(kCellDec5), {{69, "一株配当"}, {93, "円一株配当"}}},
        {RangeFlags(kCellDec3),
         {{19, "取引値"},
          {21, "始値"},
          {22, "高値"},
          {23, "安値"},
          {24, "概算購入価格"},
          {28, "前日終値"},
          {45, "法則転換価格"},
          {53, "転換損益合計"},
          {73, "一株株主資本"},
          {75, "時価総額(百万)"},
          {81, "調整一株益"},
          {90, "円5日移動平均値"},
          {91, "円25日移動平均値"},
          {92, "円75日移動平均値"},
          {95, "円一株株主資本"},
          {96, "円時価総額(百万円)"}}},
        {RangeFlags(kCellDec3, 1), {{29, "5日移動平均値"}, {33, "25日移動平均値"}, {37, "75日移動平均値"}}},
        {RangeFlags(kCellInt),
         {{20, "出来高"},
          {48, "法則出現個数"},
          {49, "転換回数計"},
          {50, "転換回数(益)"},
          {51, "転換回数(損)"},
          {63, "単元株数"},
          {64, "発行済株式数"},
          {65, "流通A株"},
          {66, "流通B株"},
          {83, "円取引値"},
          {84, "円始値"},
          {85, "円高値"},
          {86, "円安値"},
          {87, "円概算購入価格"},
          {89, "円前日終値"}}},
        {RangeFlags(kCellInt, 1), {{31, "5日移動平均量"}, {35, "25日移動平均量"}, {39, "75日移動平均量"}}},
        {RangeFlags(kCellDec3Signed),
         {{26, "前日差額"}, {46, "法則転換損益"}, {54, "転換損益(益)"}, {55, "転換損益(損)"}}},
        {RangeFlags(kCellIntSigned), {{88, "円前日差額"}}},
        {RangeFlags(kCellPct),
         {{27, "前日比率"},
          {30, "5日移動平均値乖離"},
          {34, "25日移動平均値乖離"},
          {38, "75日移動平均値乖離"},
          {47, "法則転換損益率"},
          {52, "転換回数率"},
          {56, "転換損益率"},
          {67, "流通A株比率"},
          {68, "流通B株比率"},
          {70, "配当利回り"},
          {71, "株価収益率"},
          {72, "一株利益"},
          {74, "株主資本利益率"},
          {78, "純資産倍率"},
          {79, "株主資本比率"},
          {80, "総資産利益率"},
          {94, "円一株利益"}}},
        {RangeFlags(kCellPct, 1), {{32, "5日移動平均量乖離"}, {36, "25日移動平均量乖離"}, {40, "75日移動平均量乖離"}}},
        {{0, 0, kCellBuySell, 1, 1, 0, 0, 0}, {{42, "転換方向"}}},
        {{0, 0, kCellTurnKind, 1, 1, 0, 0, 0}, {{43, "転換状態"}}},
        {{0, 0, kCellRuleSet, 0, 0, 0, 0, 0}, {{44, "法則"}}},
        {{0, 0, kCellText, 0, 0, 0, 0, 0}, {{60, "中間配当月"}}},
        {{0, 0, kCellLongText, 0, 0, 0, 0, 1},
         {{61, "代表者名"}, {62, "本社所在地"}, {77, "分割変更内容"}, {82, "連結事業"}}},
    };

    std::vector<ListColumnRec> columns(static_cast<std::size_t>(kAnalysisPositions));
    for (const Group& group : groups) {
        const Flags& f = group.flags;
        for (const Entry& e : group.entries) {
            columns[static_cast<std::size_t>(e.colNo - 1)] = {
                e.colNo,    e.colNo,     f.reserved, f.hidden,   "0",         f.cellType, f.condItem,
                f.condList, f.condRange, f.condDate, f.freeText, e.companion, e.caption};
        }
    }
    return columns;
}

}  // namespace lists
