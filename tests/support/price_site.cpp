#include "tests/support/price_site.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <utility>

#include "common/settings/settings.h"
#include "platform/cp932.h"
#include "platform/number_format.h"
#include "tests/collect/page_pages.h"
#include "tests/collect/page_server.h"

namespace testsupport {

namespace {

using platform::Date;

constexpr std::array<const char*, 12> kMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// One of the two page kinds. Both name the From date c/a/b and the To date
// f/d/e (year, month, day); they differ in key order, month base and size.
struct PageKind {
    std::vector<std::string> keys;
    int firstMonth;  // what January is written as
    int lines;
    bool japanese;
};

const PageKind kJapanPage{{"c", "a", "b", "f", "d", "e", "g", "s", "y", "z"}, 1, 50, true};
const PageKind kPortalPage{{"s", "a", "b", "c", "d", "e", "f", "g", "z", "y"}, 0, 66, false};

// ---- the price model ----

struct Prices {
    std::int64_t open, high, low, close, volume;  // yen, or cents on the US portal
};

std::uint64_t CodeHash(const std::string& code) {
    std::uint64_t hash = 1469598103934665603ull;
    for (unsigned char c : code) hash = (hash ^ c) * 1099511628211ull;
    return hash;
}

Prices PricesOn(const std::string& code, const Date& date) {
    const std::uint64_t hash = CodeHash(code);
    const auto day = static_cast<std::uint64_t>(platform::DaysBetween({1900, 1, 1}, date));
    const auto wiggle = [&](std::uint64_t salt, std::uint64_t range) {
        std::uint64_t x = (hash ^ (day * 0x9E3779B97F4A7C15ull + salt)) * 0xBF58476D1CE4E5B9ull;
        x ^= x >> 31;
        return static_cast<std::int64_t>(x % range);
    };
    const auto base = static_cast<std::int64_t>(500 + hash % 2000);
    const std::int64_t open = base + wiggle(1, 120);
    const std::int64_t close = base + wiggle(2, 120);
    return {open, std::max(open, close) + wiggle(3, 30), std::min(open, close) - wiggle(4, 30), close,
            (1 + wiggle(5, 9000)) * 500};
}

// The dates of the candle's price rows from `first` to `last`, oldest first.
std::vector<Date> CandleDates(char candle, const Date& first, const Date& last) {
    std::vector<Date> dates;
    if (candle == 'd') {
        for (Date d = first; d <= last; d = platform::AddDays(d, 1)) {
            const int weekday = platform::Weekday(d);
            if (weekday != 1 && weekday != 7) dates.push_back(d);
        }
    } else if (candle == 'w') {
        const int sinceMonday = (platform::Weekday(first) + 5) % 7;
        for (Date d = platform::AddDays(first, -sinceMonday); d <= last; d = platform::AddDays(d, 7)) {
            dates.push_back(d);
        }
    } else {
        for (Date d{first.year, first.month, 1}; d <= last;
             d = d.month == 12 ? Date{d.year + 1, 1, 1} : Date{d.year, d.month + 1, 1}) {
            dates.push_back(d);
        }
    }
    return dates;
}

// The candle's price rows of a stock from `first` to `last` that lie between
// `from` and `to`.
std::vector<Date> PriceDates(char candle, const Date& first, const Date& last, const Date& from, const Date& to) {
    std::vector<Date> dates = CandleDates(candle, std::max(first, from), std::min(last, to));
    std::erase_if(dates, [&](const Date& date) { return date < from; });
    return dates;
}

std::string PriceText(bool japanese, std::int64_t value, bool onPage) {
    if (!japanese) return platform::FormatNumber(static_cast<double>(value) / 100.0, "0.00");
    return onPage ? platform::FormatNumber(static_cast<double>(value), "#,##0") : std::to_string(value);
}

std::string VolumeText(std::int64_t value, bool onPage) {
    return onPage ? platform::FormatNumber(static_cast<double>(value), "#,##0") : std::to_string(value);
}

// Open, high, low, close, volume and adjusted close (the close: the model
// adjusts nothing).
std::array<std::string, 6> PriceCells(bool japanese, const std::string& code, const Date& date, bool onPage) {
    const Prices p = PricesOn(code, date);
    const std::string close = PriceText(japanese, p.close, onPage);
    return {PriceText(japanese, p.open, onPage), PriceText(japanese, p.high, onPage),
            PriceText(japanese, p.low, onPage),  close,
            VolumeText(p.volume, onPage),        close};
}

// Japanese pages write daily rows "2005/3/9", weekly ones "2005年3月9日" and
// monthly ones "2005年3月"; the portal writes every row "9-Mar-05".
std::string DateOnPage(bool japanese, char candle, const Date& date) {
    const std::string y = std::to_string(date.year);
    const std::string m = std::to_string(date.month);
    const std::string d = std::to_string(date.day);
    if (!japanese) {
        return d + "-" + kMonthNames[static_cast<std::size_t>(date.month - 1)] + "-" +
               platform::FormatNumber(date.year % 100, "00");
    }
    if (candle == 'd') return y + "/" + m + "/" + d;
    if (candle == 'w') return y + "年" + m + "月" + d + "日";
    return y + "年" + m + "月";
}

// ---- the query rules ----

struct Query {
    std::string code;  // s
    char candle = 'd';
    Date from;
    Date to;
    long position = 0;
};

bool AllDigits(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

// A decimal number without leading zeros.
std::optional<long> PlainNumber(const std::string& text) {
    if (!AllDigits(text) || text.size() > 9 || (text.size() > 1 && text[0] == '0')) return std::nullopt;
    return std::stol(text);
}

std::optional<Date> QueryDate(const std::string& year, const std::string& month, const std::string& day,
                              int firstMonth) {
    const std::optional<long> d = PlainNumber(day);
    if (year.size() != 4 || !AllDigits(year) || month.size() != 2 || !AllDigits(month) || !d) return std::nullopt;
    const Date date{std::stoi(year), std::stoi(month) - firstMonth + 1, static_cast<int>(*d)};
    if (!platform::IsValidDate(date.year, date.month, date.day)) return std::nullopt;
    return date;
}

// What breaks the page's rules in `query`, or "" when nothing does.
std::string CheckQuery(const PageKind& kind, const std::string& query, Query& out) {
    std::map<std::string, std::string> values;
    std::vector<std::string> keys;
    std::size_t start = 0;
    while (start <= query.size()) {
        const std::size_t end = std::min(query.find('&', start), query.size());
        const std::string pair = query.substr(start, end - start);
        const std::size_t eq = pair.find('=');
        if (eq == std::string::npos) return "parameter without a value: " + pair;
        keys.push_back(pair.substr(0, eq));
        values[keys.back()] = pair.substr(eq + 1);
        start = end + 1;
    }
    if (keys != kind.keys) return "keys out of order or missing";
    const std::optional<Date> from = QueryDate(values["c"], values["a"], values["b"], kind.firstMonth);
    if (!from) return "bad From date";
    const std::optional<Date> to = QueryDate(values["f"], values["d"], values["e"], kind.firstMonth);
    if (!to) return "bad To date";
    const std::string& candle = values["g"];
    if (candle != "d" && candle != "w" && candle != "m") return "bad candle";
    if (values["s"].empty()) return "no code";
    if (kind.japanese ? values["z"] != values["s"] : values["z"] != std::to_string(kind.lines)) return "bad z";
    const std::optional<long> position = PlainNumber(values["y"]);
    if (!position || *position % kind.lines != 0) return "bad position";
    out = {values["s"], candle[0], *from, *to, *position};
    return "";
}

// ---- the pages ----

// In Shift_JIS as the site declares it, or in ISO-2022-JP without a word of it.
std::string JapanesePage(const std::string& code, const std::string& body, bool iso2022jp) {
    const std::string meta =
        iso2022jp ? "" : "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">";
    const std::string page = "<html><head>" + meta + "<title>" + code + " 時系列</title></head><body><p>" + code +
                             " 株価時系列</p>" + body + "</body></html>";
    return iso2022jp ? EncodeBytes("ISO-2022-JP", page) : platform::ToCp932(page).bytes;
}

std::string PortalPage(const std::string& code, const std::string& body) {
    return "<html><head><title>" + code + " Historical Prices</title></head><body><p>Historical Prices</p>" + body +
           "</body></html>";
}

std::string HeaderRow(bool japanese, char candle) {
    const std::vector<std::string> labels =
        japanese ? std::vector<std::string>{"日付", "始値", "高値", "安値", "終値", "出来高", "調整後終値*"}
                 : std::vector<std::string>{"Date",  "Open", "High",
                                            "Low",   "Close", candle == 'w' ? "Avg Vol" : "Volume",
                                            "Adj Close*"};
    std::string row = "<tr>";
    for (const std::string& label : labels) row += "<th>" + label + "</th>";
    return row + "</tr>\n";
}

}  // namespace

// ---- the site ----

struct PriceSite::Model {
    struct Stock {
        std::string code;  // without a market suffix: the prices follow from it
        Date first;
        Date last;
        std::string suffix;
        std::multimap<Date, std::string> events;
        bool failing = false;
        int pagesBeforeFailing = -1;  // none counted down
        int tableless = 0;
        int requests = 0;
        bool ignoresPositions = false;
        PageFault fault = PageFault::CutShort;
        int faultFrom = 0;
        int faultCount = 0;
    };
    using Key = std::pair<std::string, std::string>;  // country, code

    // One row of a page: a price row, or an event and its text.
    struct Row {
        Date date;
        const std::string* event = nullptr;
    };

    mutable std::mutex mutex;
    std::map<Key, Stock> stocks;
    std::vector<std::string> violations;

    Stock& At(const std::string& country, const std::string& code) { return stocks.at({country, code}); }
    const Stock& At(const std::string& country, const std::string& code) const {
        return stocks.at({country, code});
    }

    // Rows between the dates, newest first; an event stands above the price
    // row of its day.
    static std::vector<Row> PageList(const Stock& stock, char candle, const Date& from, const Date& to) {
        std::vector<Row> rows;
        for (const Date& date : PriceDates(candle, stock.first, stock.last, from, to)) rows.push_back({date});
        for (auto it = stock.events.lower_bound(from); it != stock.events.end() && it->first <= to; ++it) {
            rows.push_back({it->first, &it->second});
        }
        std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
            return a.date != b.date ? a.date > b.date : a.event != nullptr && b.event == nullptr;
        });
        return rows;
    }

    // The stock a query names: on the portal a US code, or a Chinese code
    // with a market suffix, which must be the stock's own.
    Stock* Named(const PageKind& kind, const std::string& symbol, bool& wrongSuffix) {
        wrongSuffix = false;
        if (kind.japanese) return Find("JPN", symbol);
        if (Stock* stock = Find("USA", symbol)) return stock;
        const std::size_t dot = symbol.rfind('.');
        Stock* stock = Find("CHN", symbol.substr(0, dot));
        wrongSuffix = stock != nullptr && stock->suffix != (dot == std::string::npos ? "" : symbol.substr(dot));
        return stock;
    }

    Stock* Find(const std::string& country, const std::string& code) {
        auto it = stocks.find({country, code});
        return it == stocks.end() ? nullptr : &it->second;
    }

    void Serve(const PageKind& kind, const httplib::Request& request, httplib::Response& response) {
        std::lock_guard lock(mutex);
        const std::size_t mark = request.target.find('?');
        Query query;
        const std::string wrong =
            CheckQuery(kind, mark == std::string::npos ? "" : request.target.substr(mark + 1), query);
        if (!wrong.empty()) {
            violations.push_back(request.target + ": " + wrong);
            response.status = 400;
            response.set_content(wrong, "text/plain");
            return;
        }
        bool wrongSuffix = false;
        Stock* stock = Named(kind, query.code, wrongSuffix);
        if (stock != nullptr) {
            ++stock->requests;
            if (stock->pagesBeforeFailing == 0) stock->failing = true;
            if (stock->pagesBeforeFailing >= 0) --stock->pagesBeforeFailing;
        }
        if (stock != nullptr && stock->failing) {
            response.status = 500;
            return;
        }
        std::string body;
        if (!kind.japanese && (stock == nullptr || wrongSuffix)) {
            body = "<p>Invalid Ticker Symbol</p>";
        } else if (stock != nullptr && stock->tableless > 0) {
            --stock->tableless;
            body = kind.japanese ? "<p>ただいまアクセスが集中しています。</p>"
                                 : "<p>Please try again in a few minutes.</p>";
        } else {
            body = Table(kind, stock, query);
        }
        std::optional<PageFault> fault;
        if (stock != nullptr && stock->faultCount > 0 && stock->requests >= stock->faultFrom) {
            --stock->faultCount;
            fault = stock->fault;
        }
        std::string page = kind.japanese ? JapanesePage(query.code, body, fault == PageFault::UndeclaredIso2022Jp)
                                         : PortalPage(query.code, body);
        // Cut in the middle of the table: the length sent is the length cut.
        if (fault == PageFault::CutShort) page.resize(page.size() * 3 / 5);
        response.set_content(page, "text/html");
    }

    // The page's rows as a table, or the no-data text when there are none.
    static std::string Table(const PageKind& kind, const Stock* stock, const Query& query) {
        std::vector<Row> rows;
        if (stock != nullptr) rows = PageList(*stock, query.candle, query.from, query.to);
        const auto begin = static_cast<std::size_t>(stock != nullptr && stock->ignoresPositions ? 0 : query.position);
        if (begin >= rows.size()) {
            return kind.japanese ? "<p>指定された期間のデータはありません。</p>"
                                 : "<p>Historical quote data is unavailable for the specified date range.</p>";
        }
        // Event rows keep their day on monthly pages.
        const char eventCandle = query.candle == 'm' ? 'w' : query.candle;
        std::string table = "<table>\n" + HeaderRow(kind.japanese, query.candle);
        const std::size_t end = std::min(rows.size(), begin + static_cast<std::size_t>(kind.lines));
        for (std::size_t i = begin; i < end; ++i) {
            const Row& row = rows[i];
            table += "<tr><td>" + DateOnPage(kind.japanese, row.event ? eventCandle : query.candle, row.date) + "</td>";
            if (row.event != nullptr) {
                table += "<td colspan=\"6\">" + *row.event + "</td></tr>\n";
                continue;
            }
            for (const std::string& cell : PriceCells(kind.japanese, stock->code, row.date, true)) {
                table += "<td>" + cell + "</td>";
            }
            table += "</tr>\n";
        }
        return table + "</table>";
    }
};

PriceSite::PriceSite()
    : model_(std::make_unique<Model>()),
      server_(std::make_unique<PageServer>([this](httplib::Server& server) {
          server.Get("/t", [this](const httplib::Request& request, httplib::Response& response) {
              model_->Serve(kJapanPage, request, response);
          });
          server.Get("/q/hp", [this](const httplib::Request& request, httplib::Response& response) {
              model_->Serve(kPortalPage, request, response);
          });
          server.Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
              std::lock_guard lock(model_->mutex);
              model_->violations.push_back(request.target + ": unknown path");
              response.status = 400;
          });
      })) {}

PriceSite::~PriceSite() = default;

std::string PriceSite::HostPort() const { return server_->HostPort(); }

void PriceSite::UseAsPriceSites() const {
    common::WriteSetting("MirControl\\HpGet\\SiteJpPrices", HostPort());
    common::WriteSetting("MirControl\\HpGet\\SiteUsPortal", HostPort());
}

void PriceSite::AddStock(const std::string& country, const std::string& code, platform::Date first,
                         platform::Date last, const std::string& marketSuffix) {
    std::lock_guard lock(model_->mutex);
    Model::Stock stock;
    stock.code = code;
    stock.first = first;
    stock.last = last;
    stock.suffix = marketSuffix;
    model_->stocks[{country, code}] = stock;
}

void PriceSite::SetLastDate(const std::string& country, const std::string& code, platform::Date last) {
    std::lock_guard lock(model_->mutex);
    model_->At(country, code).last = last;
}

void PriceSite::AddDividend(const std::string& country, const std::string& code, platform::Date date,
                            const std::string& amount) {
    std::lock_guard lock(model_->mutex);
    model_->At(country, code).events.emplace(date, "$ " + amount + (country == "JPN" ? " 配当金" : " Cash Dividend"));
}

void PriceSite::AddSplit(const std::string& country, const std::string& code, platform::Date date, int from,
                         int to) {
    std::lock_guard lock(model_->mutex);
    model_->At(country, code)
        .events.emplace(date, country == "JPN"
                                  ? "分割: " + std::to_string(from) + "株 -> " + std::to_string(to) + "株"
                                  : std::to_string(to) + " : " + std::to_string(from) + " Stock Split");
}

void PriceSite::SetFailing(const std::string& country, const std::string& code, bool failing) {
    std::lock_guard lock(model_->mutex);
    model_->At(country, code).failing = failing;
}

void PriceSite::FailAfterPages(const std::string& country, const std::string& code, int pages) {
    std::lock_guard lock(model_->mutex);
    model_->At(country, code).pagesBeforeFailing = pages;
}

void PriceSite::SetTablelessPages(const std::string& country, const std::string& code, int count) {
    std::lock_guard lock(model_->mutex);
    model_->At(country, code).tableless = count;
}

void PriceSite::IgnorePagePositions(const std::string& country, const std::string& code) {
    std::lock_guard lock(model_->mutex);
    model_->At(country, code).ignoresPositions = true;
}

void PriceSite::SetFaultyPages(const std::string& country, const std::string& code, PageFault fault, int nth,
                               int count) {
    std::lock_guard lock(model_->mutex);
    Model::Stock& stock = model_->At(country, code);
    stock.fault = fault;
    stock.faultFrom = nth;
    stock.faultCount = count;
}

std::vector<std::string> PriceSite::Violations() const {
    std::lock_guard lock(model_->mutex);
    return model_->violations;
}

int PriceSite::Requests(const std::string& path) const { return server_->Hits(path); }

int PriceSite::Requests(const std::string& country, const std::string& code) const {
    std::lock_guard lock(model_->mutex);
    return model_->At(country, code).requests;
}

std::vector<PriceLine> PriceSite::ExpectedRows(const std::string& country, const std::string& code, char candle,
                                               platform::Date from, platform::Date to) const {
    std::lock_guard lock(model_->mutex);
    const Model::Stock& stock = model_->At(country, code);
    const auto lower = static_cast<char>(std::tolower(static_cast<unsigned char>(candle)));
    std::vector<PriceLine> lines;
    for (const Date& date : PriceDates(lower, stock.first, stock.last, from, to)) {
        const std::array<std::string, 6> cells = PriceCells(country == "JPN", code, date, false);
        lines.push_back({platform::DateText(date), cells[0], cells[1], cells[2], cells[3], cells[4], cells[5]});
    }
    return lines;
}

std::vector<PriceLine> PriceSite::ExpectedEvents(const std::string& country, const std::string& code,
                                                 platform::Date from, platform::Date to) const {
    std::lock_guard lock(model_->mutex);
    const Model::Stock& stock = model_->At(country, code);
    std::vector<PriceLine> lines;
    for (auto it = stock.events.lower_bound(from); it != stock.events.end() && it->first <= to; ++it) {
        lines.push_back({platform::DateText(it->first), it->second, "", "", "", "", ""});
    }
    return lines;
}

}  // namespace testsupport
