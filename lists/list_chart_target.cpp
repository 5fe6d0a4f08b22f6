#include "lists/list_chart_target.h"

#include <array>

#include "common/currency_scale.h"
#include "common/logs/message_box.h"
#include "common/logs/message_style.h"
#include "marketdata/name_index.h"
#include "platform/utf8_text.h"

namespace lists {

std::string TextBeforeColon(const std::string& text) { return std::string(platform::SplitAt(text, ':').front()); }

std::optional<charts::ChartTarget> ChartTargetOfCompany(common::EnvRec& env, const std::string& country,
                                                        const std::string& category, const std::string& corpCode) {
    const std::string identity = platform::PadRightChars(country, 3) + platform::PadRightChars(category, 4) +
                                 platform::PadRightChars(corpCode, 20);
    marketdata::NameIndexRec found;
    if (!marketdata::FindCompanyListRecord(env, identity, found)) {
        common::ShowWarning(kNoPriceSeriesMessage, common::msg_style::kExclamation);
        return std::nullopt;
    }
    charts::ChartTarget target;
    target.key = found.Key;
    target.company.Key = found.Key;
    target.currencyCode = common::StockCurrencyCode(found.RptText06, found.Key.Market);
    target.texts = {platform::TrimBlanks(found.InfoText046), platform::TrimBlanks(found.IndName0020),
                    platform::TrimBlanks(found.IndName0030), platform::TrimBlanks(found.IndName0040),
                    platform::TrimBlanks(found.IndName0050), platform::TrimBlanks(found.IndName0060),
                    platform::TrimBlanks(found.Name)};
    target.company.RptText[6] = target.currencyCode;
    // The same texts in the code-master record, at the fields the name index took them from.
    charts::ChartTargetRec& t = target.texts;
    std::array<std::string, 66>& info = target.company.InfoText;
    info[38] = t.name;
    info[46] = t.country;
    info[47] = t.listingMarket;
    info[48] = t.marketDetail;
    info[49] = t.sector;
    info[50] = t.industry;
    info[51] = t.researchIndustry;
    return target;
}

}  // namespace lists
