#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <thread>

#include "tests/support/child_process.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace std::chrono_literals;

class ProgramStart : public ::testing::TestWithParam<const char*> {};

// Each program starts to its main window and ends cleanly when asked to stop.
TEST_P(ProgramStart, StartsAndEndsCleanly) {
    testsupport::TempDir config;
    testsupport::ChildProcess program(
        GetParam(), {}, {{"QT_QPA_PLATFORM", "offscreen"}, {"XDG_CONFIG_HOME", config.path().string()}});
    // Still running after start-up: it did not fail or end on its own.
    ASSERT_EQ(program.WaitForExit(1500ms), std::nullopt);
    ASSERT_EQ(kill(program.pid(), SIGTERM), 0);
    const auto status = program.WaitForExit(10s);
    ASSERT_TRUE(status.has_value()) << "the program did not end";
    ASSERT_TRUE(WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 0);
}

INSTANTIATE_TEST_SUITE_P(BothPrograms, ProgramStart, ::testing::Values(MIRELDA_EXE, KORVANE_EXE));

}  // namespace
