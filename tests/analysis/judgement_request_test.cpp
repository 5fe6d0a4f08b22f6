#include "analysis/judgement_request.h"

#include <gtest/gtest.h>

#include <string>

#include "common/settings/settings.h"
#include "common/startup/run_env.h"
#include "tests/support/fake_ui.h"
#include "tests/support/program_folder.h"

namespace {

// A Common\Batch text with "1" at the given 1-based characters.
std::string Requested(std::initializer_list<int> characters) {
    std::string text(50, '0');
    for (const int c : characters) text[static_cast<std::size_t>(c - 1)] = '1';
    return text;
}

TEST(JudgementRequest, SwitchesBecomeCharacters31To35) {
    analysis::KesenParamSet params;
    EXPECT_EQ(analysis::JudgementRequest(params), Requested({}));
    params.Kagi = {1, 1, 0, 1, 0, 1};  // element 0 is no switch
    EXPECT_EQ(analysis::JudgementRequest(params), Requested({31, 33, 35}));
    params.Kagi = {0, 0, 0, 0, 1, 0};
    EXPECT_EQ(analysis::JudgementRequest(params), Requested({34}));
}

TEST(JudgementRequest, StartWithOnlyTheTestBoxJudgesNothingAndClearsOtherRequests) {
    testsupport::ProgramFolder folder(true);
    testsupport::FakeUi ui;
    common::EnvRec env;
    common::CCENV00M(env);
    common::SetTaskWorkPaths(0, 0, env);
    const char* ticks[] = {"0", "0", "0", "1"};
    for (int i = 1; i <= 4; ++i) {
        common::WriteSetting("MirControl\\Kesen\\EnvKagi0" + std::to_string(i), ticks[i - 1]);
    }
    common::WriteSetting("MirControl\\Common\\Batch", Requested({1, 26}));

    EXPECT_TRUE(analysis::StartJudgement());
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Batch"), Requested({34}));
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Exec"), "");
    EXPECT_TRUE(ui.presenter->boxes.empty());
}

}  // namespace
