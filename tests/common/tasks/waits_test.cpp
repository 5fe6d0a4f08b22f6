#include "common/tasks/waits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <regex>
#include <vector>

#include "common/run_state.h"
#include "common/screens/ui_seam.h"
#include "platform/clock.h"
#include "platform/date.h"
#include "tests/support/trapped.h"

namespace {

// Counts its calls, notes when they happen and, from call `cancelAt` on, sets
// the cancel flag as the progress form's cancel handler would.
class CancellingPump : public common::EventPump {
public:
    void ProcessEvents() override {
        times.push_back(platform::MonotonicSeconds());
        if (cancelAt > 0 && static_cast<long>(times.size()) >= cancelAt) {
            common::State().CancelRequested = true;
        }
    }
    long calls() const { return static_cast<long>(times.size()); }

    long cancelAt = 0;
    std::vector<double> times;
};

class WaitSecondsTest : public ::testing::Test {
protected:
    void SetUp() override {
        common::State().CancelRequested = false;
        pump = std::make_shared<CancellingPump>();
        common::InstallUi({nullptr, nullptr, pump, nullptr, nullptr});
    }
    void TearDown() override {
        common::InstallUi({});
        common::State().CancelRequested = false;
    }

    // Seconds that WaitSeconds(seconds) takes.
    double Timed(float seconds) {
        const double start = platform::MonotonicSeconds();
        common::WaitSeconds(seconds);
        return platform::MonotonicSeconds() - start;
    }

    std::shared_ptr<CancellingPump> pump;
};

TEST(WaitStep, IsHalfTheWaitBelow200Milliseconds) {
    EXPECT_EQ(common::WaitStepMilliseconds(10.0f), 200);
    EXPECT_EQ(common::WaitStepMilliseconds(1.0f), 200);
    EXPECT_EQ(common::WaitStepMilliseconds(0.2f), 200);
    EXPECT_EQ(common::WaitStepMilliseconds(0.1f), 50);
    EXPECT_EQ(common::WaitStepMilliseconds(0.199f), 100);  // 99.5 -> 100 (even)
    EXPECT_EQ(common::WaitStepMilliseconds(0.005f), 2);    // 2.5 -> 2 (even)
    EXPECT_EQ(common::WaitStepMilliseconds(0.003f), 2);    // 1.5 -> 2 (even)
    EXPECT_EQ(common::WaitStepMilliseconds(0.001f), 0);    // 0.5 -> 0 (even)
    EXPECT_EQ(common::WaitStepMilliseconds(0.0004f), 0);   // a bare yield
    EXPECT_EQ(common::WaitStepMilliseconds(0.0f), 0);
    EXPECT_EQ(common::WaitStepMilliseconds(-1.0f), 0);
}

TEST_F(WaitSecondsTest, ZeroOrLessReturnsAtOnceWithoutPumping) {
    EXPECT_LT(Timed(0.0f), 0.05);
    EXPECT_LT(Timed(-3.0f), 0.05);
    EXPECT_LT(Timed(std::numeric_limits<float>::quiet_NaN()), 0.05);
    EXPECT_EQ(pump->calls(), 0);
}

TEST_F(WaitSecondsTest, TinyWaitReturnsFast) {
    const double elapsed = Timed(0.0004f);
    EXPECT_GE(elapsed, 0.0004);
    EXPECT_LT(elapsed, 0.5);
    EXPECT_GE(pump->calls(), 1);  // bare yields, each followed by a pump
}

TEST_F(WaitSecondsTest, ATenthOfASecondTakesTwoStepsOf50Milliseconds) {
    const double start = platform::MonotonicSeconds();
    common::WaitSeconds(0.1f);
    const double elapsed = platform::MonotonicSeconds() - start;
    EXPECT_GE(elapsed, 0.1);
    EXPECT_LT(elapsed, 2.0);
    ASSERT_EQ(pump->calls(), 2);
    EXPECT_GE(pump->times[0] - start, 0.049);
    EXPECT_GE(pump->times[1] - pump->times[0], 0.049);
}

TEST_F(WaitSecondsTest, LongerWaitsStepBy200Milliseconds) {
    const double elapsed = Timed(0.3f);
    EXPECT_GE(elapsed, 0.3);
    EXPECT_LT(elapsed, 3.0);
    ASSERT_EQ(pump->calls(), 2);  // 200 ms, then 400 ms >= 300 ms
    EXPECT_GE(pump->times[1] - pump->times[0], 0.199);
}

TEST_F(WaitSecondsTest, CancelSetDuringThePumpEndsTheWait) {
    pump->cancelAt = 3;
    const double elapsed = Timed(30.0f);
    EXPECT_EQ(pump->calls(), 3);
    EXPECT_LT(elapsed, 10.0);
    EXPECT_GE(elapsed, 0.59);                     // three steps of 200 ms
    EXPECT_TRUE(common::State().CancelRequested);  // read, never cleared
}

TEST_F(WaitSecondsTest, CancelAlreadySetReturnsAtOnce) {
    common::State().CancelRequested = true;
    EXPECT_LT(Timed(30.0f), 0.5);
    EXPECT_EQ(pump->calls(), 0);
}

TEST(ChunkCount, FollowsTheWorkedExamples) {
    EXPECT_EQ(common::ChunkCount(1000, 2), 168);  // i = 3: 166.67 + 0.9999 -> 168
    EXPECT_EQ(common::ChunkCount(420, 2), 211);   // i = 1: 210 + 0.9999 -> 211
    EXPECT_EQ(common::ChunkCount(1, 2), 1);       // fewer rows than tasks
    EXPECT_EQ(common::ChunkCount(10, 2), 6);      // exact quotient 5 gives 6
    EXPECT_EQ(common::ChunkCount(53, 10), 6);     // 5.3 gives 6
    EXPECT_EQ(common::ChunkCount(56, 10), 7);     // 5.6 gives 7
    EXPECT_EQ(common::ChunkCount(421, 2), 106);   // i = 2: 105.25 -> 106
    EXPECT_EQ(common::ChunkCount(11, 2), 6);      // 5.5 + 0.9999 -> 6
}

TEST(ChunkCount, EdgesOfTheArguments) {
    EXPECT_EQ(common::ChunkCount(0, 2), 1);
    EXPECT_EQ(common::ChunkCount(-5, 1), 1);
    EXPECT_EQ(common::ChunkCount(2, 2), 2);        // 1 + 0.9999 -> 2
    EXPECT_EQ(common::ChunkCount(5, 0), 6);        // parallelism below 1 counts as 1
    EXPECT_EQ(common::ChunkCount(5, -4), 6);
    EXPECT_EQ(common::ChunkCount(1000000, 1), 5001);  // no i fits: c = 200
    EXPECT_EQ(common::ChunkCount(210, 1), 211);
    EXPECT_EQ(common::ChunkCount(211, 1), 106);    // i = 2: 105.5 + 0.9999 -> 106
}

TEST(SplitTimeOfDay, SplitsAndFormats) {
    common::TimeOfDayRec rec;
    common::SplitTimeOfDay(47107.25f, rec);
    EXPECT_EQ(rec.Seconds, 47107.25f);
    EXPECT_EQ(rec.WholeSeconds, 47107);
    EXPECT_EQ(rec.Hours, 13);
    EXPECT_EQ(rec.Minutes, 5);
    EXPECT_EQ(rec.Secs, 7);
    EXPECT_EQ(rec.Millis, 250);
    EXPECT_EQ(rec.HH, "13");
    EXPECT_EQ(rec.MM, "05");
    EXPECT_EQ(rec.SS, "07");
    EXPECT_EQ(rec.FFF, "250");
    EXPECT_EQ(rec.Text, "13:05:07.250");
}

TEST(SplitTimeOfDay, EndsOfTheDay) {
    common::TimeOfDayRec rec;
    common::SplitTimeOfDay(0.0f, rec);
    EXPECT_EQ(rec.Text, "00:00:00.000");
    common::SplitTimeOfDay(86399.5f, rec);
    EXPECT_EQ(rec.Text, "23:59:59.500");
    common::SplitTimeOfDay(3600.0f * 9 + 60 * 8 + 7 + 0.0625f, rec);
    EXPECT_EQ(rec.Text, "09:08:07.062");  // milliseconds are cut, not rounded
}

TEST(SplitTimeOfDay, ValuesOutsideTheLongRangeOverflow) {
    common::TimeOfDayRec rec;
    EXPECT_EQ(testsupport::ErrorNumberOf([&] { common::SplitTimeOfDay(1e10f, rec); }), 6);
    EXPECT_EQ(testsupport::ErrorNumberOf(
                  [&] { common::SplitTimeOfDay(std::numeric_limits<float>::quiet_NaN(), rec); }),
              6);
}

TEST(TimeOfDayText, IsTwelveCharactersOfTheCurrentTime) {
    const double before = platform::SecondsSinceMidnight();
    const std::string text = common::TimeOfDayText();
    const double after = platform::SecondsSinceMidnight();
    ASSERT_TRUE(std::regex_match(text, std::regex(R"(\d\d:\d\d:\d\d\.\d\d\d)"))) << text;
    if (after < before) return;  // midnight passed in between
    const double shown = std::stoi(text.substr(0, 2)) * 3600.0 + std::stoi(text.substr(3, 2)) * 60.0 +
                         std::stoi(text.substr(6, 2)) + std::stoi(text.substr(9, 3)) / 1000.0;
    EXPECT_GE(shown, before - 0.02);  // a float near 86400 has steps of 1/128 s
    EXPECT_LE(shown, after + 0.001);
}

}  // namespace
