// The research provider's industries carried into the code master and the
// industry list, on their own and as the last two steps of the run.
#include "collect/company_pages/research_industries.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "collect/company_pages/company_report_run.h"
#include "common/files/text_file_write.h"
#include "marketdata/industry_list.h"
#include "marketdata/multex_record.h"
#include "marketdata/research_fields.h"
#include "platform/utf8_text.h"
#include "tests/collect/split_run_files.h"

namespace {

namespace fs = std::filesystem;
using collect_test::kNoCompany;

class ResearchIndustries : public collect_test::SplitRunFiles {
protected:
    ResearchIndustries() : SplitRunFiles(7, 1, 0, 0) {}

    static marketdata::CdmRec Stock(const std::string& code, const std::string& industry) {
        marketdata::CdmRec stock = Company(code);
        marketdata::ResearchIndustryName(stock) = industry;
        stock.Key.IndCode0040 = "04" + code.substr(0, 2);
        stock.Key.IndCode0050 = "05" + code.substr(0, 2);
        stock.InfoText[182 - 133] = "業種" + code;
        stock.InfoText[183 - 133] = "セクター" + code;
        return stock;
    }

    void WriteReports(const std::vector<std::pair<std::string, std::string>>& codeAndIndustry) {
        std::vector<std::string> lines;
        for (const auto& [code, industry] : codeAndIndustry) {
            marketdata::MultexRec rec;
            rec.Key = Company(code).Key;
            rec.Key.UpdateDate = "2008/03/14";
            rec.Key.UpdateTime = "09:30:00";
            rec.Text[3] = industry;
            marketdata::MultexRecToLine(rec, lines.emplace_back());
        }
        common::CFFIL30M(lines, DataPath(marketdata::kMultexFileNumber, 0, 0, ".txt"));
    }

    // The research rows of the industry list by code: their names.
    std::map<std::string, std::string> ResearchRows() {
        marketdata::IndustryLoadReq request;
        request.CategoryFilter = "0060";
        std::vector<marketdata::IndustryRec> rows;
        marketdata::LoadIndustryList(request, env, rows);
        std::map<std::string, std::string> names;
        for (const marketdata::IndustryRec& row : rows) {
            EXPECT_EQ(row.Key.IndCode0060, platform::TrimBlanks(row.Key.CorpCode));
            EXPECT_EQ(row.Text[18], row.Text[22]);
            names[row.Key.IndCode0060] = row.Text[18];
        }
        return names;
    }

    void WriteResearchRows(const std::vector<std::pair<std::string, std::string>>& codeAndName) {
        std::vector<marketdata::IndustryRec> rows;
        for (const auto& [code, name] : codeAndName) {
            marketdata::IndustryRec& row = rows.emplace_back();
            marketdata::InitIndustryRec("JPN", "", "0060", "", row);
            row.Key.IndCode0060 = code;
            row.Key.CorpCode = code;
            row.Text[18] = name;
            row.Text[22] = name;
        }
        marketdata::BuildIndustryLines(marketdata::kIndustryListFileNumber, 0, 0, "", ".txt", env, rows);
    }

    // The code master's records by CorpCode.
    std::map<std::string, marketdata::CdmRec> Master() {
        std::map<std::string, marketdata::CdmRec> byCode;
        for (const marketdata::CdmRec& rec : List(0, 0)) {
            byCode[platform::TrimBlanks(rec.Key.Category) + ":" + platform::TrimBlanks(rec.Key.CorpCode)] = rec;
        }
        return byCode;
    }

    common::MSGRec msg;
};

// Stocks take their research fields from the file, the identity compared
// without regard to case; a stock without a row keeps its fields, and
// records of other markets stay as they were.
TEST_F(ResearchIndustries, AttachesTheIndustriesOfTheResearchFile) {
    marketdata::CdmRec absent = Stock("8001", "旧業種");
    marketdata::ResearchMark(absent) = {"1", "2007/01/05", "10:00:00"};
    marketdata::CdmRec chinese = Stock("00700", "");
    chinese.Key.Market = "CHN";
    WriteList(0, 0, "", {Stock("1301", ""), Stock("130a", ""), absent, chinese});
    WriteReports({{"1301", "水産"}, {"130A", "銀行"}, {"9999", "不明"}});

    EXPECT_TRUE(collect::CFMLTC1M(env, msg));

    std::map<std::string, marketdata::CdmRec> master = Master();
    ASSERT_EQ(master.size(), 4u);
    for (const auto& [code, industry] :
         std::vector<std::pair<std::string, std::string>>{{"1301", "水産"}, {"130a", "銀行"}}) {
        SCOPED_TRACE(code);
        marketdata::CdmRec& stock = master.at("1000:" + code);
        EXPECT_EQ(marketdata::ResearchIndustryName(stock), industry);
        const marketdata::ProcMarkRec mark = marketdata::ResearchMark(stock);
        EXPECT_EQ(mark.MarkFlag + " " + mark.MarkDate + " " + mark.MarkTime, "1 2008/03/14 09:30:00");
    }
    marketdata::CdmRec& kept = master.at("1000:8001");
    EXPECT_EQ(marketdata::ResearchIndustryName(kept), "旧業種");
    EXPECT_EQ(marketdata::ResearchMark(kept).MarkDate, "2007/01/05");
    EXPECT_EQ(master.at("1000:00700").Key.Market, "CHN");
    EXPECT_TRUE(ui.presenter->boxes.empty());
}

TEST_F(ResearchIndustries, AMissingResearchFileIsLoggedAndTheMasterStays) {
    WriteList(0, 0, "", {Stock("1301", "水産")});
    EXPECT_TRUE(collect::CFMLTC1M(env, msg));
    EXPECT_NE(ReadLog(common::State().runLogPath)
                  .find("90:Worning,00,企業一覧（国内）にロイター業種が設定されていません。　"),
              std::string::npos);
    EXPECT_EQ(marketdata::ResearchIndustryName(Master().at("1000:1301")), "水産");
    EXPECT_TRUE(ui.presenter->boxes.empty());
}

TEST_F(ResearchIndustries, AnEmptyCodeMasterIsWarnedAboutAndNothingIsWritten) {
    for (bool (*step)(common::EnvRec&, common::MSGRec&) : {collect::CFMLTC1M, collect::AMLTX41M, collect::AMLTX40M}) {
        ui.presenter->boxes.clear();
        EXPECT_TRUE(step(env, msg));
        ASSERT_EQ(ui.presenter->boxes.size(), 1u);
        EXPECT_EQ(ui.presenter->boxes[0].text, kNoCompany);
    }
    EXPECT_NE(ReadLog(common::State().runLogPath).find("90:Worning,00,処理対象の企業が存在しません。　"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(DataPath(1, 0, 0, ".txt")));
    EXPECT_FALSE(fs::exists(DataPath(marketdata::kIndustryListFileNumber, 0, 0, ".txt")));
}

// The first extraction opens the research level with "0001" named "-";
// equal names share a code, names that differ in case do not, and a stock
// without a name keeps its code.
TEST_F(ResearchIndustries, ExtractsOneRowPerIndustryName) {
    marketdata::CdmRec unnamed = Stock("6501", "");
    unnamed.Key.IndCode0060 = "0099";
    WriteList(0, 0, "",
              {Stock("1301", "銀行"), Stock("1332", "Bank"), Stock("7203", "銀行"), unnamed, Stock("8306", "BANK")});

    EXPECT_TRUE(collect::AMLTX41M(env, msg));

    EXPECT_EQ(ResearchRows(), (std::map<std::string, std::string>{
                                  {"0001", "-"}, {"0002", "銀行"}, {"0003", "Bank"}, {"0004", "BANK"}}));
    const std::map<std::string, marketdata::CdmRec> master = Master();
    const std::map<std::string, std::string> codes = {
        {"1301", "0002"}, {"1332", "0003"}, {"7203", "0002"}, {"6501", "0099"}, {"8306", "0004"}};
    for (const auto& [code, industry] : codes) EXPECT_EQ(master.at("1000:" + code).Key.IndCode0060, industry) << code;

    // A new row takes the stock's codes and names of the two levels before.
    marketdata::IndustryLoadReq request;
    request.CategoryFilter = "0060";
    std::vector<marketdata::IndustryRec> rows;
    marketdata::LoadIndustryList(request, env, rows);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[1].Key.IndCode0040 + rows[1].Key.IndCode0050, "04130513");
    EXPECT_EQ(rows[1].Text[16] + rows[1].Text[17], "業種1301セクター1301");
}

// Existing rows keep their codes; new industries come after the highest
// code, as many as there are, more than the list or the master held.
TEST_F(ResearchIndustries, KeepsTheCodesOfEarlierRuns) {
    WriteResearchRows({{"0001", "-"}, {"0002", "銀行"}, {"0005", "水産"}});
    WriteList(0, 0, "", {Stock("1301", "水産"), Stock("7203", "自動車"), Stock("8306", "商社")});

    EXPECT_TRUE(collect::AMLTX40M(env, msg));

    EXPECT_EQ(ResearchRows(),
              (std::map<std::string, std::string>{
                  {"0001", "-"}, {"0002", "銀行"}, {"0005", "水産"}, {"0006", "自動車"}, {"0007", "商社"}}));
    const std::map<std::string, marketdata::CdmRec> master = Master();
    EXPECT_EQ(master.at("1000:1301").Key.IndCode0060, "0005");
    EXPECT_EQ(master.at("1000:7203").Key.IndCode0060, "0006");
    EXPECT_EQ(master.at("1000:8306").Key.IndCode0060, "0007");
    EXPECT_FALSE(fs::exists(DataPath(1, 0, 0, ".tmp")));
}

// The codes have four digits: past "9999" a new industry is refused and
// logged rather than given a code cut to that of another industry; its stocks
// are left without one, known industries go on as before.
TEST_F(ResearchIndustries, NoCodePastTheFourDigits) {
    WriteResearchRows({{"0001", "-"}, {"1000", "銀行"}, {"9999", "水産"}});
    marketdata::CdmRec coded = Stock("7203", "自動車");
    coded.Key.IndCode0060 = "0001";
    WriteList(0, 0, "", {Stock("1301", "水産"), coded, Stock("7267", "自動車"), Stock("8306", "銀行")});

    EXPECT_TRUE(collect::AMLTX40M(env, msg));

    EXPECT_EQ(ResearchRows(), (std::map<std::string, std::string>{{"0001", "-"}, {"1000", "銀行"}, {"9999", "水産"}}));
    const std::map<std::string, marketdata::CdmRec> master = Master();
    EXPECT_EQ(master.at("1000:1301").Key.IndCode0060, "9999");
    EXPECT_EQ(master.at("1000:7203").Key.IndCode0060, "    ");
    EXPECT_EQ(master.at("1000:7267").Key.IndCode0060, "    ");
    EXPECT_EQ(master.at("1000:8306").Key.IndCode0060, "1000");
    const std::string log = ReadLog(common::State().errorLogPath);
    const std::string refused = "業種コードが4桁を超えるため、業種を登録できません。　自動車　コード=10000";
    ASSERT_NE(log.find(refused), std::string::npos) << log;
    EXPECT_EQ(log.find(refused, log.find(refused) + 1), std::string::npos);  // once per industry
}

// Steps 06 and 07 of a research-provider run that resumes at 06: the
// industries attached and extracted, the code master's industry records
// rebuilt from the list, the run ended.
TEST_F(ResearchIndustries, TheRunsLastStepsAttachAndExtract) {
    WriteTasks({"Z"});
    SetCtr("B", "06");
    WriteList(0, 0, "", {Stock("1301", ""), Stock("7203", "")});
    WriteReports({{"1301", "水産"}, {"7203", "自動車"}});

    collect::ACORP00M();

    EXPECT_EQ(Ctr().Status, "Z");
    const std::map<std::string, marketdata::CdmRec> master = Master();
    EXPECT_EQ(master.at("1000:1301").Key.IndCode0060, "0002");
    EXPECT_EQ(master.at("1000:7203").Key.IndCode0060, "0003");
    ASSERT_EQ(master.count("0060:0003"), 1u);
    EXPECT_EQ(marketdata::CompanyName(master.at("0060:0003")), "自動車");
    EXPECT_TRUE(ui.presenter->boxes.empty());
}

}  // namespace
