// Reading the company-profile pages of Japan and China, and the two
// profile collectors in process against a loopback site.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "collect/company_pages/cn_profile_page.h"
#include "collect/company_pages/jp_profile_page.h"
#include "collect/company_pages/profile_collectors.h"
#include "collect/web/html_items.h"
#include "collect/web/html_tag_table.h"
#include "collect/web/page_layout.h"
#include "common/files/text_file_read.h"
#include "common/settings/settings.h"
#include "common/startup/process_context.h"
#include "common/tasks/task_files.h"
#include "common/tasks/waits.h"
#include "marketdata/company_profile.h"
#include "marketdata/industry_list.h"
#include "marketdata/split_run_frame.h"
#include "platform/utf8_text.h"
#include "tests/collect/laid_out_page.h"
#include "tests/collect/page_server.h"
#include "tests/collect/split_run_files.h"
#include "tests/support/profile_pages.h"

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;  // label, value

using Page = collect_test::LaidOutPage;
constexpr auto Lay = collect_test::LayOutPage;

std::string Rows(const Pairs& pairs) {
    std::string html;
    for (const auto& [label, value] : pairs) html += "<tr><td>" + label + "</td><td>" + value + "</td></tr>";
    return html;
}

marketdata::CdmRec Company(const std::string& market, const std::string& code) {
    marketdata::CdmRec company;
    marketdata::InitCdmRec(company, 1);
    company.Key.Market = market;
    company.Key.CorpCode = code;
    return company;
}

// ---- Japan

// A portal page: the search box with the name below it, the header, the rows.
std::string JapanPage(const std::string& name, const Pairs& pairs) {
    return "<table><tr><td>企業情報検索</td></tr><tr><td>" + name + "</td></tr><tr><td>会社概要</td></tr>" +
           Rows(pairs) + "</table>";
}

struct JapanRead {
    std::int32_t found = 0;
    std::int32_t row = 0;
    std::int32_t col = 0;
    marketdata::CpiRec profile;
};

JapanRead ReadJapan(const std::string& html) {
    const Page page = Lay(html);
    JapanRead read;
    read.found = collect::CheckJapanProfilePage(page.text, read.profile, read.row, read.col);
    if (read.found > 0) {
        collect::ParseJapanProfile(Company("JPN", "1301"), read.profile, page.text, read.row, read.col);
    }
    return read;
}

// The generated pages cover the three forms of listing date, the missing
// staff count and the company without unit shares (codes 1301-1303).
TEST(JapanProfilePage, ReadsThePortalPages) {
    for (const std::string code : {"1301", "1302", "1303"}) {
        SCOPED_TRACE(code);
        const std::string name = "テスト工業" + code + "（株）";
        const JapanRead read = ReadJapan(testsupport::JapanProfilePage(code, name));
        EXPECT_EQ(read.found, read.row);
        EXPECT_EQ(read.profile.Text, testsupport::ExpectedJapanProfileTexts(code, name));
        EXPECT_EQ(read.profile.Key.CorpCode, Company("JPN", "1301").Key.CorpCode);
    }
}

// The profile starts at the first header; a label left of its column is
// never read, not even in a later row, and a second header changes nothing.
TEST(JapanProfilePage, StartsAtTheFirstHeaderAndNeverReadsLeftOfIt) {
    const JapanRead read = ReadJapan(
        "<table><tr><td>企業情報検索</td></tr><tr><td>テスト(株)</td></tr>"
        "<tr><td>メニュー</td><td>会社概要</td></tr>"
        "<tr><td>特色</td><td>左の値</td><td>代表者名</td><td>山田</td></tr>"
        "<tr><td>決算</td><td>特色</td><td>右の値</td></tr>"
        "<tr><td></td><td>会社概要</td><td>決算</td><td>3月</td></tr></table>");
    EXPECT_EQ(read.found, 3);
    EXPECT_EQ(read.col, 2);
    EXPECT_EQ(read.profile.Text[11], "右の値");
    EXPECT_EQ(read.profile.Text[20], "山田");
    EXPECT_EQ(read.profile.Text[18], "3月");
}

TEST(JapanProfilePage, NameLosesTheCodeInBrackets) {
    const std::pair<const char*, const char*> cases[] = {
        {"テスト(株) 【1301】", "テスト(株)"},
        {"【新】テスト(株)  【1301】", "【新】テスト(株)"},
        {"テスト(株)", "テスト(株)"},
    };
    for (const auto& [cell, name] : cases) {
        EXPECT_EQ(ReadJapan(JapanPage(cell, {})).profile.Text[1], name) << cell;
    }
}

TEST(JapanProfilePage, ListingDateForms) {
    const std::pair<const char*, const char*> cases[] = {
        {"2001年3月", "2001/03"},       {"2001年3月1日", "2001/03/01"}, {"-", "1900/01/01"},
        {"2001年0月", "1900/01/01"},    {"不明", "1900/01/01"},
    };
    for (const auto& [text, date] : cases) {
        EXPECT_EQ(ReadJapan(JapanPage("x", {{"上場年月日", text}})).profile.Text[35], date) << text;
    }
    EXPECT_EQ(ReadJapan(JapanPage("x", {})).profile.Text[35], "1900/01/01");
}

// Exact labels take no longer label, the counts lose their units and
// brackets, and a label the page lacks leaves its field empty.
TEST(JapanProfilePage, NormalisesTheValues) {
    const marketdata::CpiRec profile = ReadJapan(JapanPage("x", {
                                                                    {"本社所在地（英文）", "Tokyo"},
                                                                    {"本社所在地", "東京都港区1-1 [周辺地図]"},
                                                                    {"決算期", "x"},
                                                                    {"決算", "3月"},
                                                                    {"電話番号", "０３－１２３４－５６７８"},
                                                                    {"英文社名", "ＴＥＳＴ　ＣＯ．"},
                                                                    {"設立年月日", "昭和12年"},
                                                                    {"従業員数（単独）", "‐人"},
                                                                    {"従業員数（連結）", "(12,345人)"},
                                                                    {"単元株数", "単元株制度なし"},
                                                                    {"平均年齢", "‐歳"},
                                                                })).profile;
    EXPECT_EQ(profile.Text[15], "東京都港区1-1");
    EXPECT_EQ(profile.Text[18], "3月");
    EXPECT_EQ(profile.Text[17], "03-1234-5678");
    EXPECT_EQ(profile.Text[2], "TEST CO.");
    EXPECT_EQ(profile.Text[19], "昭和12年");
    EXPECT_EQ(profile.Text[22], "-");
    EXPECT_EQ(profile.Text[23], "12345");
    EXPECT_EQ(profile.Text[28], "1");
    EXPECT_EQ(profile.Text[36], "-");
    EXPECT_EQ(profile.Text[37], "");
}

TEST(JapanProfilePage, PagesWithoutProfile) {
    EXPECT_EQ(ReadJapan(testsupport::JapanProfileMissingPage()).found, 0);
    for (const char* notice : {"指定された URL は存在しません。", "一致する銘柄はありません", "一致する企業はありません",
                               "ページが見つかりませんでした"}) {
        // The notice ends the search before any header after it.
        EXPECT_EQ(ReadJapan("<p>" + std::string(notice) + "</p><p>会社概要</p>").found, 0) << notice;
    }
    EXPECT_EQ(ReadJapan("<p>企業情報</p>").found, 0);
}

// ---- China

// A company page: the code row, then the rows.
std::string ChinaPage(const Pairs& pairs) {
    return "<table><tr><td>証券コード</td><td>00700</td></tr>" + Rows(pairs) + "</table>";
}

struct ChinaRead {
    std::int32_t found = 0;
    std::int32_t row = 0;
    std::int32_t col = 0;
    marketdata::CpiRec profile;
};

ChinaRead ReadChina(const std::string& html) {
    const Page page = Lay(html);
    ChinaRead read;
    read.found = collect::CheckChinaProfilePage(page.text, read.row, read.col);
    if (read.found > 0) {
        collect::ParseChinaProfile(Company("CHN", "00700"), read.profile, page.text, read.row, read.col);
    }
    return read;
}

// Both pages: with and without par value and related listing, both forms of
// the listing date.
TEST(ChinaProfilePage, ReadsTheSitePages) {
    for (const std::string code : {"00700", "600028"}) {
        SCOPED_TRACE(code);
        const std::string name = "測試控股" + code;
        const ChinaRead read = ReadChina(testsupport::ChinaProfilePage(code, name));
        EXPECT_EQ(read.found, read.row);
        EXPECT_EQ(read.profile.Text, testsupport::ExpectedChinaProfileTexts(code, name));
    }
}

TEST(ChinaProfilePage, SplitsTheTwoFieldValues) {
    struct Case {
        const char* label;
        const char* value;
        std::size_t field;
        const char* first;
        const char* second;
    };
    const Case cases[] = {
        {"通用略称", "ABC(XYZ)", 3, "ABC", "XYZ"},
        {"通用略称", "A(B) C (XYZ)", 3, "A(B) C", "XYZ"},
        {"通用略称", "ABC", 3, "ABC", ""},
        {"関連銘柄", "Ｈ株：００９９９", 7, "H株", "00999"},
        {"関連銘柄", "なし", 7, "なし", ""},
        {"額面", "1.00 元", 29, "元", "1.00"},
        {"額面", "USD 0.5", 29, "USD", "0.5"},
        {"額面", "1,000.00 元", 29, "元", "1000.00"},
        {"額面", "N/A", 29, "N/A", "0"},
        {"額面", "1.00元", 29, "N/A", "0"},
        {"資本金(百万元)", "1,234", 31, "百万元", "1,234"},
        {"資本金", "1,234", 31, "", "1,234"},
        {"発行価格(香港ドル)", "3.70", 33, "香港ドル", "3.70"},
    };
    for (const Case& c : cases) {
        const marketdata::CpiRec profile = ReadChina(ChinaPage({{c.label, c.value}})).profile;
        EXPECT_EQ(profile.Text[c.field], c.first) << c.label << " " << c.value;
        EXPECT_EQ(profile.Text[c.field + 1], c.second) << c.label << " " << c.value;
    }
    // A page without a par value.
    const marketdata::CpiRec profile = ReadChina(ChinaPage({})).profile;
    EXPECT_EQ(profile.Text[29], "N/A");
    EXPECT_EQ(profile.Text[30], "0");
    EXPECT_EQ(profile.Text[35], "1900/01/01");
}

// The sections keep their texts two rows under the heading; the start row
// is the one below the code, and the code row itself is not read.
TEST(ChinaProfilePage, ReadsFromTheRowBelowTheCode) {
    const ChinaRead read = ReadChina(
        "<table><tr><td>x</td><td>y</td></tr><tr><td>漢字社名</td><td>上の社名</td><td>証券コード</td><td>1</td></tr>"
        "<tr><td>漢字社名</td><td>左の社名</td><td>漢字社名</td><td>社名</td></tr>"
        "<tr><td></td><td></td><td>■ 業務内容</td></tr><tr><td></td><td></td><td>線</td></tr>"
        "<tr><td></td><td></td><td>事業の説明</td></tr></table>");
    EXPECT_EQ(read.found, 3);
    EXPECT_EQ(read.col, 3);
    EXPECT_EQ(read.profile.Text[1], "社名");
    EXPECT_EQ(read.profile.Text[12], "事業の説明");
}

TEST(ChinaProfilePage, PagesWithoutProfile) {
    EXPECT_EQ(ReadChina(testsupport::ChinaProfileMissingPage()).found, 0);
    for (const char* notice :
         {"データがありません。指定された銘柄コードをご確認下さい", "証券コードに間違いがあります", "情報はありませんでした"}) {
        EXPECT_EQ(ReadChina("<p>" + std::string(notice) + "</p>" + ChinaPage({})).found, 0) << notice;
    }
    // Half of the first notice is no notice.
    EXPECT_GT(ReadChina("<p>データがありません</p>" + ChinaPage({})).found, 0);
    EXPECT_EQ(ReadChina("<p>中国株</p>").found, 0);
}

// ---- the collectors

using Pages = std::map<std::string, std::string>;  // code, page; other codes answer 404

// The child of part 1 of a profile run, its site on a loopback server.
class ProfileCollector : public collect_test::SplitRunFiles {
protected:
    ProfileCollector(long countryIndex, const char* site, const char* path, const char* parameter)
        : SplitRunFiles(5, countryIndex, 50 + countryIndex, 1),
          server_([this, path, parameter](httplib::Server& s) {
              s.Get(path, [this, parameter](const httplib::Request& request, httplib::Response& response) {
                  const auto page = pages_.find(request.get_param_value(parameter));
                  if (page == pages_.end()) {
                      response.status = 404;
                      return;
                  }
                  response.set_content(page->second, "text/html; charset=UTF-8");
              });
          }) {
        common::SetWaitScaleForTests(0.01f);
        common::WriteSetting(std::string("MirControl\\HpGet\\Site") + site, server_.HostPort());
        common::SetProcessContext(5, countryIndex);
        WriteTasks({"0"});
    }
    ~ProfileCollector() override { common::SetWaitScaleForTests(1.0f); }

    static marketdata::CdmRec Listed(const std::string& market, const std::string& code) {
        marketdata::CdmRec company = Company(code);
        company.Key.Market = market;
        return company;
    }

    std::vector<std::string> Lines(const std::string& path) {
        std::vector<std::string> lines;
        common::CFFIL21M(path, lines);
        return lines;
    }
    std::vector<marketdata::CpiRec> Profiles(long fileNumber) {
        const std::vector<std::string> lines = Lines(DataPath(fileNumber, process, 1, ".tmp"));
        std::vector<marketdata::CpiRec> profiles(lines.size());
        for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_TRUE(marketdata::LineToCpiRec(lines[i], profiles[i]));
        return profiles;
    }
    marketdata::CdmTbl Listed() {
        const std::vector<std::string> lines = Lines(marketdata::PartWorkFilePath(env, process, 1));
        marketdata::CdmTbl companies(lines.size());
        std::string problem;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_TRUE(marketdata::LineToCdmRec(lines[i], companies[i], problem)) << problem;
        }
        return companies;
    }
    std::string EndReport() {
        common::TSDRec report;
        return common::CFTSD10M(114, "", process, 1, "S", env, report) ? report.TaskStatus : "";
    }

    Pages pages_;
    testsupport::PageServer server_;
};

class JapanProfileCollector : public ProfileCollector {
protected:
    JapanProfileCollector() : ProfileCollector(1, "Portal", "/fundamental/", "s") {}
};

TEST_F(JapanProfileCollector, WritesEachProfileAndListsEveryCompany) {
    pages_ = {{"1301", testsupport::JapanProfilePage("1301", "銘柄1301")},
              {"1303", testsupport::JapanProfilePage("1303", "銘柄1303")}};
    WriteList(process, 1, "", {Listed("JPN", "1301"), Listed("JPN", "1302"), Listed("JPN", "1303")});
    common::MSGRec msg;

    EXPECT_TRUE(collect::ACPJP30M(5, "", env, msg, task));

    const std::vector<marketdata::CpiRec> profiles = Profiles(marketdata::kJapanProfileFileNumber);
    ASSERT_EQ(profiles.size(), 2u);
    const marketdata::CdmTbl listed = Listed();
    ASSERT_EQ(listed.size(), 3u);
    const char* const codes[] = {"1301", "1302", "1303"};
    for (std::size_t i = 0; i < listed.size(); ++i) {
        SCOPED_TRACE(codes[i]);
        marketdata::CdmRec company = listed[i];
        EXPECT_EQ(platform::TrimBlanks(company.Key.CorpCode), codes[i]);
        EXPECT_EQ(company.Key.Flag1, "0");
        const std::string flag = i == 1 ? "9" : "1";
        EXPECT_EQ(company.Key.Flag2, flag);
        EXPECT_EQ(company.Attr2, flag);
        if (i == 1) {
            EXPECT_EQ(marketdata::MarketName(company), "");
            EXPECT_EQ(company.ProcMark[5].MarkFlag, "");
            continue;
        }
        const marketdata::CpiRec& profile = profiles[i / 2];
        EXPECT_EQ(profile.Key.CorpCode, company.Key.CorpCode);
        const testsupport::ProfileTexts expected =
            testsupport::ExpectedJapanProfileTexts(codes[i], std::string("銘柄") + codes[i]);
        EXPECT_EQ(profile.Text, expected);
        EXPECT_EQ(marketdata::MarketName(company), expected[25]);
        EXPECT_EQ(company.ProcMark[5].MarkFlag, "1");
        EXPECT_EQ(company.InfoText[1], expected[19]);
        EXPECT_EQ(company.InfoText[2], expected[35]);
        EXPECT_EQ(company.InfoText[5], expected[20]);
        EXPECT_EQ(company.InfoText[6], expected[28]);
        EXPECT_EQ(company.InfoText[59], expected[15]);
        EXPECT_EQ(company.InfoText[60], expected[14]);
    }
    EXPECT_NE(ReadLog(common::State().runLogPath).find("90:Worning,00,企業情報（国内）無し(2) 1302:銘柄1302"),
              std::string::npos);
    EXPECT_EQ(server_.Hits("/fundamental/"), 2 + 10);  // the missing page is tried ten times
    EXPECT_EQ(EndReport(), "Z");
}

class ChinaProfileCollector : public ProfileCollector {
protected:
    ChinaProfileCollector() : ProfileCollector(2, "ChinaStock", "/data/info.cgi", "code") {}

    // An industry list with a market-detail entry for each market the site
    // lists first: "0310", "0320", ... under the market "0300".
    void WriteMarkets(const std::vector<std::string>& names) {
        std::vector<marketdata::IndustryRec> entries;
        for (std::size_t i = 0; i < names.size(); ++i) {
            const std::string code = std::to_string(310 + 10 * i);
            marketdata::IndustryRec& entry = entries.emplace_back();
            marketdata::InitIndustryRec("CHN", "", "0030", "0300", entry);
            entry.Key.IndCode0030 = "0" + code;
            entry.Key.CorpCode = "0" + code;
            entry.Text[14] = "香港市場";
            entry.Text[22] = names[i];
        }
        marketdata::BuildIndustryLines(marketdata::kIndustryListFileNumber, 0, 0, "", ".txt", env, entries);
    }
};

// A company without a market name takes the first listing of its profile
// and the market codes of it; a stored market name stays.
TEST_F(ChinaProfileCollector, DerivesTheMarketOfCompaniesWithoutOne) {
    const std::string first = "00939";   // listed "香港メインボード, H株"
    const std::string second = "00700";  // listed "香港GEM"
    pages_ = {{first, testsupport::ChinaProfilePage(first, "銘柄" + first)},
              {second, testsupport::ChinaProfilePage(second, "銘柄" + second)},
              {"00005", testsupport::ChinaProfileMissingPage()}};
    WriteMarkets({"香港メインボード", "香港GEM", "上海A株"});
    marketdata::CdmRec stored = Listed("CHN", second);
    marketdata::MarketName(stored) = "上海A株";
    WriteList(process, 1, "", {Listed("CHN", first), stored, Listed("CHN", "00005")});
    common::MSGRec msg;

    EXPECT_TRUE(collect::ACPCN30M(5, "", env, msg, task));

    // Both files in code order: 00005, 00700 (second), 00939 (first).
    const std::vector<marketdata::CpiRec> profiles = Profiles(marketdata::kChinaProfileFileNumber);
    ASSERT_EQ(profiles.size(), 2u);
    EXPECT_EQ(profiles[0].Text, testsupport::ExpectedChinaProfileTexts(second, "銘柄" + second));
    EXPECT_EQ(profiles[0].Key.IndCode0030, "    ");
    EXPECT_EQ(profiles[1].Text, testsupport::ExpectedChinaProfileTexts(first, "銘柄" + first));
    EXPECT_EQ(profiles[1].Key.IndCode0020, "0300");
    EXPECT_EQ(profiles[1].Key.IndCode0030, "0310");

    marketdata::CdmTbl listed = Listed();
    ASSERT_EQ(listed.size(), 3u);
    for (std::size_t i = 0; i < listed.size(); ++i) {
        const std::string flag = i == 0 ? "9" : "1";
        EXPECT_EQ(listed[i].Key.Flag1, "0") << i;
        EXPECT_EQ(listed[i].Key.Flag2, flag) << i;
        EXPECT_EQ(listed[i].Attr2, flag) << i;
    }
    EXPECT_EQ(marketdata::MarketName(listed[0]), "");
    EXPECT_EQ(listed[0].ProcMark[5].MarkFlag, "");
    EXPECT_EQ(marketdata::MarketName(listed[1]), "上海A株");
    EXPECT_EQ(listed[1].Key.IndCode0030, "    ");
    EXPECT_EQ(listed[1].InfoText[2], "2004/06/16");
    EXPECT_EQ(listed[1].ProcMark[5].MarkFlag, "1");
    EXPECT_EQ(marketdata::MarketName(listed[2]), "香港メインボード");
    EXPECT_EQ(listed[2].Key.IndCode0020, "0300");
    EXPECT_EQ(listed[2].Key.IndCode0030, "0310");
    EXPECT_EQ(listed[2].InfoText[180 - 133], "香港市場");
    EXPECT_NE(ReadLog(common::State().runLogPath).find("90:Worning,00,企業情報（中国）無し(1) 00005:銘柄00005"),
              std::string::npos);
    EXPECT_EQ(EndReport(), "Z");
}

}  // namespace
