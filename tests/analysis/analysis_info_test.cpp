#include "analysis/analysis_info.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "analysis/analysis_info_file.h"
#include "analysis/analysis_info_record.h"
#include "common/files/data_file.h"
#include "common/logs/logs.h"
#include "common/run_state.h"
#include "common/settings/settings.h"
#include "common/startup/run_env.h"
#include "marketdata/analysis_info_reader.h"
#include "platform/cp932.h"
#include "platform/date.h"
#include "tests/marketdata/code_master_fixture.h"
#include "tests/support/fake_ui.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder.h"
#include "tests/support/trapped.h"

namespace {

using marketdata::AnalysisRec;
using marketdata::kAnalysisIndexFileNumber;
using marketdata::kAnalysisInfoFileNumber;
using marketdata_test::Fields;
using marketdata_test::FullFields;

constexpr const char* kNoCompanyText = "処理対象の企業が存在しません。　";
constexpr const char* kNoInfoText = "分析情報が存在しません。　";

class AnalysisInfo : public ::testing::Test {
protected:
    AnalysisInfo() {
        common::CCENV00M(env);
        common::SetTaskWorkPaths(0, 0, env);
        common::LoadLogSwitches(env);
        SetSwitches("1111");
    }

    // "1" or "0" per switch 01 to 04.
    void SetSwitches(const std::string& on) {
        for (std::int16_t n = 1; n <= 4; ++n) {
            common::WriteIndexedSetting("MirControl\\Help\\MngCntry", n, on.substr(n - 1, 1));
        }
    }
    void WriteMaster(const std::vector<Fields>& records) {
        std::vector<std::string> lines;
        for (const Fields& f : records) lines.push_back(marketdata_test::Join(f));
        testsupport::WriteBytes(Path(marketdata::kCodeMasterFileNumber), marketdata_test::Cp932File(lines));
    }
    // A master of companies in three named markets and one other, and
    // industry entries of two levels plus one outside the Index.
    void WriteMarket() {
        WriteMaster({FullFields("JPN", "1000", "7203"), FullFields("jpn", "1000", "6758"),
                     FullFields("USA", "1000", "AAPL"), FullFields("CHN", "1000", "600519"),
                     FullFields("EUR", "1000", "SAP"), FullFields("JPN", "0020", "0050"),
                     FullFields("JPN", "0090", "3700"), FullFields("JPN", "0100", "9999")});
    }
    std::string Path(long fileNumber, const std::string& extension = "") {
        return common::BuildDataFilePath(fileNumber, 0, 0, "", extension, env);
    }
    std::vector<AnalysisRec> ReadBack(long fileNumber) {
        std::vector<AnalysisRec> recs;
        marketdata::ReadAnalysisRecords(fileNumber, 0, env, recs);
        return recs;
    }
    static std::vector<std::string> Codes(const std::vector<AnalysisRec>& recs) {
        std::vector<std::string> codes;
        for (const AnalysisRec& rec : recs) codes.push_back(platform::TrimBlanks(rec.Field[8]));
        std::sort(codes.begin(), codes.end());
        return codes;
    }
    bool Build(long& infoCount, long& indexCount) { return analysis::AMNCM46M(env, msg, infoCount, indexCount); }
    std::string RunLog() const {
        const std::string path = common::State().runLogPath;
        return std::filesystem::exists(path) ? platform::FromCp932(testsupport::ReadBytes(path)).text : "";
    }

    testsupport::ProgramFolder folder{true};
    testsupport::FakeUi ui;
    common::EnvRec env;
    common::MSGRec msg;
};

// Line field (1-based) of the code master behind each stored element 9 to
// 105; field 152 (company text 19) is never stored.
std::vector<std::size_t> SourceFields() {
    std::vector<std::size_t> fields{18, 19};
    const auto range = [&](std::size_t first, std::size_t last) {
        for (std::size_t n = first; n <= last; ++n) fields.push_back(n);
    };
    range(60, 77);
    range(82, 96);
    for (std::size_t n : {98, 105, 106, 107, 108}) fields.push_back(n);
    range(126, 138);
    fields.push_back(192);
    range(139, 151);
    range(153, 154);
    range(194, 197);
    fields.push_back(193);
    range(155, 161);
    range(164, 172);
    fields.push_back(177);
    range(179, 184);
    return fields;
}

TEST_F(AnalysisInfo, StoresEachCodeMasterValueAtItsPlaceAndMireldaReadsIt) {
    Fields f = FullFields("JPN", "1000", "7203");
    f[60] = "2024/03/01";       // report value 2: slashes go
    f[61] = "2024/03/02";       // report value 3: as is
    f[75] = "1.5";              // report value 17: hundredfold
    f[93] = "2024/03/29";       // Attr4: slashes go
    f[104] = "12.50";           // Amount3: no trailing zero
    f[128] = "1.50";            // third group, first Currency
    f[150] = "2500000";         // company text 18: millions
    f[151] = "書かない";         // company text 19: not stored
    f[152] = "2024/03/31";      // company text 20: slashes go
    WriteMaster({f});
    long infoCount = 0;
    long indexCount = 0;
    ASSERT_TRUE(Build(infoCount, indexCount));
    EXPECT_EQ(infoCount, 1);
    EXPECT_EQ(indexCount, 0);

    const std::vector<AnalysisRec> recs = ReadBack(kAnalysisInfoFileNumber);
    ASSERT_EQ(recs.size(), 1u);
    const AnalysisRec& rec = recs[0];
    const std::vector<std::string> identity{"", "JPN", "1000", "0050", "0100", "0200", "0300", "0400",
                                            "7203                "};
    for (std::size_t i = 0; i < identity.size(); ++i) EXPECT_EQ(rec.Field[i], identity[i]) << i;

    std::vector<std::pair<std::size_t, std::string>> converted{
        {61, "20240301"}, {76, "150"}, {94, "20240329"}, {105, "12.5"}, {129, "1.5"}, {151, "2.5"}, {153, "20240331"}};
    const std::vector<std::size_t> sources = SourceFields();
    ASSERT_EQ(sources.size(), 97u);
    for (std::size_t i = 0; i < sources.size(); ++i) {
        std::string expected = f[sources[i] - 1];
        for (const auto& [field, value] : converted) {
            if (field == sources[i]) expected = value;
        }
        EXPECT_EQ(rec.Field[9 + i], expected) << "element " << 9 + i << ", line field " << sources[i];
    }
    EXPECT_EQ(std::count(rec.Field.begin(), rec.Field.end(), "書かない"), 0);
}

TEST(AnalysisInfoRecord, RescalesNumbersWhenNumeric) {
    struct Case {
        std::string rpt17;
        std::string rpt17Stored;
        std::string info18;
        std::string info18Stored;
    };
    const Case cases[] = {
        {"1.5", "150", "2500000", "2.5"},
        {"abc", "", "abc", "abc"},
        {"", "", "", ""},
        {"-0.25", "-25", "1,234,567", "1.234567"},
        {" 1,234.5 ", "123450", "-3000000", "-3"},
        {"0.00001", "0", "1", "1e-06"},
    };
    // One record for all cases, as a build uses it: nothing of a case stays for the next.
    analysis::AnalysisInfoRec rec;
    for (const Case& c : cases) {
        marketdata::CdmRec cdm;
        marketdata::InitCdmRec(cdm, 1);
        cdm.RptText[17] = c.rpt17;
        cdm.InfoText[18] = c.info18;
        analysis::BuildAnalysisInfoRecord(cdm, rec);
        EXPECT_EQ(rec.Text[27 - analysis::kFirstTextPosition], c.rpt17Stored) << c.rpt17;
        EXPECT_EQ(rec.Text[75 - analysis::kFirstTextPosition], c.info18Stored) << c.info18;
    }
}

TEST_F(AnalysisInfo, MarketSwitchesChooseTheRecordsAndTheIndexTakesIndustryEntries) {
    WriteMarket();
    const std::vector<std::string> japan{"0050", "3700", "6758", "7203", "9999"};
    const struct {
        const char* switches;
        std::vector<std::string> codes;
    } cases[] = {
        {"1111", {"0050", "3700", "600519", "6758", "7203", "9999", "AAPL", "SAP"}},
        {"1000", japan},
        {"1001", japan},
        {"0110", {"600519", "AAPL"}},
        {"2220", {"0050", "3700", "600519", "6758", "7203", "9999", "AAPL"}},
    };
    for (const auto& c : cases) {
        SetSwitches(c.switches);
        long infoCount = 0;
        long indexCount = 0;
        ASSERT_TRUE(Build(infoCount, indexCount)) << c.switches;
        EXPECT_EQ(Codes(ReadBack(kAnalysisInfoFileNumber)), c.codes) << c.switches;
        EXPECT_EQ(infoCount, static_cast<long>(c.codes.size())) << c.switches;
        const std::vector<std::string> index = Codes(ReadBack(kAnalysisIndexFileNumber));
        EXPECT_EQ(indexCount, static_cast<long>(index.size()));
        const bool japanKept = std::count(c.codes.begin(), c.codes.end(), "7203") == 1;
        const std::vector<std::string> expectedIndex =
            japanKept ? std::vector<std::string>{"0050", "3700"} : std::vector<std::string>{};
        EXPECT_EQ(index, expectedIndex) << c.switches;
    }
    EXPECT_TRUE(ui.presenter->boxes.empty());
}

TEST_F(AnalysisInfo, BuildStoresCountsAndTime) {
    WriteMarket();
    const std::string before = platform::CompactStamp(platform::Now());
    long infoCount = 0;
    long indexCount = 0;
    ASSERT_TRUE(Build(infoCount, indexCount));
    const std::string after = platform::CompactStamp(platform::Now());
    EXPECT_EQ(common::ReadSetting("MirControl\\Counter\\CntTrlMng"), "8");
    EXPECT_EQ(common::ReadSetting("MirControl\\Counter\\CntTrlMngIdx"), "2");
    const std::string stamp = common::ReadSetting("MirControl\\Counter\\DateTrlMng");
    EXPECT_TRUE(before <= stamp && stamp <= after) << stamp;
    EXPECT_EQ(msg.StageCount, 10);
    EXPECT_EQ(msg.StagesDone, 10);
    EXPECT_FALSE(std::filesystem::exists(Path(kAnalysisInfoFileNumber, ".tmp")));
    EXPECT_FALSE(std::filesystem::exists(Path(kAnalysisIndexFileNumber, ".tmp")));
}

TEST_F(AnalysisInfo, NoSelectedCompanyWarnsAndKeepsThePreviousFiles) {
    WriteMarket();
    long infoCount = 0;
    long indexCount = 0;
    ASSERT_TRUE(Build(infoCount, indexCount));
    const std::string info = testsupport::ReadBytes(Path(kAnalysisInfoFileNumber));
    const std::string index = testsupport::ReadBytes(Path(kAnalysisIndexFileNumber));

    for (const char* switches : {"0001", "0000"}) {
        SetSwitches(switches);
        EXPECT_FALSE(Build(infoCount, indexCount)) << switches;
        EXPECT_EQ(infoCount, 0);
        ASSERT_EQ(ui.presenter->boxes.size(), 1u) << switches;
        EXPECT_EQ(ui.presenter->boxes[0].text,
                  std::string(kNoCompanyText) + "\r\n\r\nご不便をお掛けして、大変申し訳ございません。　\r\n"
                                                "企業一覧の収集、または「その他の機能」のコードマスターの初期化を行って"
                                                "から再実行して下さい。　\r\n\r\nそれでも同様のエラーが発生する場合は、"
                                                "お手数をお掛けしますが、　\r\n開発者へ連絡をお願い致します。　\r\n");
        EXPECT_EQ(ui.presenter->boxes[0].style, 48);
        ui.presenter->boxes.clear();
        EXPECT_EQ(testsupport::ReadBytes(Path(kAnalysisInfoFileNumber)), info);
        EXPECT_EQ(testsupport::ReadBytes(Path(kAnalysisIndexFileNumber)), index);
    }
    EXPECT_NE(RunLog().find("AMNCM46M,90:Worning,01," + std::string(kNoCompanyText)), std::string::npos) << RunLog();
    EXPECT_EQ(common::ReadSetting("MirControl\\Counter\\CntTrlMng"), "8");
}

TEST_F(AnalysisInfo, FailedBuildLeavesThePreviousFilesInPlace) {
    WriteMarket();
    long infoCount = 0;
    long indexCount = 0;
    ASSERT_TRUE(Build(infoCount, indexCount));
    const std::string info = testsupport::ReadBytes(Path(kAnalysisInfoFileNumber));
    const std::string index = testsupport::ReadBytes(Path(kAnalysisIndexFileNumber));

    // The Index cannot be written: a folder holds its place.
    std::filesystem::create_directories(Path(kAnalysisIndexFileNumber, ".tmp") + "/blocked");
    SetSwitches("1000");
    EXPECT_NE(testsupport::ErrorNumberOf([&] { Build(infoCount, indexCount); }), 0);
    EXPECT_EQ(testsupport::ReadBytes(Path(kAnalysisInfoFileNumber)), info);
    EXPECT_EQ(testsupport::ReadBytes(Path(kAnalysisIndexFileNumber)), index);
    EXPECT_EQ(common::ReadSetting("MirControl\\Counter\\CntTrlMng"), "8");

    std::filesystem::remove_all(Path(kAnalysisIndexFileNumber, ".tmp"));
    ASSERT_TRUE(Build(infoCount, indexCount));
    EXPECT_EQ(ReadBack(kAnalysisInfoFileNumber).size(), 5u);
}

TEST_F(AnalysisInfo, LoadRepairsACountTooSmallToPaceTheProgress) {
    WriteMarket();
    long infoCount = 0;
    long indexCount = 0;
    ASSERT_TRUE(Build(infoCount, indexCount));
    const struct {
        const char* saved;
        const char* after;
    } cases[] = {{"", "8"}, {"49", "8"}, {"-3", "8"}, {"3", "8"}, {"150", "150"}};
    for (const auto& c : cases) {
        common::WriteSetting("MirControl\\Counter\\CntTrlMng", c.saved);
        const long pumped = ui.pump->count;
        std::vector<analysis::AnalysisFileRec> recs;
        ASSERT_TRUE(analysis::ReadAnalysisInfoFile(kAnalysisInfoFileNumber, 0, env, msg, recs)) << c.saved;
        EXPECT_EQ(recs.size(), 8u);
        EXPECT_EQ(common::ReadSetting("MirControl\\Counter\\CntTrlMng"), c.after) << c.saved;
        if (std::string(c.after) == "8") {
            EXPECT_GE(ui.pump->count - pumped, 8) << c.saved;
        }
    }
}

TEST_F(AnalysisInfo, LoadOfAnEmptyOrMissingFileFails) {
    std::vector<analysis::AnalysisFileRec> recs(2);
    EXPECT_FALSE(analysis::ReadAnalysisInfoFile(kAnalysisInfoFileNumber, 0, env, msg, recs));
    EXPECT_TRUE(recs.empty());
    testsupport::WriteBytes(Path(kAnalysisIndexFileNumber), "");
    recs.resize(2);
    EXPECT_FALSE(analysis::ReadAnalysisInfoFile(kAnalysisIndexFileNumber, 0, env, msg, recs));
    EXPECT_TRUE(recs.empty());
    EXPECT_THROW(analysis::ReadAnalysisInfoFile(30003, 0, env, msg, recs), testsupport::ProgramEnded);
}

TEST_F(AnalysisInfo, BuildAndLoadFillTheProgramWideTables) {
    WriteMarket();
    SetSwitches("1000");
    EXPECT_TRUE(analysis::AMNCM00M(env, msg));
    const common::RunState& state = common::State();
    EXPECT_EQ(Codes(state.analysisTable), (std::vector<std::string>{"0050", "3700", "6758", "7203", "9999"}));
    EXPECT_EQ(Codes(state.analysisIndexTable), (std::vector<std::string>{"0050", "3700"}));
    EXPECT_TRUE(ui.presenter->boxes.empty());
    EXPECT_EQ(msg.LabelText2, "");
    EXPECT_EQ(msg.StageCount, 12);
    EXPECT_EQ(msg.StagesDone, 11);
}

TEST_F(AnalysisInfo, LoadWarnsOfMissingAnalysisInformation) {
    const std::string advice = "\r\n\r\n「その他の機能」の「分析情報の作成」で、分析情報を作成して下さい。\r\n\r\n"
                               "それでも同様のエラーが発生する場合は、お手数をお掛けしますが、　\r\n"
                               "開発者へ連絡をお願い致します。　\r\n";
    // No code master: nothing built, nothing to load, no Index tried.
    common::State().analysisIndexTable.resize(3);
    EXPECT_FALSE(analysis::AMNCM00M(env, msg));
    ASSERT_EQ(ui.presenter->boxes.size(), 2u);
    EXPECT_EQ(ui.presenter->boxes[0].text.rfind(kNoCompanyText, 0), 0u);
    EXPECT_EQ(ui.presenter->boxes[1].text, kNoInfoText + advice);
    EXPECT_NE(RunLog().find("AMNCM00M,90:Worning,01," + std::string(kNoInfoText)), std::string::npos) << RunLog();
    EXPECT_TRUE(common::State().analysisIndexTable.empty());

    // Companies without an industry entry: an empty Index.
    ui.presenter->boxes.clear();
    WriteMaster({FullFields("JPN", "1000", "7203")});
    EXPECT_TRUE(analysis::AMNCM00M(env, msg));
    ASSERT_EQ(ui.presenter->boxes.size(), 1u);
    EXPECT_EQ(ui.presenter->boxes[0].text, kNoInfoText + advice);
    EXPECT_NE(RunLog().find("AMNCM00M,90:Worning,02," + std::string(kNoInfoText)), std::string::npos) << RunLog();
    EXPECT_EQ(common::State().analysisTable.size(), 1u);
}

}  // namespace
