// The page fetch against a loopback server: charsets, retries and their log
// lines, redirects, failures, pages cut short, time-outs and dripping sites,
// addresses, and a page that cannot be stored.
#include "collect/web/page_fetch.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>

#include "collect/web/html_tag_table.h"
#include "common/logs/logs.h"
#include "common/run_state.h"
#include "common/startup/process_context.h"
#include "common/startup/run_env.h"
#include "common/tasks/waits.h"
#include "platform/clock.h"
#include "platform/cp932.h"
#include "platform/page_charset.h"
#include "platform/w3getv.h"
#include "tests/collect/page_pages.h"
#include "tests/collect/page_server.h"
#include "tests/support/file_bytes.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/program_folder.h"
#include "tests/support/trapped.h"

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
    server.Get("/iso2022jp", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(testsupport::EncodeBytes("ISO-2022-JP", testsupport::PricePage("")), "text/html");
    });
    server.Get("/drip", [](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider("text/html", [](std::size_t, httplib::DataSink& sink) {
            std::this_thread::sleep_for(100ms);
            return sink.write("<td>x</td>", 9);
        });
    });
    server.Get("/echo", [](const httplib::Request& req, httplib::Response& res) {
        std::string code;
        for (const char c : req.get_param_value("s")) code += c == '<' ? "&lt;" : c == '>' ? "&gt;" : std::string(1, c);
        res.set_content("<td>" + req.target + "</td><td>" + code + "</td>", "text/html; charset=utf-8");
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

// A site on 127.0.0.1 that answers every request with `answer`, byte for
// byte, and closes the connection: answers a page server would not give.
class RawSite {
public:
    explicit RawSite(std::string answer) : answer_(std::move(answer)) {
        listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof(address);
        if (bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 || listen(listener_, 8) != 0 ||
            getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            throw std::runtime_error("no loopback socket");
        }
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }
    ~RawSite() {
        shutdown(listener_, SHUT_RDWR);  // ends the waiting accept
        thread_.join();
        close(listener_);
    }
    RawSite(const RawSite&) = delete;
    RawSite& operator=(const RawSite&) = delete;

    std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/page"; }

private:
    void Serve() {
        for (int connection; (connection = accept(listener_, nullptr, nullptr)) >= 0; close(connection)) {
            std::string request;
            char buffer[4096];
            for (ssize_t got; request.find("\r\n\r\n") == std::string::npos &&
                              (got = recv(connection, buffer, sizeof(buffer), 0)) > 0;) {
                request.append(buffer, static_cast<std::size_t>(got));
            }
            for (std::size_t sent = 0; sent < answer_.size();) {
                const ssize_t n = send(connection, answer_.data() + sent, answer_.size() - sent, MSG_NOSIGNAL);
                if (n <= 0) break;
                sent += static_cast<std::size_t>(n);
            }
        }
    }

    std::string answer_;
    int listener_ = -1;
    int port_ = 0;
    std::thread thread_;
};

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
        platform::SetW3getvLimitsForTests({});
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
    const std::map<std::string, std::string> charsets{
        {"cp932", "cp932"}, {"utf8", "utf-8"}, {"eucjp", "euc-jp"}, {"iso2022jp", "iso-2022-jp"}};
    EXPECT_NE(FetchLog().find("Charset: " + charsets.at(GetParam()) + "\r\n"), std::string::npos) << FetchLog();
}

INSTANTIATE_TEST_SUITE_P(Pages, Charsets, ::testing::Values("cp932", "utf8", "eucjp", "iso2022jp"),
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
    platform::SetW3getvLimitsForTests({1s, 300ms});
    fetch_.Url = server_.Base() + "/slow";
    const double start = platform::MonotonicSeconds();
    EXPECT_EQ(collect::FetchPageOnce(fetch_, PageText(), PageLink()), -28);  // the time-out of the transfer
    EXPECT_LT(platform::MonotonicSeconds() - start, 1.2);
    EXPECT_EQ(PageText().RowCount(), 0);
}

// A page that ends before its document ends is a failed fetch, whether the
// site closed the connection early or sent a length too short; a whole page
// closed without a length is taken.
TEST_F(PageFetch, PageCutShortIsAFailedFetch) {
    const std::string page = testsupport::PricePage("");
    const std::string cut = page.substr(0, page.size() / 2);
    const std::string head = "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n";
    const struct {
        const char* name;
        std::string answer;
        std::int32_t result;
    } cases[] = {
        {"closed early", head + "Connection: close\r\n\r\n" + cut, -18},
        {"length too short", head + "Content-Length: " + std::to_string(cut.size()) + "\r\n\r\n" + page, -18},
        {"whole", head + "Connection: close\r\n\r\n" + page, 200},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RawSite site(c.answer);
        fetch_.Url = site.Url();
        EXPECT_EQ(collect::FetchPageOnce(fetch_, PageText(), PageLink()), c.result);
        EXPECT_EQ(fetch_.RowCount, c.result > 0 ? 3 : 0);
        EXPECT_EQ(FetchLog().find("Error: page cut short") != std::string::npos, c.result < 0) << FetchLog();
    }
}

// A page that cannot be stored here is this machine's failure, not the
// site's: the fetch ends at once with the error for the run, without the
// attempts and the failure lines that blame the site.
TEST_F(PageFetch, PageThatCannotBeStoredIsTheRunsError) {
    std::optional<platform::TrappedError> error;
    {
        testsupport::FileSizeLimit limit(100);
        error = testsupport::CaughtError([&] { Fetch12("/utf8"); });
    }
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->number(), platform::error_number::kDiskFull);
    EXPECT_EQ(server_.Hits("/utf8"), 1);
    EXPECT_EQ(fetch_.RowCount, 0);
    EXPECT_EQ(ErrorLog(), "");
}

// A site far too slow to go on with fails the attempt long before the total
// time-out.
TEST_F(PageFetch, SiteThatDripsFailsTheAttempt) {
    platform::SetW3getvLimitsForTests({10s, 60s, 1000, 1s});
    fetch_.Url = server_.Base() + "/drip";
    const double start = platform::MonotonicSeconds();
    EXPECT_EQ(collect::FetchPageOnce(fetch_, PageText(), PageLink()), -28);
    EXPECT_LT(platform::MonotonicSeconds() - start, 5.0);
    EXPECT_EQ(PageText().RowCount(), 0);
}

TEST_F(PageFetch, AddressesThatAreRefusedBeforeAnyRequest) {
    for (const std::string& url : {server_.Base() + "/utf8\x01", server_.Base() + "/utf8\x7F", server_.Base() + "/utf8\t",
                                   std::string("https://127.0.0.1/utf8"), std::string("ftp://127.0.0.1/utf8"),
                                   std::string("http://")}) {
        fetch_.Url = url;
        EXPECT_EQ(collect::FetchPageOnce(fetch_, PageText(), PageLink()), 0) << url;
    }
    EXPECT_EQ(server_.Hits("/utf8"), 0);
    EXPECT_NE(FetchLog().find("Error: address refused"), std::string::npos);
}

// A company code with a blank (and other bytes an address cannot carry)
// reaches the site percent-encoded, as the code it is.
TEST_F(PageFetch, UnsafeBytesOfAnAddressAreSentEncoded) {
    ASSERT_EQ(Fetch12("/echo?s=BRK B\"<>^`{|}\\ 株&p=%41"), 200);
    EXPECT_EQ(server_.Hits("/echo"), 1);
    EXPECT_EQ(PageText().At(1, 1), "/echo?s=BRK%20B%22%3C%3E%5E%60%7B%7C%7D%5C%20%E6%A0%AA&p=%41");
    EXPECT_EQ(PageText().At(1, 2), "BRK B\"<>^`{|}\\ 株");
    EXPECT_EQ(ErrorLog(), "");
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

// The text handed on is what a reader of the stored bytes sees, whether the
// page is stored as it came or changed on the way.
TEST(PageCharset, TextIsTheStoredBytesReadBack) {
    const std::string shiftJis = "text/html; charset=Shift_JIS";
    const struct Case {
        const char* name;
        std::string body;
        std::string contentType;
    } cases[] = {
        {"CP932 as it came", testsupport::ToCp932Bytes("<p>株価①</p>"), shiftJis},
        {"a second code of the same kanji", "<p>\xED\x40</p>", shiftJis},
        {"a byte that starts no character", "<p>\x81\x20\xA0</p>", shiftJis},
        {"a reference to a wave dash", testsupport::ToCp932Bytes("<p>&#x301C;株</p>"), shiftJis},
        {"UTF-8 beyond CP932", "<p>\xF0\x9F\x98\x80 \xE2\x80\x94 \xC3\xA9</p>", "text/html; charset=utf-8"},
        {"broken UTF-8", "<p>\xE6\xA0</p>", "text/html; charset=utf-8"},
    };
    for (const Case& c : cases) {
        const platform::PageCp932 page = platform::PageToCp932(c.body, c.contentType);
        const platform::DecodeResult back = platform::FromCp932(page.bytes);
        EXPECT_EQ(page.text, back.text) << c.name;
        EXPECT_EQ(page.unreadable, back.invalid) << c.name;
    }
}

}  // namespace
