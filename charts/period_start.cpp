#include "charts/period_start.h"

#include <cstdio>

namespace charts {

std::string PeriodStartDate(std::int32_t periodCode, const platform::Date& lastDate) {
    int year = lastDate.year;
    int month = lastDate.month;
    switch (periodCode) {
        case 1:
        case 2:
            month -= periodCode == 1 ? 3 : 6;
            if (month <= 0) {
                month += 12;
                --year;
            }
            break;
        case 3: year -= 1; break;
        case 4: year -= 2; break;
        case 5: year -= 5; break;
        default: return "1900/01/01";
    }
    char text[16];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d", year, month, lastDate.day);
    return text;
}

}  // namespace charts
