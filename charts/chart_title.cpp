#include "charts/chart_title.h"

#include "platform/utf8_text.h"

namespace charts {

namespace {

constexpr const char* kSeparator = "　　　";

void AppendIfNotBlank(std::string& title, const char* caption, const std::string& value) {
    if (!platform::TrimBlanks(value).empty()) title += std::string(kSeparator) + caption + value;
}

}  // namespace

std::string ChartTitleText(const marketdata::Key& key, const ChartTargetRec& texts) {
    const std::string country = std::string(kSeparator) + "国：" + texts.country;
    const std::string category = platform::TrimBlanks(key.Category);
    if (category == "0010") return "指標名：" + texts.name + country;
    if (category == "0060") return "ロイター業種名：" + texts.name + country;
    if (category == "0050") {
        std::string title = "業種名：" + texts.name + country;
        AppendIfNotBlank(title, "セクター：", texts.sector);
        AppendIfNotBlank(title, "業種：", texts.industry);
        return title;
    }
    std::string title = "企業名：" + texts.name + country;
    AppendIfNotBlank(title, "上場先：", texts.listingMarket);
    if (!platform::TrimBlanks(texts.marketDetail).empty()) title += "(" + texts.marketDetail + ")";
    AppendIfNotBlank(title, "セクター：", texts.sector);
    AppendIfNotBlank(title, "業種：", texts.industry);
    AppendIfNotBlank(title, "ロイター業種：", texts.researchIndustry);
    return title;
}

}  // namespace charts
