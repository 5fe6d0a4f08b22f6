#pragma once
// Quote pages of the three markets as their sites lay them out, with values
// derived from the company's code so that a test can predict them. Names
// must hold no blank (the Japanese title is split at blanks).
#include <string>

namespace testsupport {

// The figures a generated page shows, as plain numbers (no commas).
struct QuoteFigures {
    std::string price;
    std::string change;        // signed
    std::string previousClose;
    std::string volume;
    bool missingMarks = false;  // "---" in place of several figures
};

// Codes whose last digit is 9 show "---" for PER, EPS, unit shares and the
// trade ("--- ---", so no price).
QuoteFigures QuoteFiguresOf(const std::string& code);

// A Japanese portal's quote page: the start cell "現在の日時 ... name
// 【market：code】", then rows of labels each with its value below. The
// trade is today at 15:00; the market is "東証1部".
std::string JapanQuotePage(const std::string& code, const std::string& name);
std::string JapanQuoteMissingPage();

// A China-stock site's quote page: the breadcrumb "> 中国株・企業情報", the
// title "株価速報 name code", labels with values to their right, the volume
// in millions ("12.5M"), the market value "1.2B", currency 香港ドル and its
// yen rate 19.5.
std::string ChinaQuotePage(const std::string& code, const std::string& name);
// Its financials page, figures in millions of 香港ドル; shares issued
// "<n> 百万株" with tradable A shares 60 % and B shares 10 % of them.
std::string ChinaFinancialsPage(const std::string& code);
std::string ChinaQuoteMissingPage();

// A US portal's quote page: "Finance Search", the name cell left of
// "Edit" ("name (NasdaqGS:code)"), labels with values to their right, the
// trade dated Mar 1, 2024, market cap "1.2B".
std::string UsQuotePage(const std::string& code, const std::string& name);
std::string UsQuoteMissingPage();

}  // namespace testsupport
