#include "platform/clock.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(Clock, SleepIsInMillisecondsAndTheClockInSeconds) {
    const double start = MonotonicSeconds();
    SleepMilliseconds(30);
    const double slept = MonotonicSeconds() - start;
    EXPECT_GE(slept, 0.030);
    EXPECT_LT(slept, 1.0);
}

TEST(Clock, ZeroOnlyYields) {
    const double start = MonotonicSeconds();
    SleepMilliseconds(0);
    SleepMilliseconds(-5);
    EXPECT_LT(MonotonicSeconds() - start, 0.5);
}

}  // namespace
}  // namespace platform
