#pragma once
// A price table page in the shape of the data sources' pages, for the
// parsing benchmarks.
#include <cstddef>
#include <string>

namespace bench {

// The page with `rows` rows.
inline std::string PricePage(int rows) {
    std::string page =
        "<html><head><title>時系列</title><script>var a = 1;</script></head><body><div class=\"h\"><b>7203 "
        "トヨタ自動車</b></div><table border=1 cellpadding=2><tr><th>日付</th><th>始値</th><th>高値</th>"
        "<th>安値</th><th>終値</th><th>出来高</th><th>調整後終値*</th></tr>\n";
    for (int n = 0; n < rows; ++n) {
        const std::string day = std::to_string(1 + n % 28);
        page += "<tr align=right><td><small>2005年3月" + day + "日</small></td><td>4,120</td><td>4,150</td>"
                "<td>4,080</td><td><b>4,130</b></td><td>5,312,300</td><td>4,130</td></tr>\n";
    }
    page += "</table><a href=\"/q?s=7203&p=2\">次へ</a><br>&#12354;&nbsp;&copy;</body></html>";
    return page;
}

// The page with as many rows, in steps of 50, as make it at least `bytes` long.
inline std::string PricePageOfSize(std::size_t bytes) {
    const std::size_t row = PricePage(1).size() - PricePage(0).size();
    int rows = static_cast<int>((bytes / row + 49) / 50 * 50);
    while (PricePage(rows).size() < bytes) rows += 50;
    return PricePage(rows);
}

}  // namespace bench
