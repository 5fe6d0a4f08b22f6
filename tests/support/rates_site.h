#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/date.h"

namespace testsupport {

class PageServer;

// A loopback site with the two exchange-rate pages (all members are
// thread-safe):
//
// "/investor/market/rates.asp" (Shift_JIS): the current rates of seven
// currencies under a "通貨名" header, each label with its rate in the cell to
// its right and the change beside it, and the generation-time cell below
// ("生成時刻 2026/12/10 15:30:00" unless set otherwise). The British pound's
// rate carries a thousands comma.
//
// "/exchange/index.cgi?mode=table&type=<code>&next=<offset>" (EUC-JP, the US
// dollar's pages in UTF-8): a currency's history, newest first, twenty rows
// a page from the offset, under the header "通貨種類" and the seven codes,
// with "次の 20 件を表示する" below every page but the last. A currency has a
// row for every weekday from its first to its last date; its rates follow
// from the code, the date and the column alone (the pound's column with a
// thousands comma), so a row never changes when the range grows.
class RatesSite {
public:
    // The current rates the page shows by default, in the column order
    // CNY, USD, JPY, HKD, TWD, XEU, GBP.
    static const std::vector<std::string>& DefaultRates();

    RatesSite();
    ~RatesSite();
    RatesSite(const RatesSite&) = delete;
    RatesSite& operator=(const RatesSite&) = delete;

    std::string HostPort() const;
    // Points HpGet\SiteRates and HpGet\SiteChinaStock at this site; needs the
    // settings store of a program folder. Set before the process context.
    void UseAsRateSites() const;

    // The current-rates page: the whole generation-time cell, the rate cell
    // of a label ("日本円", "米ドル", ...), a page that answers 500.
    void SetGeneratedText(const std::string& text);
    void SetCurrentRate(const std::string& label, const std::string& rateText);
    void SetCurrentFailing(bool failing);

    // A currency with rows for the weekdays from `first` to `last`.
    void SetHistory(const std::string& code, platform::Date first, platform::Date last);
    // The row of `date` is followed by a second row of the same date with
    // other rates.
    void DoubleDate(const std::string& code, platform::Date date);
    // The page of `offset` answers 500, or comes without its table.
    void SetFailingPage(const std::string& code, long offset);
    void SetTablelessPage(const std::string& code, long offset);
    // Every page of the currency is its first, whatever the offset asked for.
    void IgnoreOffsets(const std::string& code);

    // The history lines the collector should store for the currency's rows
    // from `from` to `to`, oldest first (the first row of a doubled date).
    std::vector<std::string> ExpectedLines(const std::string& code, platform::Date from, platform::Date to) const;
    // The offsets of the currency's history pages asked for, in order.
    std::vector<long> Offsets(const std::string& code) const;
    int CurrentRequests() const;

private:
    struct Model;
    std::unique_ptr<Model> model_;
    std::unique_ptr<PageServer> server_;  // after the model: it stops before the model goes
};

}  // namespace testsupport
