// Industry series built from hand-worked member series: the calendar
// alignment, the day table and the whole run over a small code master.
#include "collect/industry/industry_series.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "collect/industry/calendar_alignment.h"
#include "collect/industry/industry_day_table.h"
#include "collect/prices/price_row_files.h"
#include "common/files/data_file.h"
#include "common/files/text_file_read.h"
#include "common/logs/logs.h"
#include "common/run_state.h"
#include "common/screens/ui_seam.h"
#include "common/startup/run_env.h"
#include "marketdata/code_master.h"
#include "marketdata/price_series.h"
#include "platform/cp932.h"
#include "platform/utf8_text.h"
#include "tests/collect/industry/industry_market.h"
#include "tests/collect/split_run_files.h"
#include "tests/support/fake_ui.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder.h"

namespace {

namespace fs = std::filesystem;
using marketdata::PriceRec;

PriceRec Row(const std::string& line) {
    PriceRec rec;
    EXPECT_TRUE(marketdata::SplitPriceLine(line, rec));
    EXPECT_TRUE(marketdata::PriceRecToValues(rec));
    return rec;
}

std::vector<std::string> Lines(const std::vector<PriceRec>& rows) {
    std::vector<std::string> lines;
    marketdata::PriceRecsToLines(rows, lines);
    return lines;
}

using Strings = std::vector<std::string>;

// Both ways a stock meets the start date, a stock that ends before it, the
// days it lacks (carried at the adjusted close, or the close when the file
// gives none, with no quantity) and a day of its own the calendar lacks.
TEST(AlignSeriesToCalendar, LaysTheRowsOverTheCalendarFromTheStartDate) {
    const Strings calendar = {"2024/01/04", "2024/01/05", "2024/01/08", "2024/01/09"};
    const std::vector<PriceRec> stock = {Row("2024/01/04\t100\t110\t90\t105\t1000\t52.5"),
                                         Row("2024/01/06\t106\t112\t104\t110\t10\t0"),
                                         Row("2024/01/08\t112\t120\t108\t118\t1000\t59")};
    struct Case {
        const char* start;
        Strings lines;
    };
    const Case cases[] = {
        {"1900/01/01",
         {"2024/01/04\t100\t110\t90\t105\t1000\t52.5", "2024/01/05\t52.5\t52.5\t52.5\t52.5\t0\t52.5",
          "2024/01/06\t106\t112\t104\t110\t10\t0", "2024/01/08\t112\t120\t108\t118\t1000\t59",
          "2024/01/09\t59\t59\t59\t59\t0\t59"}},
        {"2024/01/05",
         {"2024/01/06\t106\t112\t104\t110\t10\t0", "2024/01/08\t112\t120\t108\t118\t1000\t59",
          "2024/01/09\t59\t59\t59\t59\t0\t59"}},
        {"2024/01/09", {"2024/01/08\t112\t120\t108\t118\t1000\t59", "2024/01/09\t59\t59\t59\t59\t0\t59"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        std::vector<PriceRec> rows = stock;
        collect::AlignSeriesToCalendar(c.start, calendar, rows);
        EXPECT_EQ(Lines(rows), c.lines);
        EXPECT_EQ(rows.back().Date, (platform::Date{2024, 1, 9}));
        EXPECT_EQ(rows.back().Volume, platform::Currency{});
    }

    // The close stands in for a missing adjusted close.
    std::vector<PriceRec> rows = {Row("2024/01/06\t106\t112\t104\t110\t10\t0")};
    collect::AlignSeriesToCalendar("1900/01/01", calendar, rows);
    EXPECT_EQ(Lines(rows), (Strings{"2024/01/06\t106\t112\t104\t110\t10\t0", "2024/01/08\t110\t110\t110\t110\t0\t0",
                                    "2024/01/09\t110\t110\t110\t110\t0\t0"}));

    rows = stock;
    collect::AlignSeriesToCalendar("2024/01/05", {}, rows);
    EXPECT_EQ(Lines(rows), Lines(stock));
}

TEST(IndustryDayTable, RowsRunFrom1900ToCnsChartMax) {
    EXPECT_EQ(collect::DayRow(std::string("1900/01/01")), 1);
    EXPECT_EQ(collect::DayRow(std::string("2036/11/22")), collect::CnsChartMax);
    EXPECT_EQ(collect::DayRow(std::string("2036/11/23")), 0);
    EXPECT_EQ(collect::DayRow(std::string("1899/12/31")), 0);
    EXPECT_EQ(collect::DayRow(std::string("")), 0);
    EXPECT_EQ(collect::DayRowDate(collect::CnsChartMax), "2036/11/22");
    EXPECT_EQ(collect::DayRowDate(collect::DayRow(std::string("2024/01/09"))), "2024/01/09");
}

// A code master of two sectors, a research-provider industry and their
// stocks, as the build finds it in a program folder.
class IndustrySeries : public ::testing::Test {
protected:
    IndustrySeries() {
        common::CCENV00M(env_);
        common::SetTaskWorkPaths(0, 0, env_);
        common::LoadLogSwitches(env_);
        common::State().logSwitch[10] = true;
        common::InstallUi(
            {ui_.presenter, forms_, ui_.pump, nullptr, std::make_shared<testsupport::ThrowingProgramEnd>()});
    }

    marketdata::CdmTbl Master() {
        marketdata::CdmTbl tbl;
        marketdata::CFCDM10M(1, 0, 0, "", "", "", "", env_, common::SortKeyRec{}, tbl);
        return tbl;
    }
    marketdata::CdmRec Find(const std::string& code) {
        for (const marketdata::CdmRec& rec : Master()) {
            if (platform::TrimBlanks(rec.Key.CorpCode) == code) return rec;
        }
        ADD_FAILURE() << code;
        return {};
    }

    std::string SeriesPath(const std::string& category, const std::string& code, const std::string& extension) {
        return collect_test::SeriesPath(env_, category, code, extension);
    }
    void WriteSeries(const std::string& code, std::initializer_list<const char*> lines) {
        collect_test::WriteSeries(env_, code, lines);
    }
    Strings Series(const std::string& category, const std::string& code) {
        const std::string path = SeriesPath(category, code, ".txt");
        if (!fs::exists(path)) return {};
        Strings lines;
        common::CFFIL21M(path, lines);
        return lines;
    }
    void WriteCalendar(const std::string& dates) { collect_test::WriteCalendar(env_, dates); }
    static std::string RunLog() {
        const std::string& path = common::State().runLogPath;
        return fs::exists(path) ? platform::FromCp932(testsupport::ReadBytes(path)).text : "";
    }

    // Two sectors, one with members whose series start on different days
    // and leave gaps, one whose members give nothing to add (no series, unit
    // shares that are no number); a sector without members; a research
    // industry with a member of no sector.
    void WriteMarket() {
        using collect_test::IndustryRecord;
        using collect_test::MemberStock;
        collect_test::WriteMaster(
            env_, {IndustryRecord("0050", "3050", "食料品"), IndustryRecord("0050", "3100", "繊維製品"),
                   IndustryRecord("0050", "3200", "化学"), IndustryRecord("0060", "0002", "Food Processing"),
                   MemberStock("1301", "3050", "0002", "1000"), MemberStock("1332", "3050", "", "100"),
                   MemberStock("2001", "3100", "", "1000"), MemberStock("2002", "3100", "", ""),
                   MemberStock("2003", "", "0002", "1000")});
        WriteCalendar("2024/01/04\r\n2024/01/05\r\n2024/01/08\r\n2024/01/09\r\n");
        // A trades on a Saturday the calendar lacks; its Sunday row holds no price.
        WriteSeries("1301", {"2024/01/04\t100\t110\t90\t105\t1000\t105", "2024/01/05\t106\t112\t104\t110\t1000\t110",
                             "2024/01/06\t111\t111\t111\t111\t10\t111", "2024/01/07\t-\t-\t-\t-\t0\t-",
                             "2024/01/08\t112\t120\t108\t118\t1000\t118", "2024/01/09\t118\t122\t116\t120\t1000\t120"});
        // B (weight 100 / 1000) starts a day later and lacks 01/08.
        WriteSeries("1332", {"2024/01/05\t2000\t2100\t1900\t2050\t500\t2050",
                             "2024/01/09\t2100\t2200\t2000\t2150\t500\t2150"});
        WriteSeries("2002", {"2024/01/05\t10\t10\t10\t10\t5\t10"});
        WriteSeries("2003", {"2024/01/08\t50\t60\t40\t55\t100\t55"});
    }

    testsupport::ProgramFolder folder_;
    testsupport::FakeUi ui_;
    std::shared_ptr<testsupport::RecordingForms> forms_ = std::make_shared<testsupport::RecordingForms>();
    common::EnvRec env_;
};

TEST_F(IndustrySeries, AveragesTheWeightedMembersPerDayOverThoseThatHaveIt) {
    WriteMarket();

    EXPECT_EQ(collect::AHPID00M(), 2) << "3050 and 0002; the other two have no member series";

    EXPECT_EQ(Series("0050", "3050"), (Strings{
                                          "2024/01/04\t100.00000\t110.00000\t90.00000\t105.00000\t1\t105.00000",
                                          "2024/01/05\t153.00000\t161.00000\t147.00000\t157.50000\t2\t157.50000",
                                          "2024/01/06\t111.00000\t111.00000\t111.00000\t111.00000\t1\t111.00000",
                                          "2024/01/08\t158.50000\t162.50000\t156.50000\t161.50000\t2\t161.50000",
                                          "2024/01/09\t164.00000\t171.00000\t158.00000\t167.50000\t2\t167.50000",
                                      }));
    EXPECT_EQ(Series("0060", "0002"), (Strings{
                                          "2024/01/04\t100.00000\t110.00000\t90.00000\t105.00000\t1\t105.00000",
                                          "2024/01/05\t106.00000\t112.00000\t104.00000\t110.00000\t1\t110.00000",
                                          "2024/01/06\t111.00000\t111.00000\t111.00000\t111.00000\t1\t111.00000",
                                          "2024/01/08\t81.00000\t90.00000\t74.00000\t86.50000\t2\t86.50000",
                                          "2024/01/09\t86.50000\t88.50000\t85.50000\t87.50000\t2\t87.50000",
                                      }));
    EXPECT_TRUE(Series("0050", "3100").empty());
    EXPECT_TRUE(Series("0050", "3200").empty());
    EXPECT_FALSE(fs::exists(SeriesPath("0050", "3050", ".tmp")));

    struct Expected {
        const char* code;
        const char* first;
        const char* last;
        const char* members;
    };
    for (const Expected e : {Expected{"3050", "2024/01/04", "2024/01/09", "000002"},
                             Expected{"0002", "2024/01/04", "2024/01/09", "000002"},
                             Expected{"3100", "1900/01/01", "1900/01/01", "000002"},
                             Expected{"3200", "1900/01/01", "1900/01/01", "000000"}}) {
        SCOPED_TRACE(e.code);
        marketdata::CdmRec rec = Find(e.code);
        EXPECT_EQ(rec.Term[1].FirstDate, e.first);
        EXPECT_EQ(rec.Term[1].LastDate, e.last);
        EXPECT_EQ(collect::IndustryMemberCount(rec), e.members);
    }
    EXPECT_EQ(Master().size(), 9u);

    // The per-industry notice is a debug line, never a box; the industries
    // without member series and the unusable unit shares are logged.
    EXPECT_TRUE(ui_.presenter->boxes.empty());
    const std::string log = RunLog();
    EXPECT_NE(log.find("AHPID30M,80:Debug  ,00,HpdTbl(1).Date=1900/01/01 HpdTbl(CnsChartMax).Date=2036/11/22"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("業種：3100(繊維製品) 構成銘柄の株価時系列データが存在しないため、作成しません。　"),
              std::string::npos);
    EXPECT_NE(log.find("業種：3200(化学) 構成銘柄の株価時系列データが存在しないため、作成しません。　"),
              std::string::npos);
    EXPECT_NE(log.find("銘柄：2002(銘柄2002) 単元株数が不正なため"), std::string::npos);
    EXPECT_NE(log.find("AHPID00M,01:Start  ,00,AHPID00M Start : "), std::string::npos);
    EXPECT_NE(log.find("AHPID00M,30:End    ,00,AHPID00M End   : "), std::string::npos);
    EXPECT_EQ(forms_->view.caption, "業種別株価時系列データ（国内）の作成");
    EXPECT_TRUE(forms_->loaded.empty());
}

// A second run recomputes only the days from LastDate on: they replace the
// stored rows of those days, the earlier stored rows stay as they were.
TEST_F(IndustrySeries, ASecondRunReplacesTheDaysFromLastDate) {
    WriteMarket();
    collect::AHPID00M();

    WriteCalendar("2024/01/04\r\n2024/01/05\r\n2024/01/08\r\n2024/01/09\r\n2024/01/10\r\n");
    WriteSeries("1301", {"2024/01/04\t900\t900\t900\t900\t1000\t900", "2024/01/08\t112\t120\t108\t118\t1000\t118",
                         "2024/01/09\t120\t124\t118\t122\t1000\t122", "2024/01/10\t122\t126\t120\t124\t1000\t124"});

    collect::AHPID00M();

    const Strings series = Series("0050", "3050");
    ASSERT_EQ(series.size(), 6u);
    EXPECT_EQ(series[0], "2024/01/04\t100.00000\t110.00000\t90.00000\t105.00000\t1\t105.00000");
    EXPECT_EQ(series[3], "2024/01/08\t158.50000\t162.50000\t156.50000\t161.50000\t2\t161.50000");
    EXPECT_EQ(series[4], "2024/01/09\t165.00000\t172.00000\t159.00000\t168.50000\t2\t168.50000");
    // B has no row of its own on 01/10: its 01/09 close carried.
    EXPECT_EQ(series[5], "2024/01/10\t168.50000\t170.50000\t167.50000\t169.50000\t2\t169.50000");
    const marketdata::CdmRec sector = Find("3050");
    EXPECT_EQ(sector.Term[1].FirstDate, "2024/01/04");
    EXPECT_EQ(sector.Term[1].LastDate, "2024/01/10");
}

TEST_F(IndustrySeries, AnEmptyCodeMasterIsWarnedAboutAndNothingIsWritten) {
    EXPECT_EQ(collect::AHPID00M(), 0);

    ASSERT_EQ(ui_.presenter->boxes.size(), 1u);
    EXPECT_EQ(ui_.presenter->boxes[0].text, collect_test::kNoCompany);
    EXPECT_NE(RunLog().find("AHPID30M,90:Worning,00,処理対象の企業が存在しません。　"), std::string::npos);
    EXPECT_FALSE(fs::exists(common::BuildDataFilePath(1, 0, 0, "", "", env_)));
    EXPECT_TRUE(forms_->loaded.empty());
}

}  // namespace
