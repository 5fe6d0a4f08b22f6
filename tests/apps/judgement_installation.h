#pragma once
// A generated Japanese market installed for a judgement run with the real
// Korvane as the child copies, and what a finished run must leave.
#include <gtest/gtest.h>

#include <sys/types.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/analysis_parts.h"
#include "analysis/judge_result_file.h"
#include "analysis/part_results.h"
#include "common/settings/settings.h"
#include "common/startup/batch_request.h"
#include "common/startup/program_parts.h"
#include "tests/analysis/judgement_run_fixture.h"
#include "tests/support/judgement_market.h"
#include "tests/support/scoped_env.h"

namespace judgement_e2e {

namespace fs = std::filesystem;

inline constexpr long kCompanies = 36;
// Enough rows that a part is still judging when the parent looks again.
inline constexpr long kRows = 2000;

// The live child processes of `parent`: pid and command line words.
inline std::map<pid_t, std::vector<std::string>> ChildrenOf(pid_t parent) {
    std::map<pid_t, std::vector<std::string>> children;
    const std::string self = std::to_string(parent);
    for (const auto& entry : fs::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        std::ifstream statFile(entry.path() / "stat");
        std::string stat;
        std::getline(statFile, stat);
        const std::size_t close = stat.rfind(')');
        if (close == std::string::npos) continue;
        std::istringstream rest(stat.substr(close + 2));
        std::string state;
        std::string parentPid;
        rest >> state >> parentPid;
        if (parentPid != self || state == "Z") continue;
        std::ifstream cmdline(entry.path() / "cmdline");
        std::vector<std::string> words;
        for (std::string word; std::getline(cmdline, word, '\0');) words.push_back(word);
        children[static_cast<pid_t>(std::stol(name))] = words;
    }
    return children;
}

inline std::map<pid_t, std::vector<std::string>> Children() { return ChildrenOf(getpid()); }

// The result records with the update stamp of their company key blanked:
// it records when the run split the company list, the one thing two runs of
// the same market do not share.
inline std::string WithoutSplitStamps(std::string records) {
    constexpr std::size_t kStampAt = 69;  // UpdateDate and UpdateTime of the key
    constexpr std::size_t kStampLength = 18;
    EXPECT_EQ(records.size() % analysis::kKagiJudgeRecSize, 0u);
    for (std::size_t at = 0; at + analysis::kKagiJudgeRecSize <= records.size(); at += analysis::kKagiJudgeRecSize) {
        records.replace(at + kStampAt, kStampLength, kStampLength, '#');
    }
    return records;
}

// A fresh installation of Korvane with the generated market, parallelism 3
// and the judgement of Japan requested.
class Installation : public analysis_test::JudgementRunSetup {
public:
    explicit Installation(long rows = kRows) {
        fs::copy_file(KORVANE_EXE, folder.program() / "Korvane");
        common::State().ExeName = "Korvane";
        common::InstallProgramParts(analysis::AnalysisProgramParts());
        testsupport::WriteJudgementMarket(env, kCompanies, rows);
        common::WriteSetting("MirControl\\Common\\MultiTaskKsn", "3");
        common::BatchRequestTable table;
        table.cell(1, 6) = 1;
        common::WriteSetting("MirControl\\Common\\Batch", common::EncodeBatchRequest(table));
    }
    ~Installation() { common::InstallProgramParts({}); }

    // The finished run: complete, its request cleared, the results, the
    // summary and the analysis information written, no part file left.
    // Gives the result and summary files.
    std::map<std::string, std::string> ExpectCompleteRun() {
        EXPECT_EQ(Ctr().Status, "Z");
        EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Batch"), common::EncodeBatchRequest({}));
        EXPECT_EQ(ErrorLog().find("E0:ErrApl"), std::string::npos) << ErrorLog();
        const std::string results = analysis::CountryDataFilePath(env, 40001, 0, 0, "JPN", "", ".dat");
        const std::string summary = analysis::CountryDataFilePath(env, 40002, 0, 0, "JPN", "", ".dat");
        EXPECT_TRUE(fs::exists(DataPath(30001, 0, 0, "")));
        EXPECT_FALSE(fs::exists(DataPath(100, kProcess, 0, "")));
        for (long sequence = 1; sequence <= 3; ++sequence) {
            EXPECT_FALSE(fs::exists(DataPath(1, kProcess, sequence, ""))) << sequence;
            EXPECT_FALSE(fs::exists(analysis::PartResultPath(env, kProcess, sequence, "JPN"))) << sequence;
        }
        if (!fs::exists(results) || !fs::exists(summary)) {
            ADD_FAILURE() << "no result or summary file";
            return {};
        }
        return {{"40001", WithoutSplitStamps(testsupport::ReadBytes(results))},
                {"40002", testsupport::ReadBytes(summary)}};
    }

private:
    testsupport::ScopedEnv offscreen_{"QT_QPA_PLATFORM", "offscreen"};
};

}  // namespace judgement_e2e
