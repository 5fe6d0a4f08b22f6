#include "marketdata/company_profile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/support/program_folder.h"

namespace {

using marketdata::CpiRec;

std::string LineOf(const CpiRec& rec) {
    std::string line;
    marketdata::CpiRecToLine(rec, line);
    return line;
}

class CompanyProfile : public ::testing::Test {
protected:
    testsupport::ProgramFolder folder_;
};

TEST_F(CompanyProfile, LineRoundTripWithJapaneseTexts) {
    CpiRec rec;
    marketdata::InitKey("JPN", "", "1000", "0050", rec.Key);
    rec.Key.UpdateDate = "2024/03/01";
    rec.Key.UpdateTime = "09:15:00";
    for (std::size_t n = 1; n <= 47; ++n) rec.Text[n] = "項目" + std::to_string(n);
    rec.Text[15] = "愛知県豊田市トヨタ町１番地";
    rec.Text[14] = "自動車\t金融\r\n";
    rec.Text[47] = "";

    const std::string line = LineOf(rec);
    const auto fields = marketdata::SplitTabs(line);
    ASSERT_EQ(fields.size(), 63u);
    EXPECT_EQ(fields[14], "2024/03/01");
    EXPECT_EQ(fields[16], "項目1");
    EXPECT_EQ(fields[29], "自動車 金融  ");  // separators inside a text would shift the fields after it
    EXPECT_EQ(fields[30], "愛知県豊田市トヨタ町１番地");

    CpiRec back;
    ASSERT_TRUE(marketdata::LineToCpiRec(line, back));
    EXPECT_EQ(back.Key.Category, "1000");
    EXPECT_EQ(back.Text[15], rec.Text[15]);
    EXPECT_EQ(LineOf(back), line);

    const std::string empty = LineOf(CpiRec{});
    EXPECT_EQ(std::count(empty.begin(), empty.end(), '\t'), 62);
    for (const std::string& bad : {line + "\tmore", line.substr(0, line.rfind('\t'))}) {
        EXPECT_FALSE(marketdata::LineToCpiRec(bad, back));
        EXPECT_EQ(back.Text[15], rec.Text[15]);
    }
}

TEST_F(CompanyProfile, CopyKeepsTheTargetKey) {
    CpiRec target;
    marketdata::InitKey("JPN", "", "1000", "", target.Key);
    CpiRec work;
    marketdata::InitKey("CHN", "", "2000", "", work.Key);
    work.Text[1] = "漢字社名";
    work.Text[47] = "最後";
    marketdata::CopyCpiRec(target, work);
    EXPECT_EQ(target.Key.Market, "JPN");
    EXPECT_EQ(target.Text[1], "漢字社名");
    EXPECT_EQ(target.Text[47], "最後");
}

TEST_F(CompanyProfile, TransferIntoCodeMaster) {
    CpiRec cpi;
    cpi.Key.UpdateDate = "2024/03/01";
    cpi.Key.UpdateTime = "09:15:00";
    cpi.Text[14] = "自動車89%、金融9%";
    cpi.Text[15] = "愛知県豊田市";
    cpi.Text[19] = "1937/08/28";
    cpi.Text[20] = "佐藤恒治";
    cpi.Text[26] = "中間配当制度なし";
    cpi.Text[28] = "100";
    cpi.Text[35] = "1949/05/16";
    marketdata::CdmRec cdm;
    marketdata::InitCdmRec(cdm, 1);
    marketdata::CpiToCdmRec(cdm, cpi);

    EXPECT_EQ(cdm.ProcMark[5].MarkFlag, "1");
    EXPECT_EQ(cdm.ProcMark[5].MarkDate, "2024/03/01");
    EXPECT_EQ(cdm.ProcMark[5].MarkTime, "09:15:00");
    EXPECT_EQ(cdm.ProcMark[4].MarkFlag, "");
    EXPECT_EQ(cdm.InfoText[1], "1937/08/28");
    EXPECT_EQ(cdm.InfoText[2], "1949/05/16");
    EXPECT_EQ(cdm.InfoText[4], "中間配当制度なし");
    EXPECT_EQ(cdm.InfoText[5], "佐藤恒治");
    EXPECT_EQ(cdm.InfoText[6], "100");
    EXPECT_EQ(cdm.InfoText[59], "愛知県豊田市");
    EXPECT_EQ(cdm.InfoText[60], "自動車89%、金融9%");
}

TEST_F(CompanyProfile, FoundingDateNormalisation) {
    const struct {
        std::string text, master, profile;
    } cases[] = {
        {"1948.04", "1948.04", "1948.04"},                 // a year and a month: too short to be a date
        {"1948/4/1", "1948/4/1", "1948/4/1"},              // shorter than ten characters: as it is
        {"1948.04.01", "1948/04/01", "1948/04/01"},        // dotted: corrected in both records
        {"1948-4-1 0:00", "1948/04/01", "1948-4-1 0:00"},  // a date already: only the master is formatted
        {"1948年04月01日", "1948/04/01", "1948年04月01日"},
        {"1948.13.01", "1948.13.01", "1948.13.01"},        // no date even with slashes
        {"設立は1948.04.01", "設立は1948.04.01", "設立は1948.04.01"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        CpiRec cpi;
        cpi.Text[19] = c.text;
        marketdata::CdmRec cdm;
        marketdata::CpiToCdmRec(cdm, cpi);
        EXPECT_EQ(cdm.InfoText[1], c.master) << c.text;
        EXPECT_EQ(cpi.Text[19], c.profile) << c.text;
    }
}

}  // namespace
