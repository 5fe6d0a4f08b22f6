#include "marketdata/company_list.h"

#include <gtest/gtest.h>

#include "marketdata/key.h"
#include "tests/support/program_folder.h"

namespace {

class CompanyList : public ::testing::Test {
protected:
    testsupport::ProgramFolder folder_;
};

TEST_F(CompanyList, LineRoundTrip) {
    marketdata::ListRec rec;
    marketdata::InitKey("JPN", "", "2000", "0050", rec.Key);
    rec.Key.CorpCode = marketdata::FitField("7203", 20, "CorpCode");
    rec.ListFlag = "1";
    rec.ListCode = "T1";
    for (long n = 1; n <= marketdata::kListTextCount; ++n) rec.ListText[n] = "項目" + std::to_string(n);
    rec.ListText[9] = "";
    rec.ListText[10] = "トヨタ自動車\t東証\r\n";

    std::string line;
    marketdata::ListRecToLine(rec, line);
    const auto fields = marketdata::SplitTabs(line);
    ASSERT_EQ(fields.size(), 47u);
    EXPECT_EQ(fields[16], "1");
    EXPECT_EQ(fields[17], "T1  ");
    EXPECT_EQ(fields[18], "項目1");
    EXPECT_EQ(fields[26], "");
    // Separators inside a text would shift every later field.
    EXPECT_EQ(fields[27], "トヨタ自動車 東証  ");
    EXPECT_EQ(fields[46], "項目29");

    marketdata::ListRec back;
    ASSERT_TRUE(marketdata::LineToListRec(line, back));
    EXPECT_EQ(back.Key.CorpCode, rec.Key.CorpCode);
    EXPECT_EQ(back.ListCode, "T1  ");
    EXPECT_EQ(back.ListText[29], "項目29");
    std::string again;
    marketdata::ListRecToLine(back, again);
    EXPECT_EQ(again, line);
}

TEST_F(CompanyList, BlankRecordLine) {
    marketdata::ListRec rec;
    std::string line;
    marketdata::ListRecToLine(rec, line);
    std::string keyLine;
    marketdata::KeyToLine(marketdata::Key{}, keyLine);
    ASSERT_EQ(keyLine.size(), marketdata::kKeyLineLength);
    EXPECT_EQ(line, keyLine + "\t \t    " + std::string(29, '\t'));
}

TEST_F(CompanyList, ReaderTakesOnlyFullLines) {
    marketdata::ListRec rec;
    rec.ListCode = "KEEP";
    std::string line;
    marketdata::ListRecToLine(marketdata::ListRec{}, line);
    for (const std::string& bad : {line.substr(0, line.size() - 1), line + "\t", std::string()}) {
        EXPECT_FALSE(marketdata::LineToListRec(bad, rec));
        EXPECT_EQ(rec.ListCode, "KEEP");
    }
}

}  // namespace
