// A real program fetches a page from the loopback server in its own program
// folder, with the site's host taken from the settings store.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <sys/wait.h>

#include "common/settings/settings.h"
#include "tests/collect/page_pages.h"
#include "tests/collect/page_server.h"
#include "tests/support/child_process.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Runs the program in `folder` on the Portal site's `path`; gives its exit
// code (-1 when it did not end normally) and the cells it wrote, and sets
// `maxKilobytes` to the most memory it held.
std::pair<int, std::string> FetchPage(testsupport::ProgramFolder& folder, const std::string& path,
                                      long& maxKilobytes) {
    const fs::path exe = folder.program() / "page_fetcher";
    fs::copy_file(PAGE_FETCHER_EXE, exe);
    const fs::path cells = folder.root() / "cells.txt";
    testsupport::ChildProcess program(exe.string(), {"Portal", path, cells.string()},
                                      {{"XDG_CONFIG_HOME", (folder.root() / "config").string()}});
    const std::optional<int> status = program.WaitForExit(60s);
    EXPECT_TRUE(status.has_value()) << "the program did not end";
    maxKilobytes = program.maxResidentKilobytes();
    const int code = status && WIFEXITED(*status) ? WEXITSTATUS(*status) : -1;
    return {code, fs::exists(cells) ? testsupport::ReadBytes(cells) : ""};
}

std::pair<int, std::string> FetchList(testsupport::ProgramFolder& folder) {
    long ignored = 0;
    return FetchPage(folder, "/list", ignored);
}

TEST(PageFetcherProgram, FetchesThePageOfAConfiguredSite) {
    testsupport::ProgramFolder folder;
    testsupport::PageServer server([](httplib::Server& s) {
        s.Get("/list", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(testsupport::ToCp932Bytes(testsupport::PricePage("")), "text/html; charset=Shift_JIS");
        });
    });
    common::WriteSetting("MirControl\\HpGet\\SitePortal", server.HostPort());
    const auto [code, cells] = FetchList(folder);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(server.Hits("/list"), 1);
    EXPECT_EQ(cells, "3x2\n1,1=銘柄|\n1,2=トヨタ自動車|/q?s=7203\n2,1=記号|\n2,2=あ<b>|\n");
    // The page stayed in the program's own work folder.
    EXPECT_FALSE(fs::is_empty(folder.program() / "Temp"));
}

TEST(PageFetcherProgram, UnsetSiteReachesNoOne) {
    testsupport::ProgramFolder folder;
    EXPECT_EQ(FetchList(folder), (std::pair<int, std::string>{1, "0x0\n"}));
}

// A body without end is given up at the page cap, and never held in memory
// much beyond it.
TEST(PageFetcherProgram, EndlessBodyStaysWithinThePageCap) {
    testsupport::ProgramFolder folder;
    const std::string block(64 << 10, 'x');
    testsupport::PageServer server([&block](httplib::Server& s) {
        s.Get("/endless", [&block](const httplib::Request&, httplib::Response& res) {
            // Not a text type, so that it comes uncompressed, in pieces of
            // any size, as a site's raw bytes do.
            res.set_chunked_content_provider("application/octet-stream",
                                             [&block](std::size_t, httplib::DataSink& sink) {
                                                 return sink.write(block.data(), block.size());
                                             });
        });
    });
    common::WriteSetting("MirControl\\HpGet\\SitePortal", server.HostPort());
    long maxKilobytes = 0;
    EXPECT_EQ(FetchPage(folder, "/endless", maxKilobytes), (std::pair<int, std::string>{1, "0x0\n"}));
    EXPECT_LT(maxKilobytes, 96 << 10) << "the cap is 64 MB";
}

}  // namespace
