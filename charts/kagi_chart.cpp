#include "charts/kagi_chart.h"

#include <algorithm>
#include <string>
#include <vector>

#include "analysis/chart_line_file.h"
#include "analysis/chart_price_series.h"
#include "analysis/kesen_params.h"
#include "analysis/single_judgement.h"
#include "charts/axis_bounds.h"
#include "charts/axis_ticks.h"
#include "charts/chart_context.h"
#include "charts/chart_layout.h"
#include "charts/chart_primitives.h"
#include "charts/chart_title.h"
#include "charts/colour_palette.h"
#include "charts/date_mark.h"
#include "charts/kagi_label.h"
#include "charts/period_start.h"
#include "charts/price_axis.h"
#include "common/files/file_ops.h"
#include "common/files/file_registry.h"
#include "common/logs/logs.h"
#include "common/logs/message_box.h"
#include "common/procedure_guard.h"

namespace charts {

namespace {

constexpr const char* kOwnId = "AGKSN00M";
constexpr const char* kNoSeriesWarning = "株価時系列データが存在しません。　";
constexpr const char* kNoLinesWarning = "引き線する鉤足がありません。 ";
constexpr int kWarningStyle = 48;
constexpr double kNoMinimumYet = 99999999999999;

// One line in the period, its prices as drawing values.
struct KagiBar {
    const analysis::KagiLineRec* line = nullptr;
    double low = 0;
    double high = 0;
    double turn = 0;  // within [low, high]
};

struct ShownLines {
    std::vector<KagiBar> bars;
    std::string turnState;  // the direction after the last turn before the period
    double lowest = kNoMinimumYet;
    double highest = 0;
};

bool IsTurn(const analysis::KagiLineRec& line) { return line.SignalMark == "1"; }

int TurnStateColour(const std::string& state) {
    if (state == "2") return kColourBlue;
    if (state == "1") return kColourRed;
    return kColourGrey;
}

ShownLines LinesOfPeriod(const std::vector<analysis::KagiLineRec>& lines, std::int32_t period) {
    ShownLines shown;
    const std::string start = PeriodStartDate(period, platform::FromDaySerial(lines.back().KagiDate));
    shown.bars.reserve(lines.size());
    for (const analysis::KagiLineRec& line : lines) {
        if (platform::DateText(platform::FromDaySerial(line.KagiDate)) < start) {
            if (IsTurn(line)) shown.turnState = line.TurnState.Text();
            continue;
        }
        KagiBar bar;
        bar.line = &line;
        bar.low = std::min(line.Low, line.High).ToDouble();
        bar.high = std::max(line.Low, line.High).ToDouble();
        // A turn price off the line would paint past its ends.
        bar.turn = std::clamp(line.SignalPrice.ToDouble(), bar.low, bar.high);
        KeepMinimum(bar.low, shown.lowest);
        KeepMaximum(bar.high, shown.highest);
        shown.bars.push_back(bar);
    }
    return shown;
}

void ToDrawingValues(std::vector<KagiBar>& bars, bool logScale, double axisLow) {
    for (KagiBar& bar : bars) {
        for (double* value : {&bar.low, &bar.high, &bar.turn}) {
            if (logScale) *value = LogIfPositive(*value);
            if (*value > 0) *value -= axisLow;
        }
    }
}

// Draws the bar's body, split at the turn price on a turn line with turn
// colouring; returns the colour used last.
int DrawKagiBar(const KagiBar& bar, double range, double barX, int previousColour, std::string& turnState,
                const ChartContext& ctx, DrawingList& surface) {
    const auto body = [&](double first, double second, int colour) {
        DrawCandleBody(first, second, range, barX, surface, ctx, GetColourPair(colour));
        return colour;
    };
    const analysis::KagiLineRec& line = *bar.line;
    if (ctx.turnColouring == 0) return body(bar.low, bar.high, line.Direction == "2" ? kColourBlue : kColourRed);
    if (!IsTurn(line)) return body(bar.low, bar.high, TurnStateColour(turnState));
    turnState = line.TurnState.Text();
    if (turnState == "2") {
        body(bar.turn, bar.high, previousColour);
        return body(bar.low, bar.turn, kColourBlue);
    }
    if (turnState == "1") {
        body(bar.low, bar.turn, previousColour);
        return body(bar.turn, bar.high, kColourRed);
    }
    return body(bar.low, bar.high, kColourGrey);
}

void DrawLines(const ShownLines& shown, const analysis::KesenParamSet& params, double range, ChartContext& ctx,
               DrawingList& surface) {
    std::string turnState = shown.turnState;
    int colour = TurnStateColour(turnState);
    // A date mark (two items) and a body split at its turn (four); the
    // labels' characters come on top.
    constexpr std::size_t kItemsPerBarBeforeLabel = 2 + 4;
    surface.items.reserve(surface.items.size() + shown.bars.size() * kItemsPerBarBeforeLabel);
    double barX = 0;
    for (const KagiBar& bar : shown.bars) {
        const analysis::KagiLineRec& line = *bar.line;
        DrawDateMark(barX, platform::FromDaySerial(line.KagiDate), 0, ctx, surface);
        colour = DrawKagiBar(bar, range, barX, colour, turnState, ctx, surface);
        const std::string label =
            KagiFeatureText(params, line) +
            (params.EnvChange == "1" ? KagiRuleGroupText(params, line) : KagiRuleText(params, line));
        DrawKagiLabel(bar.low, bar.high, range, barX, ctx, surface, line.Direction.Text(), label);
        barX += ctx.pitch;
    }
}

void DeleteReadChartLineFiles(common::EnvRec& env, const marketdata::Key& key) {
    for (const char* suffix : {"", marketdata::kChartLineTempSuffix}) {
        for (const std::string& extension : {common::CFFIL03M(marketdata::kChartLineFileNumber), std::string(".txt")}) {
            common::CFFIL70M(marketdata::CFKSN54M(env, key, marketdata::kChartLineFileNumber, suffix, extension));
        }
    }
}

}  // namespace

bool AGKSN00M(common::EnvRec& env, const ChartFrame& frame, const ChartTarget& target, ChartScene& scene) {
    common::FunctionIdGuard guard(kOwnId);
    analysis::KesenParamSet params;
    analysis::LoadKesenParams(params);
    ChartContext ctx;
    LoadChartSettings(target.currencyCode, ctx);
    scene = ChartScene{};

    std::vector<analysis::KagiLineRec> lines;
    if (!analysis::CFKSN10M(env, target.key, "", common::CFFIL03M(marketdata::kChartLineFileNumber), lines)) {
        common::WriteStepLog(common::LogSwitch(1), kOwnId, common::log_tag::kErrApl, "00", kNoSeriesWarning);
        common::ShowWarning(kNoSeriesWarning, kWarningStyle);
        return false;
    }
    DeleteReadChartLineFiles(env, target.key);
    if (lines.size() <= 1) {
        common::ShowWarning(kNoLinesWarning, kWarningStyle);
        return false;
    }
    scene.title = ChartTitleText(target.key, target.texts);

    ShownLines shown = LinesOfPeriod(lines, ctx.period);
    LayoutChartArea(ChartKind::Kagi, 0, static_cast<long>(shown.bars.size()), ctx, frame, scene);
    const AxisScale axis = DrawPriceAxis(shown.lowest, shown.highest, ctx, scene);
    ToDrawingValues(shown.bars, ctx.logScale == 1, axis.low);
    DrawLines(shown, params, axis.range, ctx, scene.surface);
    SetScrollRange(frame, scene);
    return true;
}

bool DrawStockKagiChart(common::EnvRec& env, const ChartFrame& frame, const ChartTarget& target, ChartScene& scene) {
    marketdata::DeleteChartLineFiles(env, target.key);
    std::vector<marketdata::PriceRec> daily;
    std::vector<marketdata::PriceRec> chart;
    if (!analysis::LoadChartPriceSeries(1, env, target.company, target.currencyCode, daily, chart)) return false;
    if (!analysis::ASKCM03M(target.key, static_cast<long>(chart.size()), chart)) return false;
    return AGKSN00M(env, frame, target, scene);
}

}  // namespace charts
