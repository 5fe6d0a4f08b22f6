#pragma once
#include <string>

#include "analysis/kagi_line_rec.h"
#include "analysis/kesen_params.h"
#include "charts/chart_context.h"
#include "charts/drawing_list.h"

namespace charts {

// The label items of a Kagi line, each "・" and its name, for the features
// and rules the line has and the EnvKhn / EnvHsk switches show.
std::string KagiFeatureText(const analysis::KesenParamSet& params, const analysis::KagiLineRec& line);
std::string KagiRuleText(const analysis::KesenParamSet& params, const analysis::KagiLineRec& line);
// One item per rule group with a shown rule hit.
std::string KagiRuleGroupText(const analysis::KesenParamSet& params, const analysis::KagiLineRec& line);

// The font size of the labels for a bar pitch: (pitch + 2) ÷ 2, halves to
// even, at least 6.
int KagiLabelFontSize(double pitch);

// Prints `label` without its leading "・" as a vertical column beside the
// line: below an up line's low end in red, above a down line's ("2") high
// end in blue.
void DrawKagiLabel(double low, double high, double range, double barX, const ChartContext& ctx, DrawingList& surface,
                   const std::string& direction, const std::string& label);

}  // namespace charts
