#pragma once

namespace charts {

// The y of `value` (above the axis low) in a pane of `paneHeight` starting at
// `paneTop`, where `range` is the value at the pane's top edge (0 or less
// counts as 1). A value outside [0, range] is held at the pane's edge.
double PriceToY(double value, double range, double paneHeight, double paneTop);

}  // namespace charts
