#pragma once
#include "analysis/kagi_flag.h"
#include "platform/currency.h"

namespace analysis {

// A trading day of a stock's day series while the lines are built: only the
// fields a day sets, named as in `KagiLineRec`, so that thousands of days
// per stock are a quarter of the bytes of full records. Every other field of
// a day's stored record keeps its template value (DayRecord gives that
// record). KagiDate is a day serial.
struct KagiDayRec {
    double KagiDate = 0;
    platform::Currency Price;
    platform::Currency Low;
    platform::Currency High;
    platform::Currency Volume;
    platform::Currency VolumeSum;
    platform::Currency Tick;
    platform::Currency Width;
    platform::Currency Move;
    KagiFlag Direction;
    KagiFlag Marked;
    platform::Currency OpenCopy;
    platform::Currency PriceCopy;

    friend bool operator==(const KagiDayRec&, const KagiDayRec&) = default;
};

}  // namespace analysis
