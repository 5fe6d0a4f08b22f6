// The page fetch against a loopback server: charsets, retries and their log
// lines, redirects, failures and time-outs.
#include "collect/page_fetch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <map>
#include <thread>

#include "collect/html_tag_table.h"
#include "common/logs.h"
#include "common/process_context.h"
#include "common/run_env.h"
#include "common/run_state.h"
#include "common/waits.h"
#include "platform/clock.h"
#include "platform/cp932.h"
#include "platform/page_charset.h"
#include "platform/w3getv.h"
#include "tests/collect/page_pages.h"
#include "tests/collect/page_server.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using collect::FetchRec;
using collect::PageLink;
using collect::PageText;

// Every wait of the retry rule at a hundredth of its length.
constexpr float kWaitScale = 0.01f;

void Routes(httplib::Server& server, std::atomic<int>& flaky) {
    server.Get("/cp932", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(testsupport::ToCp932Bytes(testsupport::PricePage("")), "text/html; charset=Shift_JIS");
    });
    server.Get("/utf8", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(testsupport::PricePage("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">"),
                        "text/html");
    });
    server.Get("/eucjp", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(testsupport::ToEucJpBytes(testsupport::PricePage("")), "text/html");
    });
    server.Get("/emoji", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("<td>株😀&#128512;①</td>", "text/html; charset=utf-8");
    });
    server.Get("/redirect", [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/cp932"); });
    server.Get("/missing", [](const httplib::Request&, httplib::Response& res) { res.status = 404; });
    server.Get("/error", [](const httplib::Request&, httplib::Response& res) { res.status = 500; });
    server.Get("/slow", [](const httplib::Request&, httplib::Response& res) {
        std::this_thread::sleep_for(1500ms);
        res.set_content("late", "text/html");
    });
    server.Get("/flaky", [&flaky](const httplib::Request&, httplib::Response& res) {
        if (++flaky <= 2) {
            res.status = 500;
        } else {
            res.set_content("<td>ok</td>", "text/html");
        }
    });
}

class PageFetch : public ::testing::Test {
protected:
    void SetUp() override {
        common::EnvRec env;
        common::CCENV00M(env);
        common::SetTaskWorkPaths(41, 1, env);
        common::LoadLogSwitches(env);
        common::SetProcessContext(4, 1);
        collect::BuildHtmlTagTable();
        common::SetWaitScaleForTests(kWaitScale);
    }
    void TearDown() override {
        common::SetWaitScaleForTests(1.0f);
        platform::SetW3getvTimeoutsForTests(10s, 60s);
    }

    static std::string Log(const std::string& path) {
        return fs::exists(path) ? platform::FromCp932(testsupport::ReadBytes(path)).text : "";
    }
    static std::string RunLog() { return Log(common::State().runLogPath); }
    static std::string ErrorLog() { return Log(common::State().errorLogPath); }
    static std::string FetchLog() { return Log(common::State().fetchWorkPaths[6]); }

    std::int32_t Fetch12(const std::string& path, const std::string& callerText = "CWUCP00M(1)：") {
        fetch_.Url = server_.Base() + path;
        return collect::CWHTM12M("4", callerText, fetch_, PageText(), PageLink(), false);
    }

    testsupport::ProgramFolder folder_;
    std::atomic<int> flaky_{0};
    testsupport::PageServer server_{[this](httplib::Server& server) { Routes(server, flaky_); }};
    FetchRec fetch_;
};

class Charsets : public PageFetch, public ::testing::WithParamInterface<const char*> {};

TEST_P(Charsets, PageArrivesInItsCells) {
    ASSERT_EQ(Fetch12(std::string("/") + GetParam()), 200);
    EXPECT_EQ(fetch_.RowCount, 3);  // the closing body and html tags stand below the table
    EXPECT_EQ(fetch_.ColCount, 2);
    EXPECT_EQ(PageText().At(1, 2), "トヨタ自動車");
    EXPECT_EQ(PageLink().At(1, 2), "/q?s=7203");
    EXPECT_EQ(PageText().At(2, 2), "あ<b>");  // references never form a tag
    const std::string stored = testsupport::ReadBytes(common::State().fetchWorkPaths[5]);
    EXPECT_NE(stored.find(testsupport::ToCp932Bytes("トヨタ自動車")), std::string::npos);
    const std::map<std::string, std::string> charsets{{"cp932", "cp932"}, {"utf8", "utf-8"}, {"eucjp", "euc-jp"}};
    EXPECT_NE(FetchLog().find("Charset: " + charsets.at(GetParam()) + "\r\n"), std::string::npos) << FetchLog();
}

INSTANTIATE_TEST_SUITE_P(Pages, Charsets, ::testing::Values("cp932", "utf8", "eucjp"),
                         [](const ::testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

TEST_F(PageFetch, CharactersOutsideCp932BecomeQuestionMarksAndAreCounted) {
    ASSERT_EQ(Fetch12("/emoji"), 200);
    EXPECT_EQ(PageText().At(1, 1), "株??①");
    EXPECT_NE(FetchLog().find("Unmappable: 2"), std::string::npos) << FetchLog();
}

TEST_F(PageFetch, CommandLineNamesTheWorkFilesAndTheAddress) {
    ASSERT_EQ(Fetch12("/utf8"), 200);
    const common::RunState& state = common::State();
    EXPECT_EQ(collect::LastW3getvCommandLine(), " -l " + state.fetchWorkPaths[6] + " -d " + state.fetchedPageFolder +
                                                    " -o " + state.fetchedPageFileName + " -j sjis " + fetch_.Url);
    EXPECT_EQ(state.lastFetchUrl, fetch_.Url);
}

TEST_F(PageFetch, ThirdAttemptSucceedsAndIsLogged) {
    ASSERT_EQ(Fetch12("/flaky"), 200);
    EXPECT_EQ(server_.Hits("/flaky"), 3);
    EXPECT_EQ(PageText().At(1, 1), "ok");
    EXPECT_NE(RunLog().find("CWHTM12M,20:Info   ,00,4の取得でリトライ成功　3回目　　200    " + fetch_.Url),
              std::string::npos)
        << RunLog();
    EXPECT_EQ(ErrorLog(), "");
}

TEST_F(PageFetch, PageThatAlwaysFailsIsTriedTenTimesAndLogged) {
    ASSERT_EQ(Fetch12("/utf8"), 200);  // a page whose cells must not survive the failure
    const double start = platform::MonotonicSeconds();
    EXPECT_EQ(Fetch12("/missing"), -404);
    EXPECT_GE(platform::MonotonicSeconds() - start, 11.0 * kWaitScale * 0.95);  // 0.2 s + 0.4 s + ... + 2.0 s
    EXPECT_EQ(server_.Hits("/missing"), 10);
    EXPECT_EQ(fetch_.RowCount, 0);
    EXPECT_EQ(fetch_.ColCount, 0);
    EXPECT_EQ(PageText().RowCount(), 0);
    EXPECT_EQ(PageLink().At(1, 2), "");
    const std::string errors = ErrorLog();
    EXPECT_NE(errors.find("CWHTM12M,E0:ErrApl ,01,企業一覧（国内）の収集に失敗しました。　  -404"), std::string::npos)
        << errors;
    EXPECT_NE(errors.find("CWHTM12M,E0:ErrApl ,01,URL:" + fetch_.Url), std::string::npos);
    EXPECT_NE(errors.find("CWHTM12M,E0:ErrApl ,01,Prm:" + collect::LastW3getvCommandLine()), std::string::npos);
}

TEST_F(PageFetch, CancelEndsTheWaitsButNotTheAttempts) {
    common::SetWaitScaleForTests(1.0f);
    common::State().CancelRequested = true;
    const double start = platform::MonotonicSeconds();
    EXPECT_EQ(Fetch12("/error"), -500);
    EXPECT_LT(platform::MonotonicSeconds() - start, 3.0);
    EXPECT_EQ(server_.Hits("/error"), 10);
}

TEST_F(PageFetch, QuickVariantRetriesWithoutFailureLog) {
    fetch_.Url = server_.Base() + "/error";
    EXPECT_EQ(collect::CWHTM14M("4", "", fetch_, PageText(), PageLink()), -500);
    EXPECT_EQ(server_.Hits("/error"), 10);
    EXPECT_EQ(ErrorLog(), "");
    fetch_.Url = server_.Base() + "/flaky";
    EXPECT_EQ(collect::CWHTM14M("4", "", fetch_, PageText(), PageLink()), 200);
    EXPECT_NE(RunLog().find("CWHTM14M,20:Info   ,00,4の取得でリトライ成功　3回目　　200    "), std::string::npos);
}

TEST_F(PageFetch, RedirectIsNotFollowedAndEndsTheResearchCallerAtOnce) {
    struct Case {
        const char* callerText;
        int attempts;
    };
    int hits = 0;
    for (const Case& c : {Case{"AMLTX30M", 1}, Case{"amltx30m", 1}, Case{"AMLTX30M(1)：", 10}}) {
        EXPECT_EQ(Fetch12("/redirect", c.callerText), -302) << c.callerText;
        hits += c.attempts;
        EXPECT_EQ(server_.Hits("/redirect"), hits) << c.callerText;
        EXPECT_EQ(server_.Hits("/cp932"), 0);
    }
    EXPECT_EQ(ErrorLog().find("AMLTX30M,"), std::string::npos);
}

TEST_F(PageFetch, SlowAnswerTimesOut) {
    platform::SetW3getvTimeoutsForTests(1s, 300ms);
    fetch_.Url = server_.Base() + "/slow";
    const double start = platform::MonotonicSeconds();
    EXPECT_EQ(collect::FetchPageOnce(fetch_, PageText(), PageLink()), -28);  // the time-out of the transfer
    EXPECT_LT(platform::MonotonicSeconds() - start, 1.2);
    EXPECT_EQ(PageText().RowCount(), 0);
}

TEST_F(PageFetch, AddressesThatAreRefusedBeforeAnyRequest) {
    for (const std::string& url : {server_.Base() + "/utf8 x", server_.Base() + "/utf8\x01", std::string("https://127.0.0.1/utf8"),
                                   std::string("ftp://127.0.0.1/utf8"), std::string("http://")}) {
        fetch_.Url = url;
        EXPECT_EQ(collect::FetchPageOnce(fetch_, PageText(), PageLink()), 0) << url;
    }
    EXPECT_EQ(server_.Hits("/utf8"), 0);
    EXPECT_NE(FetchLog().find("Error: address refused"), std::string::npos);
}

TEST_F(PageFetch, ClearWebWorkRemovesTheWorkFilesAndTables) {
    ASSERT_EQ(Fetch12("/utf8"), 200);
    const common::RunState& state = common::State();
    ASSERT_TRUE(fs::exists(state.fetchWorkPaths[5]));
    ASSERT_TRUE(fs::exists(state.fetchWorkPaths[6]));
    collect::ClearWebWork();
    for (std::size_t n = 1; n <= 6; ++n) EXPECT_FALSE(fs::exists(state.fetchWorkPaths[n])) << n;
    EXPECT_TRUE(collect::TagTable().rows.empty());
    EXPECT_EQ(PageText().RowCount(), 0);
    EXPECT_EQ(PageLink().RowCount(), 0);
}

TEST(PageCharset, DeclarationsAndDetection) {
    const std::string page = "<p>株価①</p>";
    const std::string cp932 = testsupport::ToCp932Bytes(page);
    EXPECT_EQ(platform::PageToCp932(cp932, "text/html; charset=\"Shift_JIS\"").bytes, cp932);
    EXPECT_EQ(platform::PageToCp932(cp932, "text/html").charset, "cp932");
    EXPECT_EQ(platform::PageToCp932("\xEF\xBB\xBF" + page, "").bytes, cp932);
    EXPECT_EQ(platform::PageToCp932("<meta charset=\"euc-jp\">" + testsupport::ToEucJpBytes("株価"), "").charset,
              "euc-jp");
    EXPECT_EQ(platform::PageToCp932("&#x41;&#65;&#0;&#12x;&#xD800;&#99999999;", "").bytes,
              "&#65;&#65;&#0;&#12x;&#xD800;&#99999999;");
    EXPECT_EQ(platform::CharsetOfContentType("Text/HTML; Charset=UTF-8"), "utf-8");
}

}  // namespace
