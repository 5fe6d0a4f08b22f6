// The current exchange rates read from the loopback rates page into the
// settings store and the latest-rates file.
#include "collect/rates/current_rates.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "common/settings/settings.h"
#include "common/tasks/waits.h"
#include "platform/cp932.h"
#include "tests/collect/split_run_files.h"
#include "tests/support/file_bytes.h"
#include "tests/support/rates_site.h"

namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kKeys{"ExcgDate", "ExcgTime", "ExcgCNY", "ExcgUSD", "ExcgJPY",
                                     "ExcgHKD",  "ExcgTWD",  "ExcgXEU", "ExcgGBP"};

class CurrentRates : public collect_test::SplitRunFiles {
protected:
    CurrentRates() : SplitRunFiles(11, 1, 0, 0) {
        common::SetWaitScaleForTests(0.01f);
        site.UseAsRateSites();
        common::SetProcessContext(11, 1);
    }
    ~CurrentRates() override { common::SetWaitScaleForTests(1.0f); }

    // The nine settings in their order.
    static std::vector<std::string> Settings() {
        std::vector<std::string> values;
        for (const std::string& key : kKeys) values.push_back(common::ReadSetting("MirControl\\ComExcg\\" + key));
        return values;
    }
    std::string LatestFile() { return DataPath(1017, 0, 0, ""); }
    std::string LatestLine() { return platform::FromCp932(testsupport::ReadBytes(LatestFile())).text; }

    testsupport::RatesSite site;
};

TEST_F(CurrentRates, StoresTheSevenRatesWithTheGenerationTime) {
    EXPECT_TRUE(collect::AEXCG15M(env));

    EXPECT_EQ(Settings(), (std::vector<std::string>{"2026/12/10", "15:30:00", "21.05", "150.25", "1.00", "19.30",
                                                    "4.75", "161.00", "1192.40"}));
    EXPECT_EQ(fs::path(LatestFile()).filename(), "為替情報.txt");
    EXPECT_EQ(LatestLine(), "JPN\t2026/12/10\t15:30:00\t21.05\t150.25\t1.00\t19.30\t4.75\t161.00\t1192.40\r\n");
    EXPECT_EQ(site.CurrentRequests(), 1);
}

// The date and time are the generation text's second and third items; a
// rate that is no number, or one beyond the range of amounts, is stored as "0".
TEST_F(CurrentRates, ReadsDateTimeAndRatesLeniently) {
    struct Case {
        std::string generated;
        std::string date;
        std::string time;
    };
    const Case cases[] = {
        {"生成時刻 2026/1/5 9:05", "2026/01/05", "09:05:00"},
        {"  生成時刻:   2026/12/31   23:59:59  (JST)", "2026/12/31", "23:59:59"},
    };
    site.SetCurrentRate("米ドル", "---");
    site.SetCurrentRate("日本円", "");
    site.SetCurrentRate("英国ポンド", "1,000,000,000,000,000");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.generated);
        site.SetGeneratedText(c.generated);
        EXPECT_TRUE(collect::AEXCG15M(env));
        const std::vector<std::string> values = Settings();
        EXPECT_EQ(values[0], c.date);
        EXPECT_EQ(values[1], c.time);
        EXPECT_EQ(values[3], "0");
        EXPECT_EQ(values[4], "0");
        EXPECT_EQ(values[8], "0");
        EXPECT_EQ(LatestLine(), "JPN\t" + c.date + "\t" + c.time + "\t21.05\t0\t0\t19.30\t4.75\t161.00\t0\r\n");
    }
}

// A failed fetch, or a generation text that cannot date the rates, leaves
// the stored rates as they were and says why in the error log.
TEST_F(CurrentRates, FailureLeavesTheStoredRates) {
    ASSERT_TRUE(collect::AEXCG15M(env));
    const std::vector<std::string> stored = Settings();
    const std::string storedFile = testsupport::ReadBytes(LatestFile());
    site.SetCurrentRate("米ドル", "151.00");

    struct Case {
        const char* name;
        std::function<void()> shape;
        std::string logged;
    };
    const Case cases[] = {
        {"fetch fails", [&] { site.SetCurrentFailing(true); }, "為替情報の収集失敗\tRc="},
        {"two items", [&] { site.SetCurrentFailing(false); site.SetGeneratedText("生成時刻 2026/12/11"); },
         "為替情報の収集失敗（生成時刻の特定不能）\t生成時刻 2026/12/11"},
        {"no generation time", [&] { site.SetGeneratedText("更新中"); }, "為替情報の収集失敗（生成時刻の特定不能）"},
        {"no date and time", [&] { site.SetGeneratedText("生成時刻 --- ---"); },
         "為替情報の収集失敗（生成時刻の特定不能）\t生成時刻 --- ---"},
        {"no time", [&] { site.SetGeneratedText("生成時刻 2026/12/11 25:00"); },
         "為替情報の収集失敗（生成時刻の特定不能）\t生成時刻 2026/12/11 25:00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(common::State().errorLogPath);
        c.shape();
        EXPECT_FALSE(collect::AEXCG15M(env));
        EXPECT_EQ(Settings(), stored);
        EXPECT_EQ(testsupport::ReadBytes(LatestFile()), storedFile);
        EXPECT_NE(ReadLog(common::State().errorLogPath).find(c.logged), std::string::npos);
    }
    EXPECT_TRUE(ui.presenter->boxes.empty());
}

}  // namespace
