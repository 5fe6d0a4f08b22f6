#pragma once
#include <string>

#include "common/files/env_rec.h"
#include "marketdata/code_master.h"
#include "marketdata/market_report.h"
#include "marketdata/price_series.h"
#include "platform/currency.h"

namespace collect {

// The report's prices in yen: price, change, previous close, open, high and
// low (fields 10, 12, 14, 20, 21, 22) times `rate` into fields 23-28, each
// only when its source is a number.
void ConvertReportCurrency(const platform::Currency& rate, marketdata::RpiRec& rpi);

// Copies the report into the company's code-master record and recomputes
// the derived values. `china` takes the share counts in the unit of the net
// assets (field 50) and fills the tradable A and B shares as well.
//
//   report                          code master
//   "1" (report present)            RptText01
//   Key update date, time           RptText02, 03
//   4-7 rate date, time, currency,  RptText04-07 (07 the rate, a factor of
//       rate                            the minimum purchase amount)
//   9, 10 date, price               RptText08, 09
//   15 x unit 16 volume             RptText10
//   20-22 open, high, low           RptText11-13
//   13 change %, 14 previous close  RptText17, 18 (17 then derived)
//   "1", Key update date, time      ProcMark[6] (report applied)
//   70 fiscal month                 InfoText003
//   8 unit shares                   InfoText006
//   32, 35, 36 shares               InfoText007-009 (others: 007 only)
//   37, 38 A and B ratios           InfoText010, 011
//   40 x unit 42 dividend           InfoText012 (013 derived)
//   44 PER                          InfoText014
//   47 x unit 48 EPS                InfoText015
//   55 x unit 56 BPS                InfoText016
//   61 ROE                          InfoText017
//   18 x unit 19 market value, 19   InfoText018, 019
//   53, 59, 66, 68 trimmed          InfoText061-064
void ReportToCdmRec(marketdata::CdmRec& cdm, const marketdata::RpiRec& rpi, bool china);

// The day's quote as one price row, marked "*" in column 7: date (9), open,
// high, low (20-22), close and adjusted close (10), volume (15; "0" for an
// index; for China times the unit 16, or a thousand without one). False when
// the date does not read, the price is not above 0, or a stock has no volume.
bool PriceRowFromReport(const marketdata::CdmRec& cdm, const marketdata::RpiRec& rpi, bool china,
                        marketdata::PriceRec& row);

// Adds the report's quote to the stock's daily series (in place of a line
// of its day; every other line stays as it is), then refreshes the market
// values from the series (moving averages, stock split, converted figures)
// and marks the series and the report as applied, the market values as the
// report's. False, with the series untouched, when no price row could be
// built.
bool UpdatePriceFromReport(common::EnvRec& env, marketdata::CdmRec& cdm, const marketdata::RpiRec& rpi, bool china);

// Converts the sixteen report figures by the record's rate (RptText07) into
// InfoText022-037: price RptText09, open, high, low 11-13, minimum purchase
// amount 14, change 16, previous close 18, the prices two and three rows
// before 20, 22, the 5-, 25- and 75-day average prices 23, 27, 31, dividend
// InfoText012, EPS 015, BPS 016, and market value 018 in millions. An empty
// rate changes nothing; a rate that is 0 or not a number empties them; both
// are logged once per currency.
void ConvertReportFigures(marketdata::CdmRec& cdm);

// source x rate, divided by `divisor` as "0.00" when it is above 1, else
// whole ("0"); "" for a source that is not a number, "0" beyond the range.
void ConvertFigure(const platform::Currency& rate, const platform::Currency& divisor, const std::string& source,
                   std::string& target);

}  // namespace collect
