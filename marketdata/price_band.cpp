#include "marketdata/price_band.h"

#include <algorithm>
#include <optional>

#include "common/files/data_file.h"
#include "common/files/text_file_read.h"
#include "common/logs/logs.h"
#include "common/logs/message_box.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "common/screens/ui_seam.h"
#include "common/startup/run_env.h"
#include "marketdata/key.h"
#include "platform/number_format.h"
#include "platform/numeric_text.h"
#include "platform/trapped_error.h"
#include "platform/utf8_text.h"

namespace marketdata {

namespace {

// Highest band first: the lookup takes the first row whose low is at most
// the price. Each band's high plus its tick is the next band's low.
constexpr std::string_view kBuiltInBands[kBuiltInPriceBandCount] = {
    "100000000\t999999999\t2000000\t100000",
    "90000000\t99900000\t1000000\t100000",
    "80000000\t89900000\t900000\t100000",
    "70000000\t79900000\t800000\t100000",
    "60000000\t69900000\t700000\t100000",
    "50000000\t59900000\t600000\t100000",
    "40000000\t49900000\t500000\t100000",
    "30000000\t39900000\t400000\t100000",
    "20000000\t29950000\t300000\t50000",
    "10000000\t19990000\t200000\t10000",
    "9000000\t9990000\t100000\t10000",
    "8000000\t8990000\t90000\t10000",
    "7000000\t7990000\t80000\t10000",
    "6000000\t6990000\t70000\t10000",
    "5000000\t5990000\t60000\t10000",
    "4000000\t4990000\t50000\t10000",
    "3000000\t3990000\t40000\t10000",
    "2000000\t2990000\t30000\t10000",
    "1000000\t1990000\t20000\t10000",
    "900000\t999000\t10000\t1000",
    "800000\t899000\t9000\t1000",
    "700000\t799000\t8000\t1000",
    "600000\t699000\t7000\t1000",
    "500000\t599000\t6000\t1000",
    "400000\t499000\t5000\t1000",
    "300000\t399000\t4000\t1000",
    "200000\t299000\t3000\t1000",
    "100000\t199000\t2000\t1000",
    "90000\t99900\t1000\t100",
    "80000\t89900\t900\t100",
    "70000\t79900\t800\t100",
    "60000\t69900\t700\t100",
    "50000\t59900\t600\t100",
    "45000\t49950\t500\t50",
    "40000\t44950\t450\t50",
    "35000\t39950\t400\t50",
    "30000\t34950\t350\t50",
    "29000\t29990\t310\t10",
    "28000\t28990\t300\t10",
    "27000\t27990\t290\t10",
    "26000\t26990\t280\t10",
    "25000\t25990\t270\t10",
    "24000\t24990\t260\t10",
    "23000\t23990\t250\t10",
    "22000\t22990\t240\t10",
    "21000\t21990\t230\t10",
    "20000\t20990\t220\t10",
    "19000\t19990\t210\t10",
    "18000\t18990\t200\t10",
    "17000\t17990\t190\t10",
    "16000\t16990\t180\t10",
    "15000\t15990\t170\t10",
    "14000\t14990\t160\t10",
    "13000\t13990\t150\t10",
    "12000\t12990\t140\t10",
    "11000\t11990\t130\t10",
    "10000\t10990\t120\t10",
    "9000\t9990\t110\t10",
    "8000\t8990\t100\t10",
    "7000\t7990\t90\t10",
    "6000\t6990\t80\t10",
    "5000\t5990\t70\t10",
    "4000\t4990\t60\t10",
    "3000\t3990\t50\t10",
    "2500\t2995\t40\t5",
    "2000\t2495\t35\t5",
    "1900\t1999\t33\t1",
    "1800\t1899\t32\t1",
    "1700\t1799\t31\t1",
    "1600\t1699\t30\t1",
    "1500\t1599\t29\t1",
    "1400\t1499\t28\t1",
    "1300\t1399\t27\t1",
    "1200\t1299\t26\t1",
    "1100\t1199\t25\t1",
    "1000\t1099\t24\t1",
    "950\t999\t23\t1",
    "900\t949\t22\t1",
    "850\t899\t21\t1",
    "800\t849\t20\t1",
    "750\t799\t19\t1",
    "700\t749\t18\t1",
    "650\t699\t17\t1",
    "600\t649\t16\t1",
    "550\t599\t15\t1",
    "500\t549\t14\t1",
    "450\t499\t13\t1",
    "400\t449\t12\t1",
    "350\t399\t11\t1",
    "300\t349\t10\t1",
    "250\t299\t9\t1",
    "200\t249\t8\t1",
    "150\t199\t7\t1",
    "100\t149\t6\t1",
    "50\t99\t5\t1",
    "1\t49\t4\t1",
};

constexpr const char* kVbError = "ＶＢエラーを検出しました。　";
constexpr const char* kSkippedLine = "値幅表の読めない行を読み飛ばしました。　";

void ReportSkippedLines(const std::string& path, std::size_t firstLine, std::size_t count) {
    std::string text = std::string(kSkippedLine) + "\r\n\r\n" + path + "\r\n" + std::to_string(firstLine) + "行目";
    if (count > 1) text += "（他に" + std::to_string(count - 1) + "行）";
    common::ShowWarning(text, 48);
}

}  // namespace

bool ParsePriceBandLine(std::string_view line, PriceLimitRec& row) {
    const std::vector<std::string_view> columns = SplitTabs(line);
    if (columns.size() < 4) return false;
    std::optional<platform::Currency> values[4];
    for (std::size_t c = 0; c < 4; ++c) {
        // A number beyond the Currency range is as unreadable as a word.
        try {
            values[c] = platform::ParseCurrency(columns[c]);
        } catch (const platform::TrappedError&) {
            return false;
        }
        if (!values[c]) return false;
    }
    if (*values[2] <= platform::Currency()) return false;
    row.BandLowText.assign(columns[0]);
    row.BandHighText.assign(columns[1]);
    row.WidthText.assign(columns[2]);
    row.TickText.assign(columns[3]);
    row.BandLow = *values[0];
    row.BandHigh = *values[1];
    row.Width = *values[2];
    row.Tick = *values[3];
    return true;
}

void BuildBuiltInPriceBands(std::vector<PriceLimitRec>& table) {
    table.assign(kBuiltInPriceBandCount, PriceLimitRec{});
    for (std::size_t k = 0; k < table.size(); ++k) ParsePriceBandLine(kBuiltInBands[k], table[k]);
}

bool CFNHB10M(long fileNumber, const std::string& extraName, common::EnvRec& env, std::vector<PriceLimitRec>& table) {
    common::FunctionIdGuard guard("CFNHB10M");
    table.clear();
    std::string path;
    std::vector<std::string> lines;
    if (common::FindDataFile(fileNumber, 0, 0, extraName, "", env, path)) common::CFFIL20M(path, lines);
    table.reserve(lines.size());
    std::size_t firstBadLine = 0;
    std::size_t badLines = 0;
    for (std::size_t j = 0; j < lines.size(); ++j) {
        if (platform::TrimBlanks(lines[j]).empty()) continue;
        PriceLimitRec row;
        if (ParsePriceBandLine(lines[j], row)) {
            table.push_back(std::move(row));
            continue;
        }
        const common::RunState& state = common::State();
        common::WriteErrorLog(state.errorLogOn, state.procedureId, common::log_tag::kWarning, "00",
                              kSkippedLine + path + "　" + std::to_string(j + 1) + "行目　" + lines[j]);
        if (badLines++ == 0) firstBadLine = j + 1;
    }
    if (badLines > 0) ReportSkippedLines(path, firstBadLine, badLines);
    if (table.empty()) {
        BuildBuiltInPriceBands(table);
    } else {
        table.shrink_to_fit();
    }
    return true;
}

const PriceLimitRec* FindPriceBand(std::span<const PriceLimitRec> table, const platform::Currency& price) {
    const auto found = std::ranges::find_if(table, [&](const PriceLimitRec& row) { return row.BandLow <= price; });
    return found != table.end() ? &*found : LowestPriceBand(table);
}

const PriceLimitRec* LowestPriceBand(std::span<const PriceLimitRec> table) {
    const auto lowest = std::ranges::min_element(table, {}, &PriceLimitRec::BandLow);
    return lowest != table.end() ? &*lowest : nullptr;
}

void AHNHB00M() {
    try {
        common::EnvRec env;
        common::CCENV00M(env);
        std::vector<PriceLimitRec> table;
        CFNHB10M(kPriceBandFileNumber, "", env, table);
        common::ShowNotice("pCnt=" + platform::FormatNumber(static_cast<double>(table.size()), "0"), 0);
    } catch (const platform::TrappedError& error) {
        common::LogVbError(kVbError, 16, "AHNHB00M", error);
        common::ShowVbErrorMessage(kVbError, 16, error);
        common::EndProgram();
    }
}

}  // namespace marketdata
