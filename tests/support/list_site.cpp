#include "tests/support/list_site.h"

#include <iconv.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <utility>

#include "common/settings/settings.h"
#include "platform/cp932.h"
#include "platform/number_format.h"
#include "tests/collect/page_server.h"

namespace testsupport {

namespace {

constexpr int kJapanPageSize = 20;

std::string Format(long value, const char* format) {
    return platform::FormatNumber(static_cast<double>(value), format);
}

// UTF-8 text in EUC-JP, as the Chinese-stock site writes its pages.
std::string ToEucJp(const std::string& utf8) {
    iconv_t cd = iconv_open("EUC-JP", "UTF-8");
    std::string in = utf8;
    std::string out(utf8.size() * 2 + 16, '\0');
    char* src = in.data();
    char* dst = out.data();
    std::size_t left = in.size();
    std::size_t room = out.size();
    iconv(cd, &src, &left, &dst, &room);
    iconv_close(cd);
    out.resize(out.size() - room);
    return out;
}

std::string Html(const std::string& charset, const std::string& title, const std::string& body) {
    return "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=" + charset +
           "\"><title>" + title + "</title></head><body>\n" + body + "</body></html>\n";
}

// The ticker of the n-th generated US company: "TA", "TB", ..., "TZ", "TBA", ...
std::string Ticker(long n) {
    std::string letters;
    do {
        letters.insert(letters.begin(), static_cast<char>('A' + n % 26));
        n /= 26;
    } while (n > 0);
    return "T" + letters;
}

}  // namespace

struct ListSite::Model {
    struct Industry {
        std::string name;
        std::vector<ListedCompany> companies;
        bool failing = false;
        int requests = 0;
    };
    using Key = std::pair<std::string, std::string>;  // country, industry code

    mutable std::mutex mutex;
    std::map<Key, Industry> industries;
    std::map<std::string, long> generated;  // per country

    ListedCompany Generate(const std::string& country) {
        const long n = generated[country]++;
        if (country == "JPN") {
            const std::string code = std::to_string(1301 + n);
            return {country, code, "銘柄" + code + "（株）"};
        }
        if (country == "USA") {
            const std::string ticker = Ticker(n);
            // Every third name holds a pair of parentheses of its own.
            return {country, ticker, "Company " + ticker + (n % 3 == 1 ? " (Holdings) Inc" : " Corp")};
        }
        const std::string code = std::to_string(600000 + n);
        return {country, code, "中国企業" + code};
    }

    // Serves the page, or 500 for a failing industry; nullptr when unknown.
    Industry* Take(const std::string& country, const std::string& code, httplib::Response& response) {
        const auto it = industries.find({country, code});
        if (it == industries.end()) {
            response.status = 404;
            return nullptr;
        }
        ++it->second.requests;
        if (it->second.failing) {
            response.status = 500;
            return nullptr;
        }
        return &it->second;
    }

    std::string JapanPage(const Industry& industry, long page) const {
        const auto count = static_cast<long>(industry.companies.size());
        const long pages = (count + kJapanPageSize - 1) / kJapanPageSize;
        std::string body = "<table><tr><td>業種別銘柄一覧：" + industry.name + "</td></tr></table>\n";
        if (page < 1 || page > pages) {
            body += "<p>入力されたページは見つかりません。</p>\n";
            return Html("Shift_JIS", industry.name, body);
        }
        body += "<table>\n<tr><th>コード</th><th>銘柄名</th><th>市場</th></tr>\n";
        const long first = (page - 1) * kJapanPageSize;
        const long last = std::min(count, first + kJapanPageSize);
        for (long i = first; i < last; ++i) {
            const ListedCompany& company = industry.companies[static_cast<std::size_t>(i)];
            body += "<tr><td><a href=\"/jp/company/" + company.code + ".html\">" + company.code + "</a></td><td><b>" +
                    company.name + "</b></td><td>東証プライム</td></tr>\n";
            if (i - first == 9 && i + 1 < last) body += "<tr><td colspan=\"3\">【東証スタンダード】</td></tr>\n";
        }
        body += "</table>\n";
        if (pages > 1) {
            body += "<table><tr><td>";
            if (page > 1) body += "<a href=\"p" + std::to_string(page - 1) + ".html\">前へ</a>　";
            if (page < pages) body += "<a href=\"p" + std::to_string(page + 1) + ".html\">次へ</a>";
            body += "</td></tr></table>\n";
        }
        body += std::string("<table><tr><td>") + kBrand + "</td></tr><tr><td>2026</td></tr></table>\n";
        return Html("Shift_JIS", industry.name, body);
    }

    static std::string UsPage(const Industry& industry) {
        std::string body = "<h1>" + industry.name +
                           "</h1>\n<table>\n<tr><th>#</th><th>Companies</th><th>Market Cap</th></tr>\n"
                           "<tr><td></td><td><a href=\"#listed\">Listed companies</a></td><td></td></tr>\n";
        long n = 0;
        for (const ListedCompany& company : industry.companies) {
            const std::string cell =
                company.name == company.code ? company.code : company.name + " (" + company.code + ")";
            ++n;
            body += "<tr><td>" + std::to_string(n) + "</td><td><a href=\"/us/company/" + company.code + ".html\">" +
                    cell + "</a></td><td>" + std::to_string(n * 3) + ".5B</td></tr>\n";
        }
        return Html("utf-8", industry.name, body + "</table>\n");
    }

    static std::string ChinaPage(const Industry& industry) {
        std::string body = "<p>" + industry.name + "</p>\n<table>\n"
                           "<tr><th>No.</th><th>市場コード</th><th>市場</th><th>銘柄名</th><th>業種</th></tr>\n";
        long n = 0;
        for (const ListedCompany& company : industry.companies) {
            ++n;
            body += "<tr><td>" + std::to_string(n) + "</td><td><a href=\"/cn/company/" + company.code + ".html\">" +
                    company.code + "</a></td><td>上海Ａ</td><td>SH" + company.code + "<br>" + company.name +
                    "</td><td>" + industry.name + "<br>人民元</td></tr>\n";
        }
        body += "</table>\n<p>データ提供：中国株情報テスト</p>\n";
        return ToEucJp(Html("EUC-JP", industry.name, body));
    }
};

ListSite::ListSite()
    : model_(std::make_unique<Model>()),
      server_(std::make_unique<PageServer>([this](httplib::Server& server) {
          server.Get(R"(/jp/(\w+)/p(\d+)\.html)", [this](const httplib::Request& request, httplib::Response& response) {
              std::lock_guard lock(model_->mutex);
              if (const Model::Industry* industry = model_->Take("JPN", request.matches[1], response)) {
                  const std::string page = model_->JapanPage(*industry, std::stol(request.matches[2]));
                  response.set_content(platform::ToCp932(page).bytes, "text/html; charset=Shift_JIS");
              }
          });
          server.Get(R"(/us/(\w+)\.html)", [this](const httplib::Request& request, httplib::Response& response) {
              std::lock_guard lock(model_->mutex);
              if (const Model::Industry* industry = model_->Take("USA", request.matches[1], response)) {
                  response.set_content(Model::UsPage(*industry), "text/html; charset=utf-8");
              }
          });
          server.Get(R"(/cn/(\w+)\.html)", [this](const httplib::Request& request, httplib::Response& response) {
              std::lock_guard lock(model_->mutex);
              if (const Model::Industry* industry = model_->Take("CHN", request.matches[1], response)) {
                  response.set_content(Model::ChinaPage(*industry), "text/html; charset=EUC-JP");
              }
          });
      })) {}

ListSite::~ListSite() = default;

std::string ListSite::HostPort() const { return server_->HostPort(); }

void ListSite::UseBrandSetting() const { common::WriteSetting("MirControl\\HpGet\\ListBrand", kBrand); }

void ListSite::AddIndustry(const std::string& country, const std::string& code, const std::string& name, int count) {
    std::lock_guard lock(model_->mutex);
    Model::Industry industry;
    industry.name = name;
    for (int i = 0; i < count; ++i) industry.companies.push_back(model_->Generate(country));
    model_->industries[{country, code}] = std::move(industry);
}

ListedCompany ListSite::AddCompany(const std::string& country, const std::string& industry, const std::string& code,
                                   const std::string& name) {
    std::lock_guard lock(model_->mutex);
    ListedCompany company = model_->Generate(country);
    if (!code.empty()) company.code = code;
    if (!name.empty()) company.name = name;
    model_->industries.at({country, industry}).companies.push_back(company);
    return company;
}

void ListSite::SetFailing(const std::string& country, const std::string& industry, bool failing) {
    std::lock_guard lock(model_->mutex);
    model_->industries.at({country, industry}).failing = failing;
}

std::vector<marketdata::IndustryRec> ListSite::IndustryRows(const std::string& country) const {
    std::lock_guard lock(model_->mutex);
    std::vector<marketdata::IndustryRec> rows;
    for (const auto& [key, industry] : model_->industries) {
        if (key.first != country) continue;
        marketdata::IndustryRec& row = rows.emplace_back();
        marketdata::InitIndustryRec(country, "0001", "0050", "", row);
        row.Key.IndCode0050 = key.second;
        row.Key.CorpCode = key.second;
        row.Key.Flag1 = "1";
        row.Key.Flag2 = "1";
        row.Fixed4 = "0000";
        row.Fixed6 = Format(static_cast<long>(industry.companies.size()), "000000");
        row.Text[17] = industry.name;
        row.Text[22] = industry.name;
        const std::string base = server_->Base();
        row.Text[23] = country == "JPN"   ? base + "/jp/" + key.second + "/p"
                       : country == "USA" ? base + "/us/" + key.second + ".html"
                                          : base + "/cn/" + key.second + ".html";
    }
    return rows;
}

std::vector<ListedCompany> ListSite::Listed(const std::string& country) const {
    std::lock_guard lock(model_->mutex);
    std::vector<ListedCompany> listed;
    for (const auto& [key, industry] : model_->industries) {
        if (!country.empty() && key.first != country) continue;
        listed.insert(listed.end(), industry.companies.begin(), industry.companies.end());
    }
    return listed;
}

long ListSite::CompanyCount(const std::string& country) const { return static_cast<long>(Listed(country).size()); }

int ListSite::Requests(const std::string& country, const std::string& industry) const {
    std::lock_guard lock(model_->mutex);
    return model_->industries.at({country, industry}).requests;
}

}  // namespace testsupport
