#include "tests/support/company_site.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>

#include "common/settings/settings.h"
#include "tests/collect/page_server.h"
#include "tests/support/profile_pages.h"
#include "tests/support/quote_pages.h"
#include "tests/support/research_pages.h"

namespace testsupport {

struct CompanySite::Model {
    mutable std::mutex mutex;
    std::map<std::string, SiteCompany> byCode;
    std::map<std::string, int> requests;
    int total = 0;
    std::condition_variable released;
    std::string held;      // the code whose next request waits
    bool holding = false;  // that request waits now
    std::chrono::seconds holdFor{0};

    // The company of the request's code parameter `key` in `country`, counted.
    const SiteCompany* Find(const httplib::Request& request, const char* key, const std::string& country) {
        return FindCode(request.get_param_value(key), country);
    }
    const SiteCompany* FindCode(const std::string& code, const std::string& country) {
        std::unique_lock lock(mutex);
        ++total;
        ++requests[code];
        if (!held.empty() && code == held) {
            held.clear();
            holding = true;
            released.wait_for(lock, holdFor, [this] { return !holding; });
            holding = false;
        }
        const auto found = byCode.find(code);
        return found != byCode.end() && found->second.country == country ? &found->second : nullptr;
    }
};

namespace {

void Serve(httplib::Response& response, const std::string& page) {
    response.set_content(page, "text/html; charset=UTF-8");
}

// Answers as the site at `hostPort` answers the same request.
void Forward(const std::string& hostPort, const httplib::Request& request, httplib::Response& response) {
    httplib::Client client("http://" + hostPort);
    // The request's own target: the query as sent, its keys in their order.
    const httplib::Result answer = client.Get(request.target);
    if (!answer) {
        response.status = 502;
        return;
    }
    response.status = answer->status;
    response.set_content(answer->body, answer->get_header_value("Content-Type"));
}

}  // namespace

CompanySite::CompanySite(std::map<std::string, std::string> forwards)
    : model_(std::make_unique<Model>()),
      server_(std::make_unique<PageServer>([this, forwards](httplib::Server& server) {
          // Registered first: the first matching route answers.
          for (const auto& [prefix, hostPort] : forwards) {
              server.Get(prefix + ".*", [hostPort](const httplib::Request& request, httplib::Response& response) {
                  Forward(hostPort, request, response);
              });
          }
          server.Get(R"(/report/sector33/brand_report/(\w+)\.html)",
                     [this](const httplib::Request& request, httplib::Response& response) {
                         const std::string code = request.matches[1];
                         const SiteCompany* c = model_->FindCode(code, "JPN");
                         Serve(response, c ? ResearchReportPage(c->code, c->name) : NoResearchReportPage());
                     });
          server.Get("/fundamental/", [this](const httplib::Request& request, httplib::Response& response) {
              const SiteCompany* c = model_->Find(request, "s", "JPN");
              Serve(response, c ? JapanProfilePage(c->code, c->name) : JapanProfileMissingPage());
          });
          server.Get("/q", [this](const httplib::Request& request, httplib::Response& response) {
              // Japan's quote pages carry "d=t"; the US portal's do not.
              if (request.has_param("d")) {
                  const SiteCompany* c = model_->Find(request, "s", "JPN");
                  Serve(response, c ? JapanQuotePage(c->code, c->name) : JapanQuoteMissingPage());
              } else {
                  const SiteCompany* c = model_->Find(request, "s", "USA");
                  Serve(response, c ? UsQuotePage(c->code, c->name) : UsQuoteMissingPage());
              }
          });
          server.Get("/data/info.cgi", [this](const httplib::Request& request, httplib::Response& response) {
              const SiteCompany* c = model_->Find(request, "code", "CHN");
              Serve(response, c ? ChinaProfilePage(c->code, c->name) : ChinaProfileMissingPage());
          });
          server.Get("/data/code.cgi", [this](const httplib::Request& request, httplib::Response& response) {
              const SiteCompany* c = model_->Find(request, "code", "CHN");
              Serve(response, c ? ChinaQuotePage(c->code, c->name) : ChinaQuoteMissingPage());
          });
          server.Get("/data/zaimu.cgi", [this](const httplib::Request& request, httplib::Response& response) {
              const SiteCompany* c = model_->Find(request, "code", "CHN");
              Serve(response, c ? ChinaFinancialsPage(c->code) : ChinaQuoteMissingPage());
          });
      })) {}

CompanySite::~CompanySite() { Release(); }  // no answer waits while the server stops

void CompanySite::UseAsCompanySites() const {
    for (const char* site : {"SitePortal", "SiteChinaStock", "SiteUsPortal", "SiteReport"}) {
        common::WriteSetting(std::string("MirControl\\HpGet\\") + site, server_->HostPort());
    }
}

void CompanySite::AddCompany(const SiteCompany& company) {
    companies_.push_back(company);
    std::lock_guard lock(model_->mutex);
    model_->byCode[company.code] = company;
}

void CompanySite::HoldNext(const std::string& code, int seconds) {
    std::lock_guard lock(model_->mutex);
    model_->held = code;
    model_->holdFor = std::chrono::seconds(seconds);
}

void CompanySite::Release() {
    {
        std::lock_guard lock(model_->mutex);
        model_->held.clear();
        model_->holding = false;
    }
    model_->released.notify_all();
}

int CompanySite::Requests(const std::string& code) const {
    std::lock_guard lock(model_->mutex);
    const auto found = model_->requests.find(code);
    return found != model_->requests.end() ? found->second : 0;
}

int CompanySite::Requests() const {
    std::lock_guard lock(model_->mutex);
    return model_->total;
}

}  // namespace testsupport
