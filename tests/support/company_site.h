#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace testsupport {

class PageServer;

// A company the company site knows.
struct SiteCompany {
    std::string country;  // "JPN", "CHN", "USA"
    std::string code;
    std::string name;
};

// A loopback site serving, for the companies the test adds, the pages of the
// profile and market-report collectors (all members are thread-safe):
// Japan's profile "/fundamental/?s=<code>" and quote "/q?s=<code>&d=t", the
// Chinese profile "/data/info.cgi?code=", quote "/data/code.cgi?...&code="
// and financials "/data/zaimu.cgi?...&code=", the US quote "/q?s=<code>",
// the research provider's report "/report/sector33/brand_report/<code>.html"
// (Japanese stocks). A code it does not know gets the site's own not-found
// page.
//
// Where one host serves other pages too (the exchange-rate history beside the
// Chinese company pages, the price history beside the US quotes), the
// requests whose path starts with a key of `forwards` are passed on to the
// site named by its value ("host:port") and answered as it answers.
class CompanySite {
public:
    explicit CompanySite(std::map<std::string, std::string> forwards = {});
    ~CompanySite();
    CompanySite(const CompanySite&) = delete;
    CompanySite& operator=(const CompanySite&) = delete;

    // Points the settings HpGet\SitePortal, SiteChinaStock, SiteUsPortal and
    // SiteReport at this site; needs the settings store of a program folder.
    void UseAsCompanySites() const;

    void AddCompany(const SiteCompany& company);
    const std::vector<SiteCompany>& Companies() const { return companies_; }

    // Requests served for the company's code (every page kind).
    int Requests(const std::string& code) const;
    // Pages served in all.
    int Requests() const;

    // The next request for the code is counted and then answered only after
    // Release, or after `seconds`: a child asking for it is sure to be busy
    // with it until then. Later requests are answered at once.
    void HoldNext(const std::string& code, int seconds = 5);
    void Release();

private:
    struct Model;
    std::vector<SiteCompany> companies_;
    std::unique_ptr<Model> model_;
    std::unique_ptr<PageServer> server_;  // after the model: it stops before the model goes
};

}  // namespace testsupport
