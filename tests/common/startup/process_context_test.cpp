#include "common/startup/process_context.h"

#include <gtest/gtest.h>

#include "common/run_state.h"
#include "common/settings/settings.h"
#include "tests/support/program_folder.h"

namespace {

struct ContextCase {
    long processIndex;
    long countryIndex;
    long processNumber;
    const char* processName;
    const char* processId;
    long resultFile;
    const char* currency;
    const char* url1;
    const char* url2;
};

TEST(ProcessContext, EveryRowOfTheTable) {
    testsupport::ProgramFolder folder;
    common::WriteSetting("MirControl\\HpGet\\SitePortal", "portal.test");
    const ContextCase cases[] = {
        {1, 1, 11, "株価時系列データ（国内）", "AHPRI000", 0, "JPY", "", ""},
        {2, 3, 23, "罫線・鉤足（米国）", "AKAGI000", 40001, "USD", "", ""},
        {3, 2, 32, "棒足データ（中国）", "ABOAS000", 40001, "CNY", "", ""},
        {4, 1, 41, "企業一覧（国内）", "ALIST000", 1003, "JPY", "http://portal.test/fundamental/?s=@Code@", ""},
        {4, 2, 42, "企業一覧（中国）", "ALIST000", 1004, "CNY", "http://ChinaStock.invalid/data/info.cgi?code=@Code@", ""},
        {4, 3, 43, "企業一覧（米国）", "ALIST000", 1006, "USD", "http://UsQuote.invalid/MnQuote/", ""},
        {5, 1, 51, "企業情報（国内）", "ACORP000", 1007, "JPY", "http://portal.test/fundamental/?s=@Code@", ""},
        {5, 2, 52, "企業情報（中国）", "ACORP000", 1008, "CNY", "http://ChinaStock.invalid/data/info.cgi?code=@Code@", ""},
        {6, 1, 61, "マーケット速報（国内）", "AREPT000", 1011, "JPY", "http://portal.test/q?s=@Code@&d=t", ""},
        {6, 2, 62, "マーケット速報（中国）", "AREPT000", 1012, "CNY",
         "http://ChinaStock.invalid/data/code.cgi?market=&code=@Code@",
         "http://ChinaStock.invalid/data/zaimu.cgi?market=&code=@Code@"},
        {6, 3, 63, "マーケット速報（米国）", "AREPT000", 1013, "USD", "http://UsPortal.invalid/q?s=@Code@", ""},
        {7, 1, 71, "ロイター業種", "AMLTX000", 1002, "JPY",
         "http://Report.invalid/report/sector33/brand_report/@Code@.html", ""},
        {8, 0, 80, "制御情報（全国）", "ACRCM000", 1002, "ALL",
         "http://Report.invalid/report/sector33/brand_report/@Code@.html", ""},
        {9, 1, 91, "分析データ（国内）", "AMNIG000", 1002, "JPY",
         "http://Report.invalid/report/sector33/brand_report/@Code@.html", ""},
        {10, 6, 106, "銘柄登録（英国）", "AUSCM000", 1002, "GBP",
         "http://Report.invalid/report/sector33/brand_report/@Code@.html", ""},
        {11, 4, 114, "為替情報", "AEXCG000", 1017, "HKD",
         "http://ChinaStock.invalid/exchange/index.cgi?mode=table&type=@Country@&next=@Next@", ""},
        {11, 5, 115, "為替情報", "AEXCG000", 1017, "TWD",
         "http://ChinaStock.invalid/exchange/index.cgi?mode=table&type=@Country@&next=@Next@", ""},
    };
    // Rows are applied in order: a process without addresses keeps the previous ones.
    for (const ContextCase& c : cases) {
        common::SetProcessContext(c.processIndex, c.countryIndex);
        const common::ProcessContext& context = common::State().context;
        SCOPED_TRACE(c.processNumber);
        EXPECT_EQ(context.processNumber, c.processNumber);
        EXPECT_EQ(context.processName, c.processName);
        EXPECT_EQ(context.processId, c.processId);
        EXPECT_EQ(context.currencyCode, c.currency);
        EXPECT_EQ(context.resultFileNumber, c.resultFile);
        EXPECT_EQ(context.urlTemplate1, c.url1);
        EXPECT_EQ(common::State().processNumber, c.processNumber);
        EXPECT_EQ(common::ReadSetting("MirControl\\Common\\ProcName"), c.processName);
        EXPECT_EQ(common::ReadSetting("MirControl\\Common\\ProcFile"), std::to_string(c.processNumber));
        EXPECT_EQ(common::ReadSetting("MirControl\\Common\\ProcId"), c.processId);
    }
    common::SetProcessContext(6, 2);
    EXPECT_EQ(common::State().context.urlTemplate2, "http://ChinaStock.invalid/data/zaimu.cgi?market=&code=@Code@");
}

TEST(ProcessContext, KorvaneProfilePage) {
    testsupport::ProgramFolder folder(true);
    common::SetProcessContext(5, 1);
    EXPECT_EQ(common::State().context.urlTemplate1, "http://Portal.invalid/biz/fundamental/@Code@.html");
    common::SetProcessContext(4, 1);
    EXPECT_EQ(common::State().context.urlTemplate1, "http://Portal.invalid/biz/fundamental/@Code@.html");
    common::SetProcessContext(4, 4);
    EXPECT_EQ(common::State().context.processName, "企業一覧（香港）");
    EXPECT_EQ(common::State().context.resultFileNumber, 1003);  // unlisted country: kept from before
}

}  // namespace
