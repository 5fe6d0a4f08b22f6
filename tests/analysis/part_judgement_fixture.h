#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "analysis/judge_record_io.h"
#include "analysis/kagi_judge_rec.h"
#include "analysis/part_results.h"
#include "marketdata/split_run_frame.h"
#include "common/files/data_file.h"
#include "common/files/file_registry.h"
#include "common/logs/logs.h"
#include "common/startup/process_context.h"
#include "common/logs/progress.h"
#include "common/startup/run_env.h"
#include "common/run_state.h"
#include "common/settings/settings.h"
#include "common/tasks/task_records.h"
#include "common/files/text_file_read.h"
#include "common/files/text_file_write.h"
#include "marketdata/code_master.h"
#include "marketdata/price_series.h"
#include "platform/cp932.h"
#include "platform/record_io.h"
#include "tests/support/fake_ui.h"
#include "tests/support/file_bytes.h"
#include "tests/support/judgement_market.h"
#include "tests/support/program_folder.h"

namespace analysis_test {

// A closing-price zigzag that widens by 10 each turn: with one band of width
// 10 and the rules counted (EnvChange 0, EnvRange 10) the judgement signals
// a buy on line 11 (at 552, closed at 448: -104) and a sell on line 12 (at
// 448, valued at the last close 440: +8).
inline const std::vector<const char*> kSignalZigzag{"500", "510", "490", "520", "480", "530", "470",
                                                   "540", "460", "550", "450", "560", "440"};

// Part 1 of the Japanese judgement run (process 21) in a Korvane program
// folder: price-band table, judgement and chart settings, the part's task
// record; companies and their daily series as each test writes them.
class PartJudgementTest : public ::testing::Test {
protected:
    static constexpr long kProcess = 21;
    static constexpr long kSequence = 1;

    PartJudgementTest() {
        common::CCENV00M(env);
        common::SetTaskWorkPaths(0, 0, env);
        common::LoadLogSwitches(env);
        common::SetProcessContext(2, 1);
        common::WriteSetting(common::SettingKeyPath("Kesen", "EnvRange"), "10");
        common::WriteSetting(common::SettingKeyPath("Kesen", "EnvChange"), "0");
        common::WriteSetting(common::SettingKeyPath("KsnGrh", "GrahRange"), "1");
        common::CFFIL30M(std::vector<std::string>{"100\t999\t10\t1"},
                         common::BuildDataFilePath(10, 0, 0, "", "", env));
        task.ProcIdx = kProcess;
        task.TaskSequence = kSequence;
        task.TaskStatus = "0";
        task.Path = task.MainPath = task.TaskPath = env.Path;
    }

    static marketdata::CdmRec Company(const std::string& code) {
        marketdata::CdmRec rec = testsupport::MarketCompany(code);
        rec.Key.Flag1 = "1";
        rec.InfoText[51] = "輸送用機器";
        return rec;
    }

    static std::string Line(marketdata::CdmRec rec) {
        std::string line;
        marketdata::CdmRecToLine(rec, line);
        return line;
    }

    void WritePart(const std::vector<marketdata::CdmRec>& companies) {
        std::vector<std::string> lines;
        for (const marketdata::CdmRec& rec : companies) lines.push_back(Line(rec));
        common::CFFIL30M(lines, common::BuildDataFilePath(1, kProcess, kSequence, "", "", env));
    }

    void WriteSeries(const std::string& code, const std::vector<const char*>& closes) {
        std::vector<std::string> lines;
        for (const char* close : closes) {
            const std::string p = close;
            const std::string day = std::to_string(lines.size() + 1);
            lines.push_back("2024/01/" + std::string(day.size() < 2 ? "0" : "") + day + "\t" + p + "\t" + p + "\t" +
                            p + "\t" + p + "\t10\t" + p);
        }
        marketdata::WritePriceSeries(env, marketdata::kPriceSeriesFileNumber,
                                     marketdata::PriceFileNamePart(Company(code).Key, "D"), ".txt", lines);
    }

    std::string ResultPath() { return analysis::PartResultPath(env, kProcess, kSequence, "JPN"); }
    std::string WorkPath() { return marketdata::PartWorkFilePath(env, kProcess, kSequence); }

    std::vector<analysis::KagiJudgeRec> Results() {
        std::vector<analysis::KagiJudgeRec> recs;
        if (!std::filesystem::exists(ResultPath())) return recs;
        const std::string bytes = testsupport::ReadBytes(ResultPath());
        EXPECT_EQ(bytes.size() % analysis::kKagiJudgeRecSize, 0u);
        platform::RecordReader in(bytes);
        while (in.remaining() >= analysis::kKagiJudgeRecSize) analysis::ReadJudgeRecord(in, recs.emplace_back());
        return recs;
    }

    std::vector<marketdata::CdmRec> WorkRecords() {
        std::vector<std::string> lines;
        common::CFFIL21M(WorkPath(), lines);
        std::vector<marketdata::CdmRec> recs(lines.size());
        std::string problem;
        for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_TRUE(marketdata::LineToCdmRec(lines[i], recs[i], problem));
        return recs;
    }

    // The status letter of the part's report file `fileNumber`, "" when none.
    std::string Report(long fileNumber) {
        const std::string path = common::CFFIL02M({fileNumber, kProcess, kSequence, "S", ".dat"}, env);
        return std::filesystem::exists(path) ? testsupport::ReadBytes(path).substr(34, 1) : "";
    }

    static std::string ReadLog(const std::string& path) {
        return std::filesystem::exists(path) ? platform::FromCp932(testsupport::ReadBytes(path)).text : "";
    }

    testsupport::ProgramFolder folder{true};
    testsupport::FakeUi ui;
    common::EnvRec env;
    common::MSGRec msg;
    common::TSDRec task;
};

}  // namespace analysis_test
