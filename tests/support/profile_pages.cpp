#include "tests/support/profile_pages.h"

#include <cstddef>
#include <string>
#include <vector>

#include "platform/number_format.h"
#include "platform/utf8_text.h"

namespace testsupport {

namespace {

// A profile field and what the collector makes of the page's text.
struct Field {
    std::size_t number;
    std::string expected;
};

// One label/value pair of a page.
struct Entry {
    std::string label;
    std::string page;
    std::vector<Field> fields;
};

long Seed(const std::string& code) {
    long seed = 0;
    for (const char c : code) seed = (seed * 31 + static_cast<unsigned char>(c)) % 9973;
    return seed;
}

std::string Text(long value) { return std::to_string(value); }
std::string Comma(long value) { return platform::FormatNumber(static_cast<double>(value), "#,##0"); }
std::string Two(long value) { return platform::FormatNumber(static_cast<double>(value), "00"); }

// The text in full-width characters, as the portal writes some values.
std::string Wide(const std::string& ascii) {
    std::string out;
    for (const char c : ascii) platform::AppendUtf8(out, c == ' ' ? char32_t{0x3000} : char32_t(c) - 0x21 + 0xFF01);
    return out;
}

std::string Html(const std::string& title, const std::string& body) {
    return "<html><head><title>" + title + "</title></head><body>\n" + body + "</body></html>\n";
}

// Label/value rows, `perRow` pairs a row.
std::string Rows(const std::vector<Entry>& entries, std::size_t perRow) {
    std::string html;
    for (std::size_t i = 0; i < entries.size(); i += perRow) {
        html += "<tr>";
        for (std::size_t j = i; j < i + perRow && j < entries.size(); ++j) {
            html += "<th class=\"label\">" + entries[j].label + "</th><td>" + entries[j].page + "</td>";
        }
        html += "</tr>\n";
    }
    return html;
}

ProfileTexts Expected(const std::vector<Entry>& entries) {
    ProfileTexts texts;
    for (const Entry& entry : entries) {
        for (const Field& field : entry.fields) texts[field.number] = field.expected;
    }
    return texts;
}

// ---- the portal

const std::string kJapanNavigation =
    "<table class=\"nav\"><tr><td><a href=\"/\">トップ</a></td><td><a href=\"/news/\">ニュース</a></td>"
    "<td><a href=\"/fundamental/\">企業情報</a></td><td><a href=\"/help/\">ヘルプ</a></td></tr></table>\n";

std::string JapanSearchBox(const std::string& below) {
    return "<form action=\"/fundamental/\"><table class=\"search\"><tr><td>企業情報検索</td>"
           "<td><input type=\"text\" name=\"s\"><input type=\"submit\" value=\"検索\"></td></tr>\n"
           "<tr><td>" +
           below + "</td></tr></table></form>\n";
}

const std::string kJapanFooter =
    "<table class=\"footer\"><tr><td><a href=\"/corp/\">会社概要</a></td><td><a href=\"/privacy/\">"
    "プライバシーポリシー</a></td></tr><tr><td>Copyright (C) テストポータル</td></tr></table>\n";

std::vector<Entry> JapanEntries(const std::string& code, const std::string& name) {
    const long s = Seed(code);
    const long month = s % 12 + 1;
    const long founded = 1900 + s % 100;
    const long listed = 1949 + s % 50;
    const long single = s * 3 + 100;
    const long group = s * 7 + 1000;
    const long pay = 5000 + s % 4000;
    const char* const industries[] = {"輸送用機器", "電気機器", "銀行業"};
    const char* const markets[] = {"東証1部", "東証2部", "マザーズ"};
    const std::string phone = "03-" + platform::FormatNumber(static_cast<double>(s), "0000") + "-0001";
    const std::string english = "PROFILE " + code + " CO.,LTD.";
    const std::string address = "東京都千代田区丸の内" + Text(s % 9 + 1) + "-" + Text(s % 20 + 1);

    std::vector<Entry> entries{
        {"特色", name + "の主力製品を国内外で展開", {{11, name + "の主力製品を国内外で展開"}}},
        {"連結事業", "製品" + Text(60 + s % 40) + "、サービス" + Text(40 - s % 40),
         {{14, "製品" + Text(60 + s % 40) + "、サービス" + Text(40 - s % 40)}}},
        {"本社所在地", address + " [周辺地図]", {{15, address}}},
        {"最寄り駅", "～大手町駅", {{16, "大手町駅"}}},
        {"電話番号", Wide(phone), {{17, phone}}},
        {"英文社名", Wide(english), {{2, english}}},
        {"決算", Text(month) + "月", {{18, Text(month) + "月"}}},
        {"設立年月日", Text(founded) + "年" + Text(month) + "月" + Text(s % 28 + 1) + "日",
         {{19, Text(founded) + "/" + Two(month) + "/" + Two(s % 28 + 1)}}},
        {"代表者名", "山田 " + code, {{20, "山田 " + code}}},
        {"従業員数（単独）", s % 5 == 0 ? "‐人" : Comma(single) + "人", {{22, s % 5 == 0 ? "-" : Text(single)}}},
        {"従業員数（連結）", "(" + Comma(group) + "人)", {{23, Text(group)}}},
        {"業種分類", industries[s % 3], {{24, industries[s % 3]}}},
        {"市場名", markets[s % 3], {{25, markets[s % 3]}}},
        {"単元株数", s % 4 == 0 ? "単元株制度なし" : Comma(s % 2 == 0 ? 100 : 1000) + "株",
         {{28, s % 4 == 0 ? "1" : Text(s % 2 == 0 ? 100 : 1000)}}},
        {"平均年齢", Text(30 + s % 20) + ".5歳", {{36, Text(30 + s % 20) + ".5"}}},
        {"平均年収", Comma(pay) + "千円", {{37, Text(pay)}}},
    };
    // The three forms the portal gives a listing date in.
    const std::string listedMonth = Text(listed) + "年" + Text(month) + "月";
    const std::string listedText[] = {listedMonth, listedMonth + "1日", "-"};
    const std::string listedDate[] = {Text(listed) + "/" + Two(month), Text(listed) + "/" + Two(month) + "/01",
                                      "1900/01/01"};
    entries.push_back({"上場年月日", listedText[s % 3], {{35, listedDate[s % 3]}}});
    return entries;
}

// ---- the China-stock site

const std::string kChinaNavigation =
    "<table class=\"menu\"><tr><td><a href=\"/\">ホーム</a></td><td><a href=\"/data/\">銘柄データ</a></td>"
    "<td><a href=\"/exchange/\">為替レート</a></td></tr></table>\n"
    "<form action=\"/data/info.cgi\"><table><tr><td>銘柄コード</td><td><input type=\"text\" name=\"code\"></td>"
    "<td><input type=\"submit\" value=\"表示\"></td></tr></table></form>\n";

struct ChinaCompany {
    std::vector<Entry> entries;
    Entry business;
    Entry history;
};

ChinaCompany ChinaValues(const std::string& code, const std::string& name) {
    const long s = Seed(code);
    const bool even = s % 2 == 0;
    const char* const industries[] = {"情報技術", "不動産", "金融"};
    const char* const markets[] = {"香港メインボード, H株", "香港GEM", "上海A株, 香港メインボード"};
    const std::string related = "60" + platform::FormatNumber(static_cast<double>(s % 10000), "0000");
    const std::string capital = Comma(s * 13) + ".5";
    const std::string price = Text(s % 9 + 1) + ".70";

    ChinaCompany company;
    company.entries = {
        {"漢字社名", name, {{1, name}}},
        {"英文社名", "Profile " + code + " Holdings Ltd.", {{2, "Profile " + code + " Holdings Ltd."}}},
        {"通用略称", "略称" + code + "(リャクショウ)", {{3, "略称" + code}, {4, "リャクショウ"}}},
        {"業種", industries[s % 3], {{5, industries[s % 3]}}},
        {"指数構成銘柄区分", even ? "ハンセン指数" : "-", {{6, even ? "ハンセン指数" : "-"}}},
        {"関連銘柄", even ? Wide("A") + "株：" + Wide(related) : "なし",
         {{7, even ? "A株" : "なし"}, {8, even ? related : ""}}},
        {"登録地", even ? "ケイマン諸島" : "中国", {{10, even ? "ケイマン諸島" : "中国"}}},
        {"設立年月", Text(1990 + s % 20) + "年" + Text(s % 12 + 1) + "月",
         {{19, Text(1990 + s % 20) + "年" + Text(s % 12 + 1) + "月"}}},
        {"代表者名", "王 " + code, {{20, "王 " + code}}},
        {"上場区分", markets[s % 3], {{25, markets[s % 3]}}},
        {"取引通貨", "香港ドル", {{27, "香港ドル"}}},
        {"売買単位", Comma(even ? 2000 : 500) + "株", {{28, Comma(even ? 2000 : 500) + "株"}}},
        {"額面", even ? "0.10 香港ドル" : "N/A", {{29, even ? "香港ドル" : "N/A"}, {30, even ? "0.10" : "0"}}},
        {"資本金(百万香港ドル)", capital, {{31, "百万香港ドル"}, {32, capital}}},
        {"発行価格(香港ドル)", price, {{33, "香港ドル"}, {34, price}}},
        {"上場年月", even ? "2004/06/16" : "2004年6月", {{35, even ? "2004/06/16" : "2004/06/01"}}},
    };
    company.business = {"■ 業務内容", name + "はオンラインサービスを提供する。", {{12, name + "はオンラインサービスを提供する。"}}};
    company.history = {"■ 企業沿革", Text(1990 + s % 20) + "年設立。2004年上場。",
                       {{13, Text(1990 + s % 20) + "年設立。2004年上場。"}}};
    return company;
}

// A section: its heading, a rule image row, then its text.
std::string Section(const Entry& entry) {
    return "<tr><td class=\"head\">" + entry.label + "</td></tr><tr><td><img src=\"/img/line.gif\"></td></tr><tr><td>" +
           entry.page + "</td></tr>\n";
}

}  // namespace

std::string JapanProfilePage(const std::string& code, const std::string& name) {
    const std::string menu =
        "<table class=\"menu\"><tr><td><a href=\"/q?s=" + code + "\">株価</a></td></tr><tr><td><a href=\"/q/hp?s=" +
        code + "\">時系列</a></td></tr><tr><td><a href=\"/q/ks?s=" + code +
        "\">決算</a></td></tr><tr><td><a href=\"/bbs/?s=" + code + "\">掲示板</a></td></tr></table>";
    const std::string profile = "<table class=\"head\"><tr><td>会社概要</td></tr></table>\n<table class=\"profile\">\n" +
                                Rows(JapanEntries(code, name), 2) + "</table>";
    return Html(name + "【" + code + "】：企業情報 - テストポータル",
                kJapanNavigation + JapanSearchBox(name + " 【" + code + "】") +
                    "<table class=\"main\"><tr><td valign=\"top\">" + menu + "</td><td>" + profile +
                    "</td></tr></table>\n" + kJapanFooter);
}

std::string JapanProfileMissingPage() {
    return Html("企業情報 - テストポータル",
                kJapanNavigation + JapanSearchBox("") + "<p>一致する銘柄はありません。コードをご確認ください。</p>\n" +
                    kJapanFooter);
}

ProfileTexts ExpectedJapanProfileTexts(const std::string& code, const std::string& name) {
    ProfileTexts texts = Expected(JapanEntries(code, name));
    texts[1] = name;
    return texts;
}

std::string ChinaProfilePage(const std::string& code, const std::string& name) {
    const ChinaCompany company = ChinaValues(code, name);
    const std::vector<Entry>& entries = company.entries;
    // Names and short name one pair a row, the rest two.
    const std::vector<Entry> single(entries.begin(), entries.begin() + 3);
    const std::vector<Entry> paired(entries.begin() + 3, entries.end());
    return Html(name + "(" + code + ") 企業情報 - 中国株テストサイト",
                kChinaNavigation + "<table class=\"info\">\n<tr><td>証券コード</td><td>" + code +
                    "</td></tr>\n" + Rows(single, 1) + Rows(paired, 2) + "</table>\n<table class=\"text\">\n" +
                    Section(company.business) + Section(company.history) + "</table>\n" +
                    "<p>データ提供：テスト情報サービス</p>\n");
}

std::string ChinaProfileMissingPage() {
    return Html("企業情報 - 中国株テストサイト",
                kChinaNavigation + "<p>証券コードに間違いがあります。もう一度入力してください。</p>\n");
}

ProfileTexts ExpectedChinaProfileTexts(const std::string& code, const std::string& name) {
    ChinaCompany company = ChinaValues(code, name);
    company.entries.push_back(company.business);
    company.entries.push_back(company.history);
    return Expected(company.entries);
}

}  // namespace testsupport
