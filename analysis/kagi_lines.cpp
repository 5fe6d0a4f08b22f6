#include "analysis/kagi_lines.h"

#include <algorithm>

#include "analysis/judgement_engine.h"
#include "analysis/kagi_flag.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "platform/date.h"

namespace analysis {

using platform::Currency;

namespace {

constexpr char kMarked = '1';
constexpr char kUnmarked = '0';

Currency Abs(const Currency& value) { return value < Currency() ? -value : value; }

// Gives each day its band's tick and width, as FindPriceBand would: only
// BandLow is compared, so a price above the top band takes row 1, and a price
// below every band takes the lowest band (a width of 0 would make every day
// there a turn candidate).
class BandFinder {
public:
    explicit BandFinder(std::span<const marketdata::PriceLimitRec> bands)
        : bands_(bands),
          descending_(std::ranges::is_sorted(bands, std::ranges::greater{}, &marketdata::PriceLimitRec::BandLow)),
          lowest_(marketdata::LowestPriceBand(bands)) {}

    void SetBand(KagiDayRec& day) {
        // In a table ordered from the highest band down, the band the search
        // would find is the first whose low is at most the price: bisection
        // finds it. Prices move little from day to day, so the band of the day
        // before is tried first.
        if (!descending_) {
            band_ = marketdata::FindPriceBand(bands_, day.Price);
        } else if (band_ == nullptr || !Holds(*band_, day.Price)) {
            const auto found = std::ranges::partition_point(
                bands_, [&](const marketdata::PriceLimitRec& row) { return row.BandLow > day.Price; });
            band_ = found != bands_.end() ? &*found : lowest_;
        }
        if (band_ == nullptr) return;
        day.Tick = band_->Tick;
        day.Width = band_->Width;
    }

private:
    // Whether the search would give `band` for `price`: the price is at or
    // above its low, or below every low when it is the lowest band, and below
    // the low of the row above.
    bool Holds(const marketdata::PriceLimitRec& band, const Currency& price) const {
        const bool atOrAbove = band.BandLow <= price || &band == lowest_;
        return atOrAbove && (&band == bands_.data() || (&band - 1)->BandLow > price);
    }

    std::span<const marketdata::PriceLimitRec> bands_;
    bool descending_;
    const marketdata::PriceLimitRec* lowest_;
    const marketdata::PriceLimitRec* band_ = nullptr;
};

// The day serials of the rows in order. Within one month a serial is the one
// before plus the difference of the days, exactly as the calendar gives it,
// so almost every row is spared the calendar arithmetic. The calendar is
// only ever given copies, so that the state can stay in registers.
class DaySerials {
public:
    double Of(const platform::Date& date) {
        if (date.year != last_.year || date.month != last_.month) {
            last_ = date;
            serial_ = platform::ToDaySerial(platform::Date(date));
            return serial_;
        }
        serial_ += date.day - last_.day;
        last_.day = date.day;
        return serial_;
    }

private:
    platform::Date last_;
    double serial_ = platform::ToDaySerial(platform::Date());
};

// Day 1 is compared with itself, so it is a turn candidate, rising, only at a
// width of 0 or less; it is marked all the same. It spans its own price.
void MarkFirstDay(KagiDayRec& first) {
    if (first.Width <= Currency()) {
        first.Direction = KagiFlag(kFlagUp);
        first.Move = Currency();
    }
    first.Marked = KagiFlag(kMarked);
    first.High = first.Price;
    first.Low = first.Price;
    first.VolumeSum = first.Volume;
}

// A later day sums the volume since the last turn candidate (`volume`, day 1's
// own included) and is a candidate itself when it lies at least its own width
// from that candidate's price `reference`. A candidate spans the prices from
// there to its own and becomes the reference.
void MarkDay(KagiDayRec& day, Currency& reference, Currency& volume) {
    volume += day.Volume;
    day.VolumeSum = volume;
    const Currency move = Abs(reference - day.Price);
    if (move < day.Width) {
        day.Marked = KagiFlag(kUnmarked);
        return;
    }
    day.Marked = KagiFlag(kMarked);
    day.Direction = KagiFlag(day.Price >= reference ? kFlagUp : kFlagDown);
    day.Move = move;
    day.Low = std::min(reference, day.Price);
    day.High = std::max(reference, day.Price);
    reference = day.Price;
    volume = Currency();
}

// Days 1 to `end` - 1, none of them marked, take `direction`.
void SetDirections(std::vector<KagiDayRec>& days, std::size_t end, KagiFlag direction) {
    for (std::size_t k = 1; k < end; ++k) days[k].Direction = direction;
}

// Built once: a judgement opens hundreds of lines per series.
const KagiLineRec& LineTemplate() {
    static const KagiLineRec rec = KagiTemplateRecord();
    return rec;
}

void CopyDayValues(const KagiDayRec& day, KagiLineRec& rec) {
    rec.KagiDate = day.KagiDate;
    rec.Price = day.Price;
    rec.Low = day.Low;
    rec.High = day.High;
    rec.Volume = day.Volume;
    rec.VolumeSum = day.VolumeSum;
    rec.Tick = day.Tick;
    rec.Width = day.Width;
    rec.Move = day.Move;
    rec.Direction = day.Direction;
    rec.Marked = day.Marked;
    rec.OpenCopy = day.OpenCopy;
    rec.PriceCopy = day.PriceCopy;
}

KagiLineRec& AppendDayRecord(const KagiDayRec& day, std::vector<KagiLineRec>& lines) {
    // Filled in place: the record is large, and a finished one would be copied in.
    KagiLineRec& rec = lines.emplace_back(LineTemplate());
    CopyDayValues(day, rec);
    return rec;
}

// A new line starts where the previous one ended and breaks the previous line
// of its own direction two ticks beyond that line's end.
void OpenLine(const KagiDayRec& day, std::vector<KagiLineRec>& lines) {
    KagiLineRec& previous = lines.back();
    previous.LineLength = Abs(previous.High - previous.Low);
    previous.LengthWork = previous.LineLength;
    const bool down = day.Direction.Is(kFlagDown);
    const Currency start = down ? previous.High : previous.Low;
    const Currency breakPrice = down ? previous.Low - previous.Tick * 2 : previous.High + previous.Tick * 2;

    KagiLineRec& line = AppendDayRecord(day, lines);
    if (down)
        line.High = start;
    else
        line.Low = start;
    line.BreakPrice = breakPrice;
}

void AddMarkedDay(const KagiDayRec& day, std::vector<KagiLineRec>& lines) {
    KagiLineRec& last = lines.back();
    if (day.Direction != last.Direction)
        OpenLine(day, lines);
    else if (day.Direction.Is(kFlagDown))
        last.Low = day.Low;
    else
        last.High = day.High;
}

}  // namespace

KagiLineRec KagiTemplateRecord() {
    // Every line opens from a template.
    static const double base = platform::ToDaySerial(platform::Date{1900, 1, 1});
    KagiLineRec rec;
    rec.KagiDate = base;
    rec.KagiDate2 = base;
    rec.RuleDate = base;
    return rec;
}

KagiLineRec DayRecord(const KagiDayRec& day) {
    KagiLineRec rec = LineTemplate();
    CopyDayValues(day, rec);
    return rec;
}

std::vector<KagiLineRec> DayRecords(std::span<const KagiDayRec> days) {
    std::vector<KagiLineRec> recs;
    recs.reserve(days.size());
    for (const KagiDayRec& day : days) recs.push_back(DayRecord(day));
    return recs;
}

void BuildDaySeries(std::span<const marketdata::PriceValues> rows, std::vector<KagiDayRec>& days) {
    DaySerials serials;
    days.clear();
    // At its full size at once: grown step by step, a first series would
    // copy its days and touch twice the memory.
    days.reserve(rows.size());
    for (const marketdata::PriceValues& row : rows) {
        const Currency price = row.AdjClose == Currency() ? row.Close : row.AdjClose;
        if (price == Currency()) continue;
        // Built whole in place: clearing the record first and filling it after costs more.
        days.push_back({.KagiDate = serials.Of(row.Date),
                        .Price = price,
                        .Low = row.Open,
                        .High = row.Close,
                        .Volume = row.Volume,
                        .VolumeSum = {},
                        .Tick = {},
                        .Width = {},
                        .Move = {},
                        .Direction = {},
                        .Marked = {},
                        .OpenCopy = row.Open,
                        .PriceCopy = price});
    }
}

void JudgeKagiLines(const KesenParamSet& params, std::span<const marketdata::PriceLimitRec> bands,
                    std::vector<KagiDayRec>& days, std::vector<KagiLineRec>& lines) {
    lines.clear();
    if (days.empty()) return;
    lines.reserve(days.size());
    // One walk: each day's band, mark, move, range and volume sum, and each
    // marked day judged as it is marked; the lines only ever look back.
    BandFinder finder(bands);
    KagiDayRec& first = days.front();
    finder.SetBand(first);
    MarkFirstDay(first);
    AppendDayRecord(first, lines);
    Currency reference = first.Price;
    Currency volume = first.Volume;
    // A day that is not marked takes the direction of the last marked day
    // before it. Until the first turn there is none: day 1 and the days up to
    // that turn take its direction, and without any turn they all keep day
    // 1's own.
    KagiFlag running;
    bool turned = false;
    SignalState signals;
    for (std::size_t j = 1; j < days.size(); ++j) {
        KagiDayRec& day = days[j];
        finder.SetBand(day);
        MarkDay(day, reference, volume);
        if (!day.Marked.Is(kMarked)) {
            day.Direction = running;
            continue;
        }
        if (!turned) {
            // Day 1 takes the direction of the first turn, and so does its line.
            turned = true;
            first.Direction = day.Direction;
            lines.front().Direction = day.Direction;
            SetDirections(days, j, day.Direction);
        }
        running = day.Direction;
        AddMarkedDay(day, lines);
        JudgeMarkedDay(params, lines, static_cast<std::int32_t>(lines.size()), day.KagiDate, signals);
    }
    if (!turned) SetDirections(days, days.size(), first.Direction);
    CloseJudgement(days.back().Price, lines, signals);
}

bool AKAGI41M(const KesenParamSet& params, marketdata::CdmRec& company,
              std::span<const marketdata::PriceLimitRec> bands, std::vector<KagiDayRec>& days,
              std::vector<KagiLineRec>& lines, std::span<const marketdata::PriceValues> prices) {
    common::State().procedureId = "AKAGI41M";
    const common::FunctionIdGuard functionId("AKAGI41M");
    lines.clear();
    if (prices.empty()) {
        days.clear();
        return false;
    }

    marketdata::ProcMarkRec& mark = company.ProcMark[kJudgementProcess];
    mark.MarkDate = platform::DateText(prices.back().Date);
    mark.MarkTime = "00:00:00";

    BuildDaySeries(prices, days);
    if (days.empty()) return true;

    const platform::DateTime now = platform::Now();
    mark.MarkDate = platform::DateText(now.date);
    mark.MarkTime = platform::TimeText(now.hour, now.minute, now.second);
    marketdata::TermRec& term = company.Term[kJudgementProcess];
    term.FirstDate = platform::DateText(platform::FromDaySerial(days.front().KagiDate));
    term.LastDate = platform::DateText(platform::FromDaySerial(days.back().KagiDate));
    JudgeKagiLines(params, bands, days, lines);
    return true;
}

}  // namespace analysis
