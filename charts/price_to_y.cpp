#include "charts/price_to_y.h"

#include <algorithm>

namespace charts {

double PriceToY(double value, double range, double paneHeight, double paneTop) {
    if (range <= 0) range = 1;
    const double fromBottom = std::clamp(paneHeight * value / range, 0.0, std::max(paneHeight, 0.0));
    return paneTop + paneHeight - fromBottom;
}

}  // namespace charts
