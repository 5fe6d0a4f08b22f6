#include "marketdata/analysis_info_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/record_io.h"
#include "tests/marketdata/code_master_fixture.h"

namespace {

using marketdata::AnalysisRec;
using marketdata::kAnalysisInfoFileNumber;

// The stored form of one record whose fields name the record and their position.
std::string RecordBytes(int record) {
    platform::RecordWriter out;
    out.VarText("");
    out.VarText("JPN");
    out.VarText("1000");
    for (std::size_t n = 3; n < marketdata::kAnalysisFieldCount; ++n) {
        out.VarText("記録" + std::to_string(record) + "-" + std::to_string(n));
    }
    return out.data();
}

class AnalysisInfoReader : public marketdata_test::CodeMasterTest {
protected:
    std::string Path() { return DataPath(kAnalysisInfoFileNumber, ".dat"); }
    void WriteFile(const std::string& bytes) { testsupport::WriteBytes(Path(), bytes); }
    std::vector<AnalysisRec> Read(bool expected) {
        std::vector<AnalysisRec> recs(3);
        EXPECT_EQ(marketdata::ReadAnalysisRecords(kAnalysisInfoFileNumber, 0, env, recs), expected);
        return recs;
    }
};

TEST_F(AnalysisInfoReader, ReadsEveryWholeRecord) {
    WriteFile(RecordBytes(1));
    std::vector<AnalysisRec> recs = Read(true);
    ASSERT_EQ(recs.size(), 1u);
    EXPECT_EQ(recs[0].Field[0], "");
    EXPECT_EQ(recs[0].Field[1], "JPN");
    EXPECT_EQ(recs[0].Field[105], "記録1-105");

    WriteFile(RecordBytes(1) + RecordBytes(2) + RecordBytes(3));
    recs = Read(true);
    ASSERT_EQ(recs.size(), 3u);
    EXPECT_EQ(recs[2].Field[3], "記録3-3");
    EXPECT_EQ(ErrorLog(), "");
}

TEST_F(AnalysisInfoReader, TrailingPartialRecordIsLeftOutAndLogged) {
    for (const std::size_t kept : {std::size_t{1}, RecordBytes(3).size() - 1}) {
        WriteFile(RecordBytes(1) + RecordBytes(2) + RecordBytes(3).substr(0, kept));
        const std::vector<AnalysisRec> recs = Read(true);
        ASSERT_EQ(recs.size(), 2u) << kept;
        EXPECT_EQ(recs[1].Field[105], "記録2-105");
        EXPECT_NE(ErrorLog().find("分析情報の末尾の不完全なレコードを読み飛ばしました。　" + Path() + "　3件目　" +
                                  std::to_string(kept) + "バイト"),
                  std::string::npos)
            << ErrorLog();
    }

    WriteFile("\x05");
    EXPECT_TRUE(Read(true).empty());
    WriteFile("");
    EXPECT_TRUE(Read(true).empty());
}

TEST_F(AnalysisInfoReader, MissingFileGivesFalseAndNoRecord) { EXPECT_TRUE(Read(false).empty()); }

TEST_F(AnalysisInfoReader, ToolRunNamesItselfInTheLog) {
    WriteFile(RecordBytes(1) + "\x01");
    common::State().procedureId = "caller";
    EXPECT_TRUE(marketdata::AMNCM50M(env));
    EXPECT_NE(ErrorLog().find("AMNCM50M,90:Worning,00,分析情報の末尾の不完全なレコード"), std::string::npos)
        << ErrorLog();
    EXPECT_EQ(common::State().procedureId, "caller");
}

}  // namespace
