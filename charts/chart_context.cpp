#include "charts/chart_context.h"

#include "common/currency_scale.h"
#include "common/settings/settings.h"

namespace charts {

namespace {

std::int32_t ChartSetting(std::string_view key) {
    return common::ReadSettingLong(common::SettingKeyPath("KsnGrh", key));
}

}  // namespace

void LoadChartSettings(std::string_view currencyCode, ChartContext& ctx) {
    ctx.turnColouring = ChartSetting("GrahConv");
    ctx.logScale = ChartSetting("GrahLog");
    ctx.wide = ChartSetting("GrahWide");
    ctx.middleTicks = ChartSetting("Grahmidl");
    ctx.lowHighMarks = ChartSetting("GrahLwhi");
    ctx.splitAdjusted = ChartSetting("GrahSplt");
    ctx.barSize = ChartSetting("GrahSize");
    ctx.period = ChartSetting("GrahPeriod");
    ctx.logBase = 2;
    ctx.priceScale = common::CurrencyPriceScale(currencyCode);
    ctx.priceUnit = common::CurrencyPriceUnit(currencyCode);
    ctx.lastLabelX = -1000;
    ctx.lastLabelMonth = 0;
}

}  // namespace charts
