// Every writer of tab-separated lines, fed texts full of TABs, line breaks,
// NULs and other control characters, as a page may give them: each line
// keeps its field count, holds no control character but its TABs, and its
// reader takes it back whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "collect/rates/exchange_rate_files.h"
#include "collect/rates/fx_history_file.h"
#include "marketdata/code_master.h"
#include "marketdata/company_list.h"
#include "marketdata/company_profile.h"
#include "marketdata/industry_list.h"
#include "marketdata/key.h"
#include "marketdata/market_report.h"
#include "marketdata/multex_record.h"
#include "marketdata/price_series.h"
#include "platform/utf8_text.h"

namespace {

using namespace std::string_literals;

// Each kind of control character a page can carry in (raw or as a
// reference): C0 controls with TAB, LF and CR among them, DEL and a C1
// control (NEL).
const std::string kHostile = "東京都\t千代田区\r\n1\0二\x01\x1B\x1F\x7F\xC2\x85末"s;

template <class Texts>
void FillAll(Texts& texts) {
    for (std::string& text : texts) text = kHostile;
}

void FillKey(marketdata::Key& key) {
    for (std::string* field : {&key.Market, &key.Code1, &key.Category, &key.IndCode0020, &key.IndCode0030,
                               &key.IndCode0040, &key.IndCode0050, &key.IndCode0060, &key.IndCode0070,
                               &key.IndCode0080, &key.IndCode0090, &key.CorpCode, &key.Flag1, &key.Flag2,
                               &key.UpdateDate, &key.UpdateTime}) {
        *field = kHostile;
    }
}

bool FreeOfControls(std::string_view field) {
    const bool c0OrDel = std::ranges::any_of(field, [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
    return !c0OrDel && field.find("\xC2\x85") == std::string_view::npos;
}

// A line in the file: the fields between TABs, none with a control character.
std::vector<std::string_view> CleanFields(const std::string& line) {
    const std::vector<std::string_view> fields = platform::SplitAt(line, '\t');
    for (std::size_t n = 0; n < fields.size(); ++n) EXPECT_TRUE(FreeOfControls(fields[n])) << "field " << n + 1;
    return fields;
}

struct Writer {
    const char* name;
    std::size_t fields;
    // The line of a record whose every text is kHostile.
    std::function<std::string()> write;
    // The reader's verdict, and the line of what it read (empty without a reader).
    std::function<bool(const std::string& line, std::string& again)> read;
    // Fields (1-based) that the writer stamps with the time of writing.
    std::vector<std::size_t> stamped = {};
};

// The line of a record that `fill` filled.
template <class Rec>
std::function<std::string()> Written(void (*toLine)(const Rec&, std::string&), void (*fill)(Rec&)) {
    return [toLine, fill] {
        Rec rec;
        fill(rec);
        std::string line;
        toLine(rec, line);
        return line;
    };
}

// The records of a Key and texts (profiles, reports).
template <class Rec>
void FillKeyAndTexts(Rec& rec) {
    FillKey(rec.Key);
    FillAll(rec.Text);
}

// Reader and writer of one record type.
template <class Rec>
std::function<bool(const std::string&, std::string&)> ReadBack(bool (*reader)(std::string_view, Rec&),
                                                                 void (*writer)(const Rec&, std::string&)) {
    return [reader, writer](const std::string& line, std::string& again) {
        Rec rec;
        if (!reader(line, rec)) return false;
        writer(rec, again);
        return true;
    };
}

// The industry line writer takes its record to stamp.
void IndustryLine(const marketdata::IndustryRec& rec, std::string& line) {
    marketdata::IndustryRec copy = rec;
    marketdata::IndustryRecToLine(copy, line);
}

std::string CdmLine(marketdata::CdmRec& rec) {
    std::string line;
    marketdata::CdmRecToLine(rec, line);
    return line;
}

TEST(TabLineWriters, EveryLineKeepsItsFieldsWhateverThePageText) {
    const std::vector<Writer> writers = {
        {"Key", 16,
         [] {
             marketdata::Key key;
             FillKey(key);
             std::string line;
             marketdata::KeyToLine(key, line);
             return line;
         },
         [](const std::string& line, std::string& again) {
             const std::vector<std::string_view> fields = marketdata::SplitTabs(line);
             marketdata::Key key;
             long position = 0;
             marketdata::KeyFromFields(fields, position, key);
             marketdata::KeyToLine(key, again);
             return true;
         }},
        {"CodeMaster", static_cast<std::size_t>(marketdata::kCdmFieldCount),
         [] {
             marketdata::CdmRec rec;
             marketdata::InitCdmRec(rec, 0);
             FillKey(rec.Key);
             for (std::string* text : {&rec.Attr1, &rec.Attr2, &rec.Attr3, &rec.Attr4, &rec.Attr5, &rec.Attr6,
                                       &rec.Text1, &rec.Text2, &rec.Text3}) {
                 *text = kHostile;
             }
             for (marketdata::ProcMarkRec& mark : rec.ProcMark) mark = {kHostile, kHostile, kHostile};
             for (marketdata::TermRec& term : rec.Term) term = {kHostile, kHostile};
             FillAll(rec.RptText);
             FillAll(rec.InfoText);
             return CdmLine(rec);
         },
         [](const std::string& line, std::string& again) {
             marketdata::CdmRec rec;
             std::string problem;
             if (!marketdata::LineToCdmRec(line, rec, problem)) return false;
             again = CdmLine(rec);
             return true;
         },
         {15, 16}},
        {"CompanyList", static_cast<std::size_t>(marketdata::kListFieldCount),
         Written<marketdata::ListRec>(marketdata::ListRecToLine,
                                      [](marketdata::ListRec& rec) {
                                          FillKey(rec.Key);
                                          rec.ListFlag = rec.ListCode = kHostile;
                                          FillAll(rec.ListText);
                                      }),
         ReadBack<marketdata::ListRec>(marketdata::LineToListRec, marketdata::ListRecToLine)},
        {"IndustryList", static_cast<std::size_t>(marketdata::kIndustryFieldCount),
         Written<marketdata::IndustryRec>(IndustryLine,
                                          [](marketdata::IndustryRec& rec) {
                                              FillKey(rec.Key);
                                              rec.Fixed1 = rec.Fixed4 = rec.Fixed6 = kHostile;
                                              FillAll(rec.Text);
                                          }),
         ReadBack<marketdata::IndustryRec>(marketdata::ParseIndustryLine, IndustryLine)},
        {"CompanyProfile", static_cast<std::size_t>(marketdata::kCpiFieldCount),
         Written<marketdata::CpiRec>(marketdata::CpiRecToLine, FillKeyAndTexts),
         ReadBack<marketdata::CpiRec>(marketdata::LineToCpiRec, marketdata::CpiRecToLine)},
        {"MarketReport", static_cast<std::size_t>(marketdata::kRpiFieldCount),
         Written<marketdata::RpiRec>(marketdata::RpiRecToLine, FillKeyAndTexts),
         ReadBack<marketdata::RpiRec>(marketdata::LineToRpiRec, marketdata::RpiRecToLine)},
        {"ResearchProvider", static_cast<std::size_t>(marketdata::kMultexFieldCount),
         Written<marketdata::MultexRec>(marketdata::MultexRecToLine,
                                        [](marketdata::MultexRec& rec) {
                                            FillKeyAndTexts(rec);
                                            for (auto* group : {&rec.A1, &rec.A2}) FillAll(*group);
                                            for (auto* group : {&rec.B1, &rec.B2, &rec.B3}) FillAll(*group);
                                            for (auto* group : {&rec.C1, &rec.C2, &rec.C3, &rec.C4, &rec.C5}) {
                                                FillAll(*group);
                                            }
                                        }),
         ReadBack<marketdata::MultexRec>(marketdata::ParseMultexLine, marketdata::MultexRecToLine)},
        {"PriceSeries", 8,
         Written<marketdata::PriceRec>(marketdata::PriceRecToLine, [](marketdata::PriceRec& rec) { FillAll(rec.Text); }),
         [](const std::string& line, std::string& again) {
             marketdata::PriceRec rec;
             if (!marketdata::SplitPriceLine(line, rec)) return false;
             marketdata::PriceRecToLine(rec, again);
             return true;
         }},
        {"RateHistory", collect::kFxHistoryFieldCount,
         [] {
             collect::FxHistoryRec rec;
             rec.Currency = rec.Date = kHostile;
             FillAll(rec.Rates);
             return collect::FxHistoryRecToLine(rec);
         },
         [](const std::string& line, std::string& again) {
             collect::FxHistoryRec rec;
             if (!collect::LineToFxHistoryRec(line, rec)) return false;
             again = collect::FxHistoryRecToLine(rec);
             return true;
         }},
        // Written only, for the report collectors read the rates from the settings.
        {"LatestRates", 10,
         [] {
             collect::ExchangeRateRec rec;
             rec.RateDate = rec.RateTime = kHostile;
             FillAll(rec.Rates);
             return collect::LatestRatesLine(rec);
         },
         nullptr},
    };
    for (const Writer& writer : writers) {
        SCOPED_TRACE(writer.name);
        const std::string line = writer.write();
        const std::vector<std::string_view> written = CleanFields(line);
        EXPECT_EQ(written.size(), writer.fields);
        if (!writer.read) continue;
        std::string again;
        const bool taken = writer.read(line, again);
        EXPECT_TRUE(taken) << "refused by its reader";
        // No field moved on the way.
        const std::vector<std::string_view> read = platform::SplitAt(again, '\t');
        if (!taken || read.size() != written.size()) continue;
        for (std::size_t n = 1; n <= read.size(); ++n) {
            if (std::ranges::find(writer.stamped, n) != writer.stamped.end()) continue;
            EXPECT_EQ(read[n - 1], written[n - 1]) << "field " << n;
        }
    }
}

}  // namespace
