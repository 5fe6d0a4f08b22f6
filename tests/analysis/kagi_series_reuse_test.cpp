#include <gtest/gtest.h>

#include <vector>

#include "analysis/kagi_line_rec.h"
#include "analysis/kagi_lines.h"
#include "analysis/kesen_params.h"
#include "common/settings/default_settings.h"
#include "marketdata/code_master.h"
#include "tests/analysis/kagi_price_rows.h"
#include "tests/support/program_folder.h"

namespace {

using analysis::KagiDayRec;
using analysis::KagiLineRec;

struct Judged {
    std::vector<KagiDayRec> days;
    std::vector<KagiLineRec> lines;
};

// A run keeps its series vectors from company to company; the records of a
// longer series judged before must leave no trace in the next one.
class KagiSeriesReuse : public ::testing::Test {
protected:
    KagiSeriesReuse() {
        common::WriteKesenDefaults();
        analysis::LoadKesenParams(params_);
    }

    void Judge(const std::vector<const char*>& closes, Judged& into) {
        marketdata::CdmRec company;
        analysis::AKAGI41M(params_, company, analysis_test::OneBand(), into.days, into.lines,
                           analysis_test::DailyValues(closes));
    }

    testsupport::ProgramFolder folder_{true};
    analysis::KesenParamSet params_;
};

// A widening zigzag: every day turns, lines break and rules fire, so the
// records carry marks, bits and signals.
const std::vector<const char*> kLong{"500", "520", "490", "530", "480", "540", "470", "550", "460", "560",
                                     "450", "570", "440", "580", "430", "590", "420", "600", "410", "610"};

TEST_F(KagiSeriesReuse, ReusedVectorsGiveTheSeriesOfFreshOnes) {
    const std::vector<std::vector<const char*>> laterSeries{
        {"700", "712", "0", "690", "725", "680"},  // shorter, with a row without a price
        {"300"},                                   // one day
        {"0", "0"},                                // no day at all
    };
    for (const auto& closes : laterSeries) {
        SCOPED_TRACE(closes.size());
        Judged reused;
        Judge(kLong, reused);
        ASSERT_GT(reused.lines.size(), 10u);
        Judge(closes, reused);

        Judged fresh;
        Judge(closes, fresh);
        EXPECT_EQ(reused.days, fresh.days);
        EXPECT_EQ(reused.lines, fresh.lines);
    }
}

}  // namespace
