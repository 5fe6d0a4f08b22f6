#include "analysis/kagi_lines.h"

#include <algorithm>
#include <utility>

#include "analysis/judgement_engine.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "platform/date.h"

namespace analysis {

using platform::Currency;

namespace {

const std::string kUp = "1";
const std::string kDown = "2";
const std::string kMarked = "1";
const std::string kUnmarked = "0";

Currency Abs(const Currency& value) { return value < Currency() ? -value : value; }

bool HasDirection(const KagiLineRec& rec) { return rec.Direction == kUp || rec.Direction == kDown; }

// Only BandLow is compared, so a price above the top band takes row 1; below
// every band the day keeps width 0 and is therefore always a turn candidate.
void SetBands(std::span<const marketdata::PriceLimitRec> bands, std::vector<KagiLineRec>& days) {
    // Prices move little from day to day: in a table ordered from the highest
    // band down, the band of the day before is the one the search would find
    // when the price is at or above its low and below the low of the row above.
    const bool descending = std::ranges::is_sorted(bands, std::ranges::greater{}, &marketdata::PriceLimitRec::BandLow);
    const marketdata::PriceLimitRec* band = nullptr;
    for (KagiLineRec& day : days) {
        const bool sameBand = descending && band != nullptr && band->BandLow <= day.Price &&
                              (band == bands.data() || (band - 1)->BandLow > day.Price);
        if (!sameBand) band = marketdata::FindPriceBand(bands, day.Price);
        if (band == nullptr || band->BandLow > day.Price) continue;
        day.Tick = band->Tick;
        day.Width = band->Width;
    }
}

// A day is a turn candidate when it lies at least its own width away from the
// last candidate; day 1 is compared with itself first and then always marked.
void MarkTurnCandidates(std::vector<KagiLineRec>& days) {
    std::size_t ref = 0;
    for (std::size_t j = 0; j < days.size(); ++j) {
        KagiLineRec& day = days[j];
        const Currency move = Abs(days[ref].Price - day.Price);
        if (move < day.Width) {
            day.Marked = kUnmarked;
            continue;
        }
        day.Marked = kMarked;
        day.Direction = day.Price >= days[ref].Price ? kUp : kDown;
        day.Move = move;
        ref = j;
    }
    days.front().Marked = kMarked;
    const auto firstTurn = std::find_if(days.begin() + 1, days.end(), HasDirection);
    if (firstTurn != days.end()) days.front().Direction = firstTurn->Direction;
}

void FillDirectionForward(std::vector<KagiLineRec>& days) {
    std::string running;
    for (KagiLineRec& day : days) {
        if (HasDirection(day))
            running = day.Direction;
        else
            day.Direction = running;
    }
}

// A marked day spans the prices from the previous marked day to its own and
// sums the volume since then.
void SetRangesAndVolume(std::vector<KagiLineRec>& days) {
    KagiLineRec& first = days.front();
    first.High = first.Price;
    first.Low = first.Price;
    Currency ref = first.Price;
    Currency sum = first.Volume;
    first.VolumeSum = sum;
    for (std::size_t j = 1; j < days.size(); ++j) {
        KagiLineRec& day = days[j];
        sum += day.Volume;
        day.VolumeSum = sum;
        if (day.Marked != kMarked) continue;
        day.Low = std::min(ref, day.Price);
        day.High = std::max(ref, day.Price);
        ref = day.Price;
        sum = Currency();
    }
}

void MarkDays(std::span<const marketdata::PriceLimitRec> bands, std::vector<KagiLineRec>& days) {
    SetBands(bands, days);
    MarkTurnCandidates(days);
    FillDirectionForward(days);
    SetRangesAndVolume(days);
}

// A new line starts where the previous one ended and breaks the previous line
// of its own direction two ticks beyond that line's end.
void OpenLine(const KagiLineRec& day, std::vector<KagiLineRec>& lines) {
    KagiLineRec& previous = lines.back();
    previous.LineLength = Abs(previous.High - previous.Low);
    previous.LengthWork = previous.LineLength;

    KagiLineRec line = day;
    line.SignalLine = 0;
    line.PairLine = 0;
    line.RuleBits = {};
    if (line.Direction == kDown) {
        line.High = previous.High;
        line.BreakPrice = previous.Low - previous.Tick * 2;
    } else {
        line.Low = previous.Low;
        line.BreakPrice = previous.High + previous.Tick * 2;
    }
    lines.push_back(std::move(line));
}

void AddMarkedDay(const KagiLineRec& day, std::vector<KagiLineRec>& lines) {
    KagiLineRec& last = lines.back();
    if (day.Direction != last.Direction)
        OpenLine(day, lines);
    else if (day.Direction == kDown)
        last.Low = day.Low;
    else
        last.High = day.High;
}

}  // namespace

KagiLineRec KagiTemplateRecord() {
    const double base = platform::ToDaySerial(platform::Date{1900, 1, 1});
    KagiLineRec rec;
    rec.KagiDate = base;
    rec.KagiDate2 = base;
    rec.RuleDate = base;
    return rec;
}

void BuildDaySeries(std::span<const marketdata::PriceRec> rows, std::vector<KagiLineRec>& days) {
    const KagiLineRec blank = KagiTemplateRecord();
    days.clear();
    days.reserve(rows.size());
    for (const marketdata::PriceRec& row : rows) {
        KagiLineRec day = blank;
        day.KagiDate = platform::ToDaySerial(row.Date);
        day.Volume = row.Volume;
        day.Low = row.Open;
        day.High = row.Close;
        day.Price = row.AdjClose == Currency() ? row.Close : row.AdjClose;
        day.OpenCopy = day.Low;
        day.PriceCopy = day.Price;
        if (day.Price == Currency()) continue;
        days.push_back(std::move(day));
    }
}

void JudgeKagiLines(const KesenParamSet& params, std::span<const marketdata::PriceLimitRec> bands,
                    std::vector<KagiLineRec>& days, std::vector<KagiLineRec>& lines) {
    lines.clear();
    if (days.empty()) return;
    MarkDays(bands, days);
    lines.reserve(days.size());
    lines.push_back(days.front());
    SignalState signals;
    for (std::size_t j = 1; j < days.size(); ++j) {
        if (days[j].Marked != kMarked) continue;
        AddMarkedDay(days[j], lines);
        JudgeMarkedDay(params, lines, static_cast<std::int32_t>(lines.size()), days[j].KagiDate, signals);
    }
    CloseJudgement(days.back().Price, lines, signals);
}

bool AKAGI41M(const KesenParamSet& params, marketdata::CdmRec& company,
              std::span<const marketdata::PriceLimitRec> bands, std::vector<KagiLineRec>& days,
              std::vector<KagiLineRec>& lines, std::vector<marketdata::PriceRec> prices) {
    common::State().procedureId = "AKAGI41M";
    const common::FunctionIdGuard functionId("AKAGI41M");
    days.clear();
    lines.clear();
    if (prices.empty()) return false;

    marketdata::ProcMarkRec& mark = company.ProcMark[kJudgementProcess];
    mark.MarkDate = prices.back().Text[0];
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
