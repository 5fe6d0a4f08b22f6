#pragma once
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/date.h"

namespace testsupport {

class PageServer;

// Columns 0 to 6 of a series line as the collector stores them: date
// "yyyy/mm/dd", open, high, low, close, volume, adjusted close (numbers
// without thousands separators).
using PriceLine = std::array<std::string, 7>;

// A loopback site serving price-history pages from a small price model that
// the test shapes and may change between runs (all members are thread-safe).
//
// The model: stocks by country ("JPN", "USA", "CHN") and code, each with
// rows from a first to a last date: daily rows on weekdays, weekly rows on
// the Monday of every week and monthly rows on the 1st of every month that
// holds a day of that range. Prices and volumes follow from the code and the
// date alone, so a row never changes when the range grows. Dividend and split
// rows stand beside the price rows, on pages of every candle.
//
// The pages: "/t" (Japan, 50 rows, Shift_JIS) and "/q/hp" (US and Chinese
// stocks, 66 rows, Chinese codes with their market suffix), rows newest
// first, page y showing rows y to y+L-1 of those between the query's dates.
// A query that breaks the page's rules (key order, field forms, row counts,
// page offsets) is answered with 400 and recorded as a violation.
class PriceSite {
public:
    PriceSite();
    ~PriceSite();
    PriceSite(const PriceSite&) = delete;
    PriceSite& operator=(const PriceSite&) = delete;

    // "127.0.0.1:port", as the host settings hold it.
    std::string HostPort() const;
    // Points HpGet\SiteJpPrices and HpGet\SiteUsPortal at this site; needs
    // the settings store of a program folder.
    void UseAsPriceSites() const;

    // A stock with rows from `first` to `last` (replacing one of the same
    // country and code). A Chinese stock answers only to its `marketSuffix`
    // (".hk", ".ss", ".sz"); a wrong or missing suffix gets the invalid-ticker page.
    void AddStock(const std::string& country, const std::string& code, platform::Date first, platform::Date last,
                  const std::string& marketSuffix = "");
    // Moves the stock's last date, adding (or taking away) its newest rows.
    void SetLastDate(const std::string& country, const std::string& code, platform::Date last);
    // A dividend row: "$ <amount> Cash Dividend" (Japan "$ <amount> 配当金").
    void AddDividend(const std::string& country, const std::string& code, platform::Date date,
                     const std::string& amount);
    // A split row of `from` old shares into `to` new ones: "<to> : <from> Stock
    // Split" (Japan "分割: <from>株 -> <to>株").
    void AddSplit(const std::string& country, const std::string& code, platform::Date date, int from, int to);

    // Every page of the stock answers 500 while `failing` holds.
    void SetFailing(const std::string& country, const std::string& code, bool failing);
    // The stock's next `pages` pages come, then it fails as SetFailing does.
    void FailAfterPages(const std::string& country, const std::string& code, int pages);
    // The next `count` pages of the stock come without their table.
    void SetTablelessPages(const std::string& country, const std::string& code, int count);
    // Every page of the stock shows its first rows, whatever the position asked for.
    void IgnorePagePositions(const std::string& country, const std::string& code);

    // Ways a page can come wrong while its answer looks whole.
    enum class PageFault {
        CutShort,             // the page ends in the middle of its table
        UndeclaredIso2022Jp,  // a Japanese page in ISO-2022-JP, its charset named nowhere
    };
    // `count` pages of the stock come with `fault`, from its `nth` request on
    // (counting every request made for it, from 1).
    void SetFaultyPages(const std::string& country, const std::string& code, PageFault fault, int nth, int count);

    // Each rule-breaking request: its target, ": ", and what was wrong.
    std::vector<std::string> Violations() const;
    // Requests per path ("/t", "/q/hp", or any other that was asked).
    int Requests(const std::string& path) const;
    // Requests that named the stock, wrong market suffixes included.
    int Requests(const std::string& country, const std::string& code) const;

    // The stock's price rows of candle 'D', 'W' or 'M' (either case) between
    // the two dates, oldest first, dividend and split rows left out.
    std::vector<PriceLine> ExpectedRows(const std::string& country, const std::string& code, char candle,
                                        platform::Date from, platform::Date to) const;
    // Its dividend and split rows between the two dates, oldest first: date
    // and event text, the other columns empty.
    std::vector<PriceLine> ExpectedEvents(const std::string& country, const std::string& code, platform::Date from,
                                          platform::Date to) const;

private:
    struct Model;
    std::unique_ptr<Model> model_;
    std::unique_ptr<PageServer> server_;  // after the model: it stops before the model goes
};

}  // namespace testsupport
