#include "tests/support/quote_pages.h"

#include <string>
#include <vector>

namespace testsupport {

namespace {

using Row = std::vector<std::string>;

long CodeNumber(const std::string& code) {
    long number = 0;
    for (const char c : code) number = number * 31 % 100003 + static_cast<unsigned char>(c);
    return number;
}

// "1234567" as "1,234,567".
std::string Grouped(long value) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(static_cast<std::size_t>(at), ",");
    return (value < 0 ? "-" : "") + digits;
}

std::string Signed(long value) { return (value >= 0 ? "+" : "") + std::to_string(value); }

std::string Table(const std::vector<Row>& rows) {
    std::string html = "<table>";
    for (const Row& row : rows) {
        html += "<tr>";
        for (const std::string& cell : row) html += "<td>" + cell + "</td>";
        html += "</tr>";
    }
    return html + "</table>";
}

std::string Page(const std::string& title, const std::string& body) {
    return "<html><head><meta charset=\"utf-8\"><title>" + title + "</title></head><body>" + body + "</body></html>";
}

bool Missing(const std::string& code) { return !code.empty() && code.back() == '9'; }

}  // namespace

QuoteFigures QuoteFiguresOf(const std::string& code) {
    const long k = CodeNumber(code);
    const long price = 1000 + k % 500 * 3;
    const long change = k % 41 - 20;
    QuoteFigures figures;
    figures.price = std::to_string(price);
    figures.change = std::to_string(change);
    figures.previousClose = std::to_string(price - change);
    figures.volume = std::to_string((k % 97 + 1) * 12300);
    figures.missingMarks = Missing(code);
    return figures;
}

std::string JapanQuotePage(const std::string& code, const std::string& name) {
    const QuoteFigures f = QuoteFiguresOf(code);
    const long price = std::stol(f.price);
    const long change = std::stol(f.change);
    const long previous = std::stol(f.previousClose);
    const long sharesMillions = CodeNumber(code) % 50 + 1;
    const std::string dash = f.missingMarks ? "---" : "";
    const std::vector<Row> rows{
        {"ホーム", "ファイナンス", "企業情報検索", "新規デザイン作成"},
        {"現在の日時 15:10 " + name + " 【東証1部：" + code + "】"},
        {"取引値", "前日比", "前日終値", "出来高", "時価総額"},
        {f.missingMarks ? "--- ---" : "15:00 " + Grouped(price),
         Signed(change) + " (" + Signed(change * 100 / previous) + ".00%)", Grouped(previous),
         Grouped(std::stol(f.volume)), Grouped(price * sharesMillions) + "百万円"},
        {"始値", "高値", "安値", "売気配", "買気配"},
        {Grouped(previous + 2), Grouped(price + 15), Grouped(previous - 10), Grouped(price + 1), Grouped(price - 1)},
        {"発行済株式数", "配当利回り", "1株配当", "単元株数", "決算年月"},
        {Grouped(sharesMillions * 1000000) + "株", "1.50%", "30.00円", f.missingMarks ? "---株" : "100株",
         "2024年3月"},
        {"株価収益率", "1株利益", "純資産倍率", "1株株主資本"},
        {f.missingMarks ? "---倍" : "(連) 15.20倍", f.missingMarks ? "---円" : "(連) 81.20円", "(連) 1.20倍",
         "(連) 1,000.50円"},
        {"株主資本比率", "株主資本利益率", "総資産利益率", "調整1株益"},
        {"(連) 40.5%", "(連) 8.2%", "(連) 3.1%", "(連) 80.00円"},
    };
    return Page(name + " - 株価", Table(rows));
}

std::string JapanQuoteMissingPage() {
    return Page("検索結果", Table({{"ホーム", "ファイナンス"}, {"一致する銘柄はありません。"}}));
}

std::string ChinaQuotePage(const std::string& code, const std::string& name) {
    const QuoteFigures f = QuoteFiguresOf(code);
    const std::vector<Row> rows{
        {"トップ > 中国株・企業情報", "検索"},
        {"株価速報 " + name + " " + code},
        {"2024/03/01 16:08:00"},
        {"現在値", f.price + ".40", "前日比", f.change, "騰落率", "0.50%"},
        {"前日終値", f.previousClose + ".40", "出来高", "12.5M", "売買単位", "＊売買数量単位：500株"},
        {"始値", f.previousClose, "高値", f.price + ".80", "安値", f.previousClose + ".10"},
        {"ＰＥＲ", "15.2", "PER_A", "-", "時価総額", "1.2B"},
        {"取引通貨", "香港ドル", "円換算用のレート：19.5"},
    };
    return Page(name + " 株価", Table(rows));
}

std::string ChinaFinancialsPage(const std::string& code) {
    const long issued = (CodeNumber(code) % 90 + 10) * 10;
    const std::vector<Row> rows{
        {"トップ", "中国株・企業情報", "財務"},
        {"決算年月", "2023年12月期(連結)2023/12/31"},
        {"売上高（百万香港ドル）", "609,015"},
        {"純利益（百万香港ドル）", "115,216"},
        {"１株利益（香港ドル）", "12.14"},
        {"純資産（百万香港ドル）", "808,591"},
        {"１株株主資本（香港ドル）", "85.06"},
        {"ＲＯＥ", "14.25%"},
        {"総資産（百万香港ドル）", "1,577,246"},
        {"配　当（香港ドル）", "3.40"},
        {"発行済み株数：" + Grouped(issued) + " 百万株"},
        {"流通Ａ株：" + Grouped(issued * 6 / 10) + " 百万株"},
        {"流通Ｂ株：" + Grouped(issued / 10) + " 百万株"},
    };
    return Page(code + " 財務", Table(rows));
}

std::string ChinaQuoteMissingPage() {
    return Page("エラー", Table({{"トップ", "検索"}, {"証券コードに間違いがあります。"}}));
}

std::string UsQuotePage(const std::string& code, const std::string& name) {
    const QuoteFigures f = QuoteFiguresOf(code);
    const long change = std::stol(f.change);
    const std::string move = (change < 0 ? "Down " : "Up ") + std::to_string(change < 0 ? -change : change) +
                             ".00 (0.50%)";
    const std::vector<Row> rows{
        {"Finance Search", "Home", "Quotes"},
        {name + " (NasdaqGS:" + code + ")", "Edit"},
        {"Last Trade:", f.price + ".50", "Trade Time:", "Mar 1, 2024"},
        {"Change:", move, "Prev Close:", f.previousClose + ".50"},
        {"Open:", f.previousClose, "Bid:", f.price + ".40 x 100", "Ask:", f.price + ".60 x 200"},
        {"Day's Range:", f.previousClose + " - " + f.price + ".90", "52wk Range:", "120.00 - 1,900.00"},
        {"Volume:", Grouped(std::stol(f.volume)), "Avg Vol (3m):", "50,000,000"},
        {"Market Cap:", "1.2B", "P/E (ttm):", "25.3", "EPS (ttm):", "6.82"},
        {"1y Target Est:", "190.00", "Div & Yield:", "0.96 (0.52%)"},
    };
    return Page(code + ": Summary", Table(rows));
}

std::string UsQuoteMissingPage() {
    return Page("Lookup", Table({{"Home", "Invalid Ticker Symbol"}, {"Finance Search"}}));
}

}  // namespace testsupport
