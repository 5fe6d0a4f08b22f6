#include "tests/support/research_pages.h"

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "platform/number_format.h"

namespace testsupport {

namespace {

long Seed(const std::string& code) {
    long seed = 0;
    for (const char c : code) seed = seed * 10 + (c >= '0' && c <= '9' ? c - '0' : 0);
    return seed;
}

std::string Text(long value) { return std::to_string(value); }
std::string Two(long value) { return platform::FormatNumber(static_cast<double>(value), "00"); }
std::string Comma(long value) { return platform::FormatNumber(static_cast<double>(value), "#,##0"); }

using Cells = std::vector<std::string>;

std::string Table(const std::vector<Cells>& rows) {
    std::string html = "<table>\n";
    for (const Cells& row : rows) {
        html += "<tr>";
        for (const std::string& cell : row) html += "<td>" + cell + "</td>";
        html += "</tr>\n";
    }
    return html + "</table>\n";
}

std::string Html(const std::string& title, const std::string& body) {
    return "<html><head><title>" + title + "</title></head><body>\n" + body + "</body></html>\n";
}

const char* const kPath = "トップ > 株・投資 > アナリストレポート > 業種別・銘柄別レポート";

// One row of a page table and what the collector makes of it.
struct Row {
    Cells page;
    Cells expected;
};

struct Report {
    std::string portfolioPage;
    std::string portfolio;
    std::string technicalPage;
    std::string technical;
    std::string analystPage;
    std::string analyst;
    std::vector<Row> history;      // 5
    std::vector<Row> valuation;    // 3
    std::vector<Row> performance;  // 7
    std::string ratingDate;
    std::string oldRating;
    std::string newRating;
    bool up = true;
};

Report MakeReport(const std::string& code) {
    const long s = Seed(code);
    Report r;
    const long day = s % 28 + 1;
    r.portfolioPage = "2008年3月" + Text(day) + "日現在";
    r.portfolio = "2008/03/" + Two(day);
    r.technicalPage = s % 2 == 0 ? "強気（上昇トレンド）" : "弱気(下降, 調整)";
    r.technical = s % 2 == 0 ? "強気上昇トレンド" : "弱気下降 調整";
    r.analystPage = s % 3 == 0 ? "（-）" : "買い（" + Text(s % 5 + 1) + "名）";
    r.analyst = s % 3 == 0 ? "-" : "買い" + Text(s % 5 + 1) + "名";
    r.up = s % 2 == 0;
    r.oldRating = Text(s % 3 + 2);
    r.newRating = Text(r.up ? s % 3 + 1 : s % 3 + 3);
    const std::string arrow = r.up ? "↑" : "↓";
    // Newest first; the rating change is the third entry, its date in the
    // short form.
    r.history = {
        {{"2008/03/" + Two(day), "業績予想を更新"}, {"2008/03/" + Two(day), "業績予想を更新"}},
        {{"2008/02/" + Two(day), "アナリスト予想を更新"}, {"2008/02/" + Two(day), "アナリスト予想を更新"}},
        {{"08/01/" + Two(day),
          "マルテックス・レーティング変更（旧=" + r.oldRating + " " + arrow + " 新=" + r.newRating + "）"},
         {"2008/01/" + Two(day),
          "マルテックス・レーティング変更（旧=" + r.oldRating + " " + arrow + " 新=" + r.newRating + "）"}},
        {{"2007/12/" + Two(day), "レポート追加"}, {"2007/12/" + Two(day), "レポート追加"}},
        {{"-", "-"}, {"1900/01/01", "-"}},
    };
    r.ratingDate = "2008/01/" + Two(day);
    r.valuation = {
        {{"2008年3月", Text(10 + s % 20) + ".5", Comma(1000 + s)},
         {"200803", Text(10 + s % 20) + ".5", Text(1000 + s)}},
        {{"2007年9月", Text(12 + s % 20) + ".1", "(" + Text(s % 90) + ")"},
         {"200709", Text(12 + s % 20) + ".1", Text(s % 90)}},
        {{"-", "-", "-"}, {"000000", "0", "0"}},
    };
    for (long k = 0; k < 7; ++k) {
        const long year = 2002 + k;
        if (k == 6) {
            r.performance.push_back({{"-", "-", "-", "-", "-"}, {"000000", "0", "0", "0", "0"}});
            continue;
        }
        const long sales = (s % 500 + 100) * (k + 10);
        r.performance.push_back(
            {{Text(year) + "年3月期", Comma(sales), Comma(sales / 10), Comma(sales / 12), Comma(sales / 20)},
             {Text(year) + "03", Text(sales), Text(sales / 10), Text(sales / 12), Text(sales / 20)}});
    }
    return r;
}

std::vector<Cells> PageRows(const std::vector<Row>& rows) {
    std::vector<Cells> page;
    for (const Row& row : rows) page.push_back(row.page);
    return page;
}

}  // namespace

std::string ResearchIndustryOf(const std::string& code) {
    static const std::array<const char*, 5> kIndustries = {"自動車・自動車部品", "電気機器", "銀行", "ＩＴサービス",
                                                           "医薬品"};
    return kIndustries[static_cast<std::size_t>(Seed(code) % 5)];
}

std::string ResearchReportPage(const std::string& code, const std::string& name) {
    const Report r = MakeReport(code);
    const std::string industry = ResearchIndustryOf(code);
    const std::string industryLabel = Seed(code) % 4 == 3 ? "マルテックス業種「" : "ロイター業種「";
    std::string body =
        Table({{"<a href=\"/\">トップ</a>", "<a href=\"/report/\">レポート</a>"}}) +
        Table({{std::string(kPath) + " > " + industry + " - " + name + " > 銘柄レポート"}}) +
        Table({{name + "【" + code + "】【東証1部】"}, {"関連情報"}, {industryLabel + industry + "」"}}) +
        Table({{"今週のリサーチ情報"},
               {"ポートフォリオに組み入れ", r.portfolioPage},
               {"今週のテクニカル情報", r.technicalPage},
               {"今週の証券アナリスト情報", r.analystPage}});
    std::vector<Cells> history = {{"銘柄レポート更新履歴"}, {"年月日", "内容"}};
    for (const Cells& row : PageRows(r.history)) history.push_back(row);
    std::vector<Cells> valuation = {{"PER割安度"}, {"年月", "PER", "割安度"}};
    for (const Cells& row : PageRows(r.valuation)) valuation.push_back(row);
    std::vector<Cells> performance = {{"業績推移"}, {"項目決算期", "売上高", "営業利益", "経常利益", "純利益"}};
    for (const Cells& row : PageRows(r.performance)) performance.push_back(row);
    body += Table(history) + Table(valuation) + Table(performance) + Table({{"Copyright (C) テストリサーチ"}});
    return Html(name + "：銘柄レポート", body);
}

std::string NoResearchReportPage() {
    return Html("銘柄レポート",
                Table({{"<a href=\"/\">トップ</a>"}, {"外国部の銘柄についてはレポートはありません。"}}));
}

marketdata::MultexRec ExpectedResearchRecord(const std::string& code, const std::string& name) {
    const Report r = MakeReport(code);
    marketdata::MultexRec rec;
    rec.Text[1] = name;
    rec.Text[2] = name;
    rec.Text[3] = ResearchIndustryOf(code);
    rec.Text[4] = r.portfolio;
    rec.Text[5] = r.technical;
    rec.Text[6] = r.analyst;
    rec.Text[11] = r.ratingDate;
    rec.Text[12] = r.up ? "↑" : "↓";
    rec.Text[13] = r.newRating;
    rec.Text[14] = r.oldRating;
    for (std::size_t k = 1; k <= 5; ++k) {
        rec.A1[k] = r.history[k - 1].expected[0];
        rec.A2[k] = r.history[k - 1].expected[1];
    }
    for (std::size_t k = 1; k <= 3; ++k) {
        rec.B1[k] = r.valuation[k - 1].expected[0];
        rec.B2[k] = r.valuation[k - 1].expected[1];
        rec.B3[k] = r.valuation[k - 1].expected[2];
    }
    for (std::size_t k = 1; k <= 7; ++k) {
        const Cells& e = r.performance[k - 1].expected;
        rec.C1[k] = e[0];
        rec.C2[k] = e[1];
        rec.C3[k] = e[2];
        rec.C4[k] = e[3];
        rec.C5[k] = e[4];
    }
    return rec;
}

}  // namespace testsupport
