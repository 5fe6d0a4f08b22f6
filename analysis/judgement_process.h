#pragma once

namespace analysis {

// The process index of the chart-line judgement: its process context, its
// child tasks and its slots in the company record.
inline constexpr long kJudgementProcess = 2;

}  // namespace analysis
