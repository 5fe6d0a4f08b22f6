#pragma once
#include <memory>
#include <string>
#include <vector>

#include "marketdata/industry_list.h"

namespace testsupport {

class PageServer;

// A company as the list pages show it.
struct ListedCompany {
    std::string country;  // "JPN", "USA", "CHN"
    std::string code;
    std::string name;
    bool operator==(const ListedCompany&) const = default;
};

// A loopback site serving company-list pages of industries that the test
// shapes and may change between runs (all members are thread-safe).
//
// Japan ("JPN"): "/jp/<industry>/p<page>.html", Shift_JIS, twenty companies a
// page under a "コード" header with a sub-header row after the tenth, "次へ"
// below every page but the last, "前へ" below every page but the first, then
// the brand footer and a copyright-year row. A page past the last one (or any
// page of an industry without companies) is the "入力されたページは見つかりま
// せん" page.
// United States ("USA"): "/us/<industry>.html", UTF-8, one page with every
// company in the "Companies" column (the second) as "name (ticker)", led by
// a section line whose second cell is blank. Names may hold parentheses.
// China ("CHN"): "/cn/<industry>.html", EUC-JP, every company on two grid
// rows under the "市場コード" header (the second column); the collector takes
// the first twenty of a page, so a Chinese industry of more than twenty
// companies has companies no collector can list.
class ListSite {
public:
    // The brand text in the footer of the Japanese list pages.
    static constexpr const char* kBrand = "株価ナビ・テストポータル";

    ListSite();
    ~ListSite();
    ListSite(const ListSite&) = delete;
    ListSite& operator=(const ListSite&) = delete;

    // "127.0.0.1:port".
    std::string HostPort() const;
    // Points HpGet\ListBrand at the site's brand; needs the settings store of
    // a program folder.
    void UseBrandSetting() const;

    // An industry of `count` generated companies (replacing one of the same
    // country and code); `code` is its four-digit industry code.
    void AddIndustry(const std::string& country, const std::string& code, const std::string& name, int count);
    // One more company at the end of the industry's list; generated code and
    // name when none is given. Returns the company.
    ListedCompany AddCompany(const std::string& country, const std::string& industry, const std::string& code = "",
                             const std::string& name = "");
    // Every page of the industry answers 500 while `failing` holds.
    void SetFailing(const std::string& country, const std::string& industry, bool failing);

    // The industry-source rows of the country, pointing at this site: market,
    // category "0050", flag "1", the industry's code as its code and its
    // level-"0050" code, the company count as the expected count, the name as
    // text 17 (and 22) and the page address (Japan: the address prefix) as
    // text 23. Write them with marketdata::BuildIndustryLines.
    std::vector<marketdata::IndustryRec> IndustryRows(const std::string& country) const;

    // The companies the pages list, in page order; one country, or every
    // country for "".
    std::vector<ListedCompany> Listed(const std::string& country = "") const;
    long CompanyCount(const std::string& country) const;

    // Requests of the industry's pages (failed ones included).
    int Requests(const std::string& country, const std::string& industry) const;

private:
    struct Model;
    std::unique_ptr<Model> model_;
    std::unique_ptr<PageServer> server_;  // after the model: it stops before the model goes
};

}  // namespace testsupport
