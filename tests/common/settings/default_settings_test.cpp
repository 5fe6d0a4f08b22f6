#include "common/settings/default_settings.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "common/settings/settings.h"
#include "platform/settings_backend.h"
#include "tests/support/program_folder.h"

namespace {

// "Section\Key=value" in the order the first run writes them.
const std::vector<std::string> kExpectedKesen = {
    "Kesen\\EnvBscLR=0",
    "Kesen\\EnvLR=1",
    "Kesen\\EnvLRS=11110",
    "Kesen\\EnvKhn=00000000000000000000",
    "Kesen\\EnvHsk=11111000001110000000111111000011100000000000000000",
    "Kesen\\EnvTdai=15",
    "Kesen\\EnvRoeN=1",
    "Kesen\\EnvRoeD=5",
    "Kesen\\EnvIkoN=2",
    "Kesen\\EnvIkoD=3",
    "Kesen\\EnvIkoRng=",
    "Kesen\\EnvHnnN=1",
    "Kesen\\EnvHnnD=2",
    "Kesen\\EnvAnaMin=0",
    "Kesen\\EnvAnaMax=99999",
    "Kesen\\EnvAnadpt=",
    "Kesen\\EnvRoaIgA=",
    "Kesen\\EnvRoaIgB=",
    "Kesen\\EnvRoaIgC=",
    "Kesen\\EnvChange=1",
    "Kesen\\EnvRoaIg1=",
    "Kesen\\EnvRoaIg2=",
    "Kesen\\EnvRoaIg3=",
    "Kesen\\EnvRange=2",
    "Kesen\\EnvKagi01=1",
    "Kesen\\EnvKagi02=1",
    "Kesen\\EnvKagi03=1",
    "Kesen\\EnvKagi04=1",
    "Kesen\\EnvSumRng=2",
};

const std::vector<std::string> kExpectedOthers = {
    "Common\\Cancel=",
    "Common\\Init=",
    "Common\\Terminate=",
    "Common\\Exec=",
    "Common\\Step=",
    "Common\\Batch=",
    "Common\\MultiTask=2",
    "Common\\MultiTaskKsn=2",
    "Common\\ProcName=",
    "Common\\ProcFile=",
    "Common\\ProcId=",
    "Common\\SubProcId=",
    "Common\\Gather=",
    "Common\\ListMax=1000",
    "Counter\\DateTrlCdm=",
    "Counter\\DateTrlMng=",
    "Counter\\CntTrlCdm=",
    "Counter\\CntTrlMng=",
    "Counter\\CntTrlMngIdx=",
    "Counter\\CntTrlCpiJpn=",
    "Counter\\CntTrlCpiChn=",
    "Counter\\CntTrlCpiUsa=",
    "Counter\\CntTrlRptJpn=",
    "Counter\\CntTrlRptChn=",
    "Counter\\CntTrlRptUsa=",
    "Counter\\CntTrlMlt=",
    "Counter\\CntTrlKgr=",
    "Counter\\CntTrlKagSum=",
    "Counter\\CntTrlKrsSum=",
    "ComExcg\\ExcgDate=",
    "ComExcg\\ExcgTime=",
    "ComExcg\\ExcgJPY=",
    "ComExcg\\ExcgCNY=",
    "ComExcg\\ExcgUSD=",
    "ComExcg\\ExcgHKD=",
    "ComExcg\\ExcgTWD=",
    "ComExcg\\ExcgGBP=",
    "ComExcg\\ExcgXEU=",
    "Task\\StartDate=",
    "Task\\StartTime=",
    "Task\\EndDate=",
    "Task\\EndTime=",
    "Task\\TaskNo=",
    "Task\\Status=",
    "Task\\ProcIdx=",
    "Task\\KeyMax=",
    "Task\\Seq=",
    "Task\\Max=",
    "Task\\Count=",
    "Task\\ErrCode=",
    "Task\\CntWait=",
    "Task\\CntHway=",
    "Task\\CntExec=",
    "Task\\CntCmpl=",
    "Task\\CntSusp=",
    "Task\\CntAbnd=",
    "Task\\CntAbndMax=",
    "HpGet\\HpDupSts=",
    "HpGet\\HpSplit=",
    "HpGet\\BscExcg=1",
    "HpGet\\BscList01=0",
    "HpGet\\BscCorp01=1",
    "HpGet\\BscMark01=1",
    "HpGet\\BscList02=0",
    "HpGet\\BscCorp02=1",
    "HpGet\\BscMark02=1",
    "HpGet\\BscList03=0",
    "HpGet\\BscCorp03=1",
    "HpGet\\BscMark03=1",
    "HpGet\\BscOthe=1",
    "HpGet\\BscHpri=",
    "HpGet\\HpRepToHp=1",
    "HpGet\\HpSelect=2",
    "HpGet\\HpCntry01=1",
    "HpGet\\HpCntry02=1",
    "HpGet\\HpCntry03=1",
    "HpGet\\HpCandle=1",
    "HpGet\\HpPr=1",
    "HpGet\\HpPrFrom=",
    "HpGet\\HpPrTo=",
    "HpGet\\HpBackUp=1",
    "KsnGrh\\GrahWide=1",
    "KsnGrh\\GrahLog=1",
    "KsnGrh\\GrahConv=1",
    "KsnGrh\\Grahmidl=1",
    "KsnGrh\\GrahLwhi=1",
    "KsnGrh\\GrahSplt=1",
    "KsnGrh\\GrahSize=0",
    "KsnGrh\\GrahRange=1",
    "KsnGrh\\GrahPeriod=0",
    "KsnSum\\RsltSlctCntry=",
    "KsnSum\\RsltSlctSumry=",
    "KsnSum\\RsltSlctRule=",
    "KsnSum\\RsltSaveCntry=",
    "KsnSum\\RsltSaveSumry=",
    "KsnSum\\RsltSaveRule=",
    "KsnSum\\RsltSrtAD1=",
    "KsnSum\\RsltSrtAD2=",
    "KsnMng\\MngSel101=国",
    "KsnMng\\MngSel1Lst01=JPN",
    "KsnMng\\MngSel201=",
    "KsnMng\\MngSel2Fm01=",
    "KsnMng\\MngSel2To01=",
    "KsnMng\\MngSel102=",
    "KsnMng\\MngSel1Lst02=",
    "KsnMng\\MngSel202=",
    "KsnMng\\MngSel2Fm02=",
    "KsnMng\\MngSel2To02=",
    "KsnMng\\MngSel103=",
    "KsnMng\\MngSel1Lst03=",
    "KsnMng\\MngSel203=",
    "KsnMng\\MngSel2Fm03=",
    "KsnMng\\MngSel2To03=",
    "KsnMng\\MngSel104=",
    "KsnMng\\MngSel1Lst04=",
    "KsnMng\\MngSel204=",
    "KsnMng\\MngSel2Fm04=",
    "KsnMng\\MngSel2To04=",
    "KsnMng\\MngSel105=",
    "KsnMng\\MngSel1Lst05=",
    "KsnMng\\MngSel205=",
    "KsnMng\\MngSel2Fm05=",
    "KsnMng\\MngSel2To05=",
    "KsnMng\\MngSrtAD=",
    "Help\\MngCntry01=1",
    "Help\\MngCntry02=1",
    "Help\\MngCntry03=1",
    "Help\\MngCntry04=1",
};

std::string PathOf(const std::string& row) { return "MirControl\\" + row.substr(0, row.find('=')); }
std::string ValueOf(const std::string& row) { return row.substr(row.find('=') + 1); }

// Every row of the store as "Section\Key=value", in the order the rows were
// created; each row is also checked to belong to MirControl.
std::vector<std::string> StoreRows() {
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open(platform::UserSettingsPath().c_str(), &db), SQLITE_OK);
    sqlite3_stmt* statement = nullptr;
    EXPECT_EQ(
        sqlite3_prepare_v2(db, "SELECT app, section, key, value FROM settings ORDER BY rowid", -1, &statement, nullptr),
        SQLITE_OK);
    std::vector<std::string> rows;
    const auto column = [&](int n) {
        return std::string(reinterpret_cast<const char*>(sqlite3_column_text(statement, n)));
    };
    while (sqlite3_step(statement) == SQLITE_ROW) {
        EXPECT_EQ(column(0), "MirControl");
        rows.push_back(column(1) + "\\" + column(2) + "=" + column(3));
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return rows;
}

TEST(DefaultSettings, FirstRunWritesTheWholeTreeInTableOrder) {
    testsupport::ProgramFolder folder;
    common::WriteKesenDefaults();
    common::WriteAllDefaults();

    std::vector<std::string> expected = kExpectedKesen;
    expected.insert(expected.end(), kExpectedOthers.begin(), kExpectedOthers.end());
    ASSERT_EQ(kExpectedKesen.size(), 29u);
    ASSERT_EQ(kExpectedOthers.size(), 128u);
    EXPECT_EQ(StoreRows(), expected);
    for (const std::string& row : expected) {
        EXPECT_EQ(common::ReadSetting(PathOf(row)), ValueOf(row)) << row;
    }
}

TEST(DefaultSettings, RewritesOverwriteAndKesenResetLeavesOtherSectionsAlone) {
    testsupport::ProgramFolder folder;
    common::WriteKesenDefaults();
    common::WriteAllDefaults();
    for (const std::string& row : kExpectedKesen) common::WriteSetting(PathOf(row), "user");
    for (const std::string& row : kExpectedOthers) common::WriteSetting(PathOf(row), "user");

    common::WriteKesenDefaults();
    for (const std::string& row : kExpectedKesen) EXPECT_EQ(common::ReadSetting(PathOf(row)), ValueOf(row)) << row;
    for (const std::string& row : kExpectedOthers) EXPECT_EQ(common::ReadSetting(PathOf(row)), "user") << row;

    common::WriteAllDefaults();
    for (const std::string& row : kExpectedOthers) EXPECT_EQ(common::ReadSetting(PathOf(row)), ValueOf(row)) << row;
    EXPECT_EQ(StoreRows().size(), 157u);
}

}  // namespace
