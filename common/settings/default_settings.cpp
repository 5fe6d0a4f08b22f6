#include "common/settings/default_settings.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "common/settings/settings.h"

namespace common {
namespace {

// One key as it is written; index 0 is a plain key, 1.. an indexed one ("01").
struct DefaultSetting {
    std::string_view section;
    std::string_view key;
    std::int16_t index;
    std::string_view value;
};

constexpr DefaultSetting kKesenDefaults[] = {
    {"Kesen", "EnvBscLR", 0, "0"},
    {"Kesen", "EnvLR", 0, "1"},
    {"Kesen", "EnvLRS", 0, "11110"},
    {"Kesen", "EnvKhn", 0, "00000000000000000000"},
    {"Kesen", "EnvHsk", 0, "11111000001110000000111111000011100000000000000000"},
    {"Kesen", "EnvTdai", 0, "15"},
    {"Kesen", "EnvRoeN", 0, "1"},
    {"Kesen", "EnvRoeD", 0, "5"},
    {"Kesen", "EnvIkoN", 0, "2"},
    {"Kesen", "EnvIkoD", 0, "3"},
    {"Kesen", "EnvIkoRng", 0, ""},
    {"Kesen", "EnvHnnN", 0, "1"},
    {"Kesen", "EnvHnnD", 0, "2"},
    {"Kesen", "EnvAnaMin", 0, "0"},
    {"Kesen", "EnvAnaMax", 0, "99999"},
    {"Kesen", "EnvAnadpt", 0, ""},
    {"Kesen", "EnvRoaIgA", 0, ""},
    {"Kesen", "EnvRoaIgB", 0, ""},
    {"Kesen", "EnvRoaIgC", 0, ""},
    {"Kesen", "EnvChange", 0, "1"},
    {"Kesen", "EnvRoaIg1", 0, ""},
    {"Kesen", "EnvRoaIg2", 0, ""},
    {"Kesen", "EnvRoaIg3", 0, ""},
    {"Kesen", "EnvRange", 0, "2"},
    {"Kesen", "EnvKagi", 1, "1"},
    {"Kesen", "EnvKagi", 2, "1"},
    {"Kesen", "EnvKagi", 3, "1"},
    {"Kesen", "EnvKagi", 4, "1"},
    {"Kesen", "EnvSumRng", 0, "2"},
};

constexpr DefaultSetting kOtherDefaults[] = {
    {"Common", "Cancel", 0, ""},
    {"Common", "Init", 0, ""},
    {"Common", "Terminate", 0, ""},
    {"Common", "Exec", 0, ""},
    {"Common", "Step", 0, ""},
    {"Common", "Batch", 0, ""},
    {"Common", "MultiTask", 0, "2"},
    {"Common", "MultiTaskKsn", 0, "2"},
    {"Common", "ProcName", 0, ""},
    {"Common", "ProcFile", 0, ""},
    {"Common", "ProcId", 0, ""},
    {"Common", "SubProcId", 0, ""},
    {"Common", "Gather", 0, ""},
    {"Common", "ListMax", 0, "1000"},

    {"Counter", "DateTrlCdm", 0, ""},
    {"Counter", "DateTrlMng", 0, ""},
    {"Counter", "CntTrlCdm", 0, ""},
    {"Counter", "CntTrlMng", 0, ""},
    {"Counter", "CntTrlMngIdx", 0, ""},
    {"Counter", "CntTrlCpiJpn", 0, ""},
    {"Counter", "CntTrlCpiChn", 0, ""},
    {"Counter", "CntTrlCpiUsa", 0, ""},
    {"Counter", "CntTrlRptJpn", 0, ""},
    {"Counter", "CntTrlRptChn", 0, ""},
    {"Counter", "CntTrlRptUsa", 0, ""},
    {"Counter", "CntTrlMlt", 0, ""},
    {"Counter", "CntTrlKgr", 0, ""},
    {"Counter", "CntTrlKagSum", 0, ""},
    {"Counter", "CntTrlKrsSum", 0, ""},

    {"ComExcg", "ExcgDate", 0, ""},
    {"ComExcg", "ExcgTime", 0, ""},
    {"ComExcg", "ExcgJPY", 0, ""},
    {"ComExcg", "ExcgCNY", 0, ""},
    {"ComExcg", "ExcgUSD", 0, ""},
    {"ComExcg", "ExcgHKD", 0, ""},
    {"ComExcg", "ExcgTWD", 0, ""},
    {"ComExcg", "ExcgGBP", 0, ""},
    {"ComExcg", "ExcgXEU", 0, ""},

    {"Task", "StartDate", 0, ""},
    {"Task", "StartTime", 0, ""},
    {"Task", "EndDate", 0, ""},
    {"Task", "EndTime", 0, ""},
    {"Task", "TaskNo", 0, ""},
    {"Task", "Status", 0, ""},
    {"Task", "ProcIdx", 0, ""},
    {"Task", "KeyMax", 0, ""},
    {"Task", "Seq", 0, ""},
    {"Task", "Max", 0, ""},
    {"Task", "Count", 0, ""},
    {"Task", "ErrCode", 0, ""},
    {"Task", "CntWait", 0, ""},
    {"Task", "CntHway", 0, ""},
    {"Task", "CntExec", 0, ""},
    {"Task", "CntCmpl", 0, ""},
    {"Task", "CntSusp", 0, ""},
    {"Task", "CntAbnd", 0, ""},
    {"Task", "CntAbndMax", 0, ""},

    {"HpGet", "HpDupSts", 0, ""},
    {"HpGet", "HpSplit", 0, ""},
    {"HpGet", "BscExcg", 0, "1"},
    {"HpGet", "BscList", 1, "0"},
    {"HpGet", "BscCorp", 1, "1"},
    {"HpGet", "BscMark", 1, "1"},
    {"HpGet", "BscList", 2, "0"},
    {"HpGet", "BscCorp", 2, "1"},
    {"HpGet", "BscMark", 2, "1"},
    {"HpGet", "BscList", 3, "0"},
    {"HpGet", "BscCorp", 3, "1"},
    {"HpGet", "BscMark", 3, "1"},
    {"HpGet", "BscOthe", 0, "1"},
    {"HpGet", "BscHpri", 0, ""},
    {"HpGet", "HpRepToHp", 0, "1"},
    {"HpGet", "HpSelect", 0, "2"},
    {"HpGet", "HpCntry", 1, "1"},
    {"HpGet", "HpCntry", 2, "1"},
    {"HpGet", "HpCntry", 3, "1"},
    {"HpGet", "HpCandle", 0, "1"},
    {"HpGet", "HpPr", 0, "1"},
    {"HpGet", "HpPrFrom", 0, ""},
    {"HpGet", "HpPrTo", 0, ""},
    {"HpGet", "HpBackUp", 0, "1"},

    {"KsnGrh", "GrahWide", 0, "1"},
    {"KsnGrh", "GrahLog", 0, "1"},
    {"KsnGrh", "GrahConv", 0, "1"},
    {"KsnGrh", "Grahmidl", 0, "1"},
    {"KsnGrh", "GrahLwhi", 0, "1"},
    {"KsnGrh", "GrahSplt", 0, "1"},
    {"KsnGrh", "GrahSize", 0, "0"},
    {"KsnGrh", "GrahRange", 0, "1"},
    {"KsnGrh", "GrahPeriod", 0, "0"},

    {"KsnSum", "RsltSlctCntry", 0, ""},
    {"KsnSum", "RsltSlctSumry", 0, ""},
    {"KsnSum", "RsltSlctRule", 0, ""},
    {"KsnSum", "RsltSaveCntry", 0, ""},
    {"KsnSum", "RsltSaveSumry", 0, ""},
    {"KsnSum", "RsltSaveRule", 0, ""},
    {"KsnSum", "RsltSrtAD1", 0, ""},
    {"KsnSum", "RsltSrtAD2", 0, ""},

    {"KsnMng", "MngSel1", 1, "国"},
    {"KsnMng", "MngSel1Lst", 1, "JPN"},
    {"KsnMng", "MngSel2", 1, ""},
    {"KsnMng", "MngSel2Fm", 1, ""},
    {"KsnMng", "MngSel2To", 1, ""},
    {"KsnMng", "MngSel1", 2, ""},
    {"KsnMng", "MngSel1Lst", 2, ""},
    {"KsnMng", "MngSel2", 2, ""},
    {"KsnMng", "MngSel2Fm", 2, ""},
    {"KsnMng", "MngSel2To", 2, ""},
    {"KsnMng", "MngSel1", 3, ""},
    {"KsnMng", "MngSel1Lst", 3, ""},
    {"KsnMng", "MngSel2", 3, ""},
    {"KsnMng", "MngSel2Fm", 3, ""},
    {"KsnMng", "MngSel2To", 3, ""},
    {"KsnMng", "MngSel1", 4, ""},
    {"KsnMng", "MngSel1Lst", 4, ""},
    {"KsnMng", "MngSel2", 4, ""},
    {"KsnMng", "MngSel2Fm", 4, ""},
    {"KsnMng", "MngSel2To", 4, ""},
    {"KsnMng", "MngSel1", 5, ""},
    {"KsnMng", "MngSel1Lst", 5, ""},
    {"KsnMng", "MngSel2", 5, ""},
    {"KsnMng", "MngSel2Fm", 5, ""},
    {"KsnMng", "MngSel2To", 5, ""},
    {"KsnMng", "MngSrtAD", 0, ""},

    {"Help", "MngCntry", 1, "1"},
    {"Help", "MngCntry", 2, "1"},
    {"Help", "MngCntry", 3, "1"},
    {"Help", "MngCntry", 4, "1"},
};

void WriteDefaults(std::span<const DefaultSetting> table) {
    for (const DefaultSetting& row : table) {
        const std::string path = SettingKeyPath(row.section, row.key);
        if (row.index == 0) {
            WriteSetting(path, row.value);
        } else {
            WriteIndexedSetting(path, row.index, row.value);
        }
    }
}

}  // namespace

void WriteKesenDefaults() { WriteDefaults(kKesenDefaults); }

void WriteAllDefaults() { WriteDefaults(kOtherDefaults); }

}  // namespace common
