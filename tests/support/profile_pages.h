#pragma once
// Company-profile pages as the two profile sites lay them out, generated for
// a company. Every value derives from the code, so that a test can predict
// what a collector reads; the pages are the same on every call.
#include <array>
#include <string>

#include "marketdata/company_profile.h"

namespace testsupport {

// Text fields 1-47 of a profile line (element 0 unused).
using ProfileTexts = std::array<std::string, marketdata::kCpiTextCount + 1>;

// The portal's profile page ("/fundamental/?s=<code>"), UTF-8: top
// navigation, the search box "企業情報検索" with the company name and its
// code in 【 】 in the cell below, then a menu column on the left and, on the
// right, the "会社概要" header over label/value rows (two pairs a row), and a
// footer whose links hold "会社概要" once more.
std::string JapanProfilePage(const std::string& code, const std::string& name);
// The portal's answer for a code it does not know ("一致する銘柄はありません").
std::string JapanProfileMissingPage();
// What the Japanese collector makes of JapanProfilePage.
ProfileTexts ExpectedJapanProfileTexts(const std::string& code, const std::string& name);

// The China-stock site's company page ("/data/info.cgi?code=<code>"), UTF-8:
// navigation, a search box, the "証券コード" row, label/value rows (up to two
// pairs a row, capital and issue price with their units in the label), and
// the "■ 業務内容" and "■ 企業沿革" sections, each text two rows under its
// heading.
std::string ChinaProfilePage(const std::string& code, const std::string& name);
// The site's answer for a wrong code ("証券コードに間違いがあります").
std::string ChinaProfileMissingPage();
// What the Chinese collector makes of ChinaProfilePage. Field 25 lists the
// company's markets; its first item is the market name the collector takes.
ProfileTexts ExpectedChinaProfileTexts(const std::string& code, const std::string& name);

}  // namespace testsupport
