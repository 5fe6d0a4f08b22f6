#include "charts/chart_title.h"

#include <gtest/gtest.h>

namespace {

marketdata::Key KeyOfCategory(const char* category) {
    marketdata::Key key;
    key.Category = category;
    return key;
}

TEST(ChartTitleText, ByCategoryWithTheFieldsThatAreNotBlank) {
    charts::ChartTargetRec texts{"日本", "東証", "一部", "輸送用機器", "自動車", "自動車・部品", "トヨタ"};
    struct Case {
        const char* category;
        const char* title;
    };
    const Case cases[] = {
        {"0010", "指標名：トヨタ　　　国：日本"},
        {"0050", "業種名：トヨタ　　　国：日本　　　セクター：輸送用機器　　　業種：自動車"},
        {"0060", "ロイター業種名：トヨタ　　　国：日本"},
        {"1000",
         "企業名：トヨタ　　　国：日本　　　上場先：東証(一部)　　　セクター：輸送用機器"
         "　　　業種：自動車　　　ロイター業種：自動車・部品"},
    };
    for (const Case& c : cases) EXPECT_EQ(charts::ChartTitleText(KeyOfCategory(c.category), texts), c.title);

    texts.listingMarket = "  ";
    texts.marketDetail = "";
    texts.sector = " ";
    texts.researchIndustry = "";
    EXPECT_EQ(charts::ChartTitleText(KeyOfCategory("1000"), texts), "企業名：トヨタ　　　国：日本　　　業種：自動車");
    EXPECT_EQ(charts::ChartTitleText(KeyOfCategory("0050"), texts), "業種名：トヨタ　　　国：日本　　　業種：自動車");
}

}  // namespace
