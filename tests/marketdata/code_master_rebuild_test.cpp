#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "marketdata/code_master.h"
#include "tests/marketdata/code_master_fixture.h"

namespace {

using marketdata::CdmRec;
using marketdata::CdmTbl;
using marketdata_test::Fields;
using marketdata_test::FullFields;
using marketdata_test::Join;

constexpr long kIndustryList = 2;

// An industry-list line of 52 fields: the codes of levels "0020" to "0090"
// are "2nnn" to "9nnn", text n is "業種テキストn" and text 22 the entry's name.
std::string IndustryLine(const std::string& category, const std::string& corpCode, const std::string& name) {
    Fields f{"JPN", "    ", category, "2001", "3001", "4001", "5001", "6001", "7001", "8001", "9001",
             platform::PadRightChars(corpCode, 20), "1", " ", "2024/01/05", "10:00:00", "K", "abcd", "abcdef"};
    for (int n = 1; n <= 33; ++n) f.push_back("業種テキスト" + std::to_string(n));
    f[19 + 22 - 1] = name;
    return Join(f);
}

class CodeMasterRebuildTest : public marketdata_test::CodeMasterTest {
protected:
    void WriteIndustryList(const std::vector<std::string>& lines) {
        testsupport::WriteBytes(DataPath(kIndustryList, ".txt"), marketdata_test::Cp932File(lines));
    }
};

TEST_F(CodeMasterRebuildTest, EachIndustryEntryBecomesARecordNamedForItsLevel) {
    const struct {
        const char* category;
        std::string name;
        std::string corpCode;
    } cases[] = {
        {"0010", "自社名", "N225"},          {"1000", "自社名", "7203"},
        {"0020", "業種テキスト14", "2001"}, {"0030", "業種テキスト15", "3001"},
        {"0040", "業種テキスト16", "4001"}, {"0050", "業種テキスト17", "5001"},
        {"0060", "業種テキスト18", "6001"}, {"0070", "業種テキスト19", "7001"},
        {"0080", "業種テキスト20", "8001"}, {"0090", "業種テキスト21", "9001"},
        {"3000", "自社名", "OTHER"},
    };
    std::vector<std::string> lines;
    for (const auto& c : cases) {
        const bool level = std::string(c.category) >= "0020" && std::string(c.category) <= "0090";
        lines.push_back(IndustryLine(c.category, level ? c.corpCode + "XY" : c.corpCode, "自社名"));
    }
    WriteIndustryList(lines);
    common::MSGRec msg;
    CdmTbl tbl;
    marketdata::CFCDMI11(kIndustryList, 5, "", env, msg, tbl);
    ASSERT_EQ(tbl.size(), std::size(cases));
    for (const auto& c : cases) {
        const CdmRec* rec = nullptr;
        for (const CdmRec& r : tbl) {
            if (r.Key.Category == c.category) rec = &r;
        }
        ASSERT_NE(rec, nullptr) << c.category;
        EXPECT_EQ(rec->Key.CorpCode, platform::PadRightChars(c.corpCode, 20)) << c.category;
        EXPECT_EQ(rec->InfoText[38], c.name) << c.category;
        EXPECT_EQ(rec->InfoText[41], c.name) << c.category;
        EXPECT_EQ(rec->InfoText[44], "業種テキスト11") << c.category;
        EXPECT_EQ(rec->InfoText[54], "業種テキスト21") << c.category;
        EXPECT_EQ(rec->Attr1, "K");
        EXPECT_EQ(rec->SeqText, "0005");
        EXPECT_EQ(rec->Key.UpdateDate, "2024/01/05");
    }
    EXPECT_EQ(msg.lngNumerator, static_cast<long>(std::size(cases)));
    EXPECT_TRUE(ui.presenter->boxes.empty());
}

TEST_F(CodeMasterRebuildTest, RebuildAddsNewEntriesAndKeepsTheMastersOwn) {
    Fields known = FullFields("JPN", "1000", "7203");
    known[170] = "旧名称";
    WriteMaster({Join(known)});
    WriteIndustryList({IndustryLine("1000", "7203", "トヨタ自動車"), IndustryLine("0030", "3001", "電気機器"),
                       "JPN\t\t0060\ttoo short"});
    common::MSGRec msg;
    marketdata::CFCDMI1M(kIndustryList, 0, "", env, msg);

    CdmTbl tbl;
    ASSERT_TRUE(marketdata::CFCDM10M(1, 0, 0, "", "", "", "", env, {}, tbl));
    ASSERT_EQ(tbl.size(), 2u);
    EXPECT_EQ(tbl[0].Key.Category, "0030");
    EXPECT_EQ(tbl[0].InfoText[38], "業種テキスト15");
    EXPECT_EQ(tbl[1].InfoText[38], "旧名称") << "the master's record wins on equal keys";
    EXPECT_FALSE(std::filesystem::exists(MasterPath(".tmp")));
    EXPECT_NE(ErrorLog().find(DataPath(kIndustryList, ".txt") + "　3行目　項目数=4"), std::string::npos) << ErrorLog();
}

TEST_F(CodeMasterRebuildTest, MissingIndustryListWritesNothing) {
    WriteMaster({Join(FullFields("JPN", "1000", "7203"))});
    const std::string old = testsupport::ReadBytes(MasterPath());
    common::MSGRec msg;

    marketdata::CFCDMI0M(kIndustryList, 0, "", env, msg);
    EXPECT_TRUE(ui.presenter->boxes.empty()) << "the form's rebuild only logs";
    EXPECT_NE(ErrorLog().find("E0:ErrApl ,00,業種情報が存在しません。　"), std::string::npos) << ErrorLog();

    marketdata::CFCDMI1M(kIndustryList, 0, "", env, msg);
    ASSERT_EQ(ui.presenter->boxes.size(), 1u);
    EXPECT_EQ(ui.presenter->boxes[0].text,
              "業種情報が存在しません。　\r\n\r\nご不便をお掛けして、大変申し訳ございません。　\r\n"
              "企業一覧の収集、または「その他の機能」のコードマスターの初期化を行ってから再実行して下さい。　\r\n\r\n"
              "それでも同様のエラーが発生する場合は、お手数をお掛けしますが、　\r\n開発者へ連絡をお願い致します。　\r\n");
    EXPECT_EQ(testsupport::ReadBytes(MasterPath()), old);
    EXPECT_FALSE(std::filesystem::exists(MasterPath(".tmp")));
}

}  // namespace
