#include "tests/support/rates_site.h"

#include <array>
#include <map>
#include <mutex>
#include <set>
#include <utility>

#include "common/settings/settings.h"
#include "platform/cp932.h"
#include "tests/collect/page_server.h"

namespace testsupport {

namespace {

constexpr long kPageRows = 20;
constexpr const char* kUtf8Currency = "USD";
constexpr std::array<const char*, 7> kCodes{"CNY", "USD", "JPY", "HKD", "TWD", "XEU", "GBP"};
// Rates in hundredths, per column.
constexpr std::array<long, 7> kBaseRates{2105, 15025, 100, 1930, 475, 16100, 119240};

// "1192.40" -> "1,192.40".
std::string WithThousands(std::string text) {
    const std::size_t point = text.find('.');
    for (std::size_t at = point == std::string::npos ? text.size() : point; at > 3; at -= 3) {
        text.insert(at - 3, ",");
    }
    return text;
}

std::string Hundredths(long value) {
    const std::string cents = std::to_string(100 + value % 100).substr(1);
    return WithThousands(std::to_string(value / 100) + "." + cents);
}

// The rate cells of a history row: `variant` 0 for a date's row, 1 for the
// second row of a doubled date.
std::array<std::string, 7> HistoryRates(const std::string& code, platform::Date date, int variant) {
    const long day = static_cast<long>(platform::ToDaySerial(date)) + variant * 37;
    const long salt = static_cast<long>(code[0]) + code[1] + code[2];
    std::array<std::string, 7> rates;
    for (std::size_t i = 0; i < rates.size(); ++i) {
        rates[i] = Hundredths(kBaseRates[i] + (day * 7 + salt + static_cast<long>(i) * 11) % 50);
    }
    return rates;
}

std::string Html(const std::string& charset, const std::string& body) {
    return "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=" + charset +
           "\"><title>為替レート</title></head><body>\n" + body + "</body></html>\n";
}

struct HistoryRow {
    platform::Date date;
    int variant;
};

}  // namespace

struct RatesSite::Model {
    struct Currency {
        platform::Date first;
        platform::Date last;
        std::set<platform::Date> doubled;
        std::set<long> failing;
        std::set<long> tableless;
        std::vector<long> offsets;
        bool ignoresOffsets = false;
    };

    mutable std::mutex mutex;
    std::string generated = "生成時刻 2026/12/10 15:30:00";
    std::vector<std::pair<std::string, std::string>> current{
        {"米ドル", "150.25"},  {"ユーロ", "161.00"},   {"英国ポンド", "1,192.40"}, {"中国元", "21.05"},
        {"香港ドル", "19.30"}, {"台湾ドル", "4.75"}, {"日本円", "1.00"},
    };
    bool currentFailing = false;
    int currentRequests = 0;
    std::map<std::string, Currency> currencies;

    static std::vector<HistoryRow> Rows(const Currency& currency) {
        std::vector<HistoryRow> rows;
        for (platform::Date date = currency.last; date >= currency.first; date = platform::AddDays(date, -1)) {
            const int weekday = platform::Weekday(date);
            if (weekday == 1 || weekday == 7) continue;
            rows.push_back({date, 0});
            if (currency.doubled.contains(date)) rows.push_back({date, 1});
        }
        return rows;
    }

    std::string CurrentPage() const {
        std::string body = "<h1>主要通貨レート</h1>\n<table>\n<tr><th>通貨名</th><th>レート</th><th>前日比</th></tr>\n";
        for (const auto& [label, rate] : current) {
            body += "<tr><td>" + label + "</td><td>" + rate + "</td><td>+0.05</td></tr>\n";
        }
        body += "<tr><td colspan=\"3\">" + generated + "</td></tr>\n</table>\n";
        return Html("Shift_JIS", body);
    }

    static std::string HistoryPage(const std::string& code, const Currency& currency, long offset) {
        std::string body = "<table><tr><td>" + code + " の為替レート推移</td></tr></table>\n";
        if (currency.tableless.contains(offset)) return Html("Shift_JIS", body + "<p>ただいまメンテナンス中です。</p>\n");
        body += "<table>\n<tr><th>通貨種類</th>";
        for (const char* column : kCodes) body += std::string("<th>") + column + "</th>";
        body += "</tr>\n";
        const std::vector<HistoryRow> rows = Rows(currency);
        const auto count = static_cast<long>(rows.size());
        for (long i = offset; i < std::min(count, offset + kPageRows); ++i) {
            const HistoryRow& row = rows[static_cast<std::size_t>(i)];
            body += "<tr><td>" + platform::DateText(row.date) + "</td>";
            for (const std::string& rate : HistoryRates(code, row.date, row.variant)) body += "<td>" + rate + "</td>";
            body += "</tr>\n";
        }
        body += "</table>\n<p>";
        if (offset > 0) body += "<a href=\"?next=" + std::to_string(offset - kPageRows) + "\">前の 20 件を表示する</a>　";
        if (offset + kPageRows < count) {
            body += "<a href=\"?next=" + std::to_string(offset + kPageRows) + "\">次の 20 件を表示する</a>";
        }
        body += "</p>\n";
        const bool utf8 = code == kUtf8Currency;
        return Html(utf8 ? "UTF-8" : "Shift_JIS", body);
    }
};

const std::vector<std::string>& RatesSite::DefaultRates() {
    static const std::vector<std::string> rates{"21.05", "150.25", "1.00", "19.30", "4.75", "161.00", "1192.40"};
    return rates;
}

RatesSite::RatesSite()
    : model_(std::make_unique<Model>()),
      server_(std::make_unique<PageServer>([this](httplib::Server& server) {
          server.Get("/investor/market/rates.asp", [this](const httplib::Request&, httplib::Response& response) {
              std::lock_guard lock(model_->mutex);
              ++model_->currentRequests;
              if (model_->currentFailing) {
                  response.status = 500;
                  return;
              }
              response.set_content(platform::ToCp932(model_->CurrentPage()).bytes, "text/html; charset=Shift_JIS");
          });
          server.Get("/exchange/index.cgi", [this](const httplib::Request& request, httplib::Response& response) {
              std::lock_guard lock(model_->mutex);
              const std::string code = request.get_param_value("type");
              const auto it = model_->currencies.find(code);
              if (request.get_param_value("mode") != "table" || it == model_->currencies.end()) {
                  response.status = 404;
                  return;
              }
              const long offset = std::stol(request.get_param_value("next"));
              it->second.offsets.push_back(offset);
              if (it->second.failing.contains(offset)) {
                  response.status = 500;
                  return;
              }
              const std::string page = Model::HistoryPage(code, it->second, it->second.ignoresOffsets ? 0 : offset);
              if (code == kUtf8Currency) {
                  response.set_content(page, "text/html; charset=UTF-8");
              } else {
                  response.set_content(platform::ToCp932(page).bytes, "text/html; charset=Shift_JIS");
              }
          });
      })) {}

RatesSite::~RatesSite() = default;

std::string RatesSite::HostPort() const { return server_->HostPort(); }

void RatesSite::UseAsRateSites() const {
    common::WriteSetting("MirControl\\HpGet\\SiteRates", HostPort());
    common::WriteSetting("MirControl\\HpGet\\SiteChinaStock", HostPort());
}

void RatesSite::SetGeneratedText(const std::string& text) {
    std::lock_guard lock(model_->mutex);
    model_->generated = text;
}

void RatesSite::SetCurrentRate(const std::string& label, const std::string& rateText) {
    std::lock_guard lock(model_->mutex);
    for (auto& [name, rate] : model_->current) {
        if (name == label) rate = rateText;
    }
}

void RatesSite::SetCurrentFailing(bool failing) {
    std::lock_guard lock(model_->mutex);
    model_->currentFailing = failing;
}

void RatesSite::SetHistory(const std::string& code, platform::Date first, platform::Date last) {
    std::lock_guard lock(model_->mutex);
    Model::Currency& currency = model_->currencies[code];
    currency.first = first;
    currency.last = last;
}

void RatesSite::DoubleDate(const std::string& code, platform::Date date) {
    std::lock_guard lock(model_->mutex);
    model_->currencies.at(code).doubled.insert(date);
}

void RatesSite::SetFailingPage(const std::string& code, long offset) {
    std::lock_guard lock(model_->mutex);
    model_->currencies.at(code).failing.insert(offset);
}

void RatesSite::SetTablelessPage(const std::string& code, long offset) {
    std::lock_guard lock(model_->mutex);
    model_->currencies.at(code).tableless.insert(offset);
}

void RatesSite::IgnoreOffsets(const std::string& code) {
    std::lock_guard lock(model_->mutex);
    model_->currencies.at(code).ignoresOffsets = true;
}

std::vector<std::string> RatesSite::ExpectedLines(const std::string& code, platform::Date from,
                                                  platform::Date to) const {
    std::lock_guard lock(model_->mutex);
    std::vector<std::string> lines;
    for (const HistoryRow& row : Model::Rows(model_->currencies.at(code))) {
        if (row.variant != 0 || row.date < from || row.date > to) continue;
        std::string line = code + "\t" + platform::DateText(row.date);
        for (std::string rate : HistoryRates(code, row.date, 0)) {
            std::erase(rate, ',');
            line += "\t" + rate;
        }
        lines.insert(lines.begin(), line);
    }
    return lines;
}

std::vector<long> RatesSite::Offsets(const std::string& code) const {
    std::lock_guard lock(model_->mutex);
    return model_->currencies.at(code).offsets;
}

int RatesSite::CurrentRequests() const {
    std::lock_guard lock(model_->mutex);
    return model_->currentRequests;
}

}  // namespace testsupport
