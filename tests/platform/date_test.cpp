#include "platform/date.h"

#include <cmath>
#include <limits>
#include <utility>

#include <gtest/gtest.h>

#include "tests/support/scoped_env.h"

namespace platform {
namespace {

struct SerialCase {
    Date date;
    double serial;
};

TEST(DaySerial, KnownDaysBothWays) {
    const SerialCase cases[] = {
        {{1899, 12, 30}, 0},        {{1899, 12, 31}, 1},       {{1900, 1, 1}, 2},
        {{1900, 3, 1}, 61},         {{2000, 2, 29}, 36585},    {{2005, 3, 9}, 38420},
        {{1899, 12, 29}, -1},       {{1800, 1, 1}, -36522},    {{100, 1, 1}, -657434},
        {{9999, 12, 31}, 2958465},
    };
    for (const SerialCase& c : cases) {
        SCOPED_TRACE(DateText(c.date));
        EXPECT_EQ(ToDaySerial(c.date), c.serial);
        EXPECT_EQ(FromDaySerial(c.serial), c.date);
    }
}

TEST(DaySerial, EveryDayOfThreeCenturiesFollowsTheDayBefore) {
    // 1800..2100 holds both kinds of century year and day 0.
    Date previous = FromDaySerial(-36523);
    for (long serial = -36522; serial <= 73415; ++serial) {
        const Date date = FromDaySerial(static_cast<double>(serial));
        ASSERT_TRUE(IsValidDate(date.year, date.month, date.day)) << serial;
        ASSERT_LT(previous, date) << serial;
        ASSERT_EQ(ToDaySerial(date), serial) << DateText(date);
        previous = date;
    }
    EXPECT_EQ(previous, (Date{2100, 12, 31}));
}

TEST(DaySerial, TimeOfDayIsTheFraction) {
    EXPECT_EQ(ToDaySerial(DateTime{{2005, 3, 9}, 12, 0, 0, 0}), 38420.5);
    EXPECT_EQ(ToDaySerial(DateTime{{1899, 12, 29}, 6, 0, 0, 0}), -0.75);
    EXPECT_NEAR(ToDaySerial(DateTime{{2005, 3, 9}, 23, 59, 59, 500}), 38420 + 86399.5 / 86400, 1e-9);
}

TEST(DaySerial, WholeDayIsTakenTowardNegativeInfinity) {
    EXPECT_EQ(FromDaySerial(38420.5), (Date{2005, 3, 9}));
    EXPECT_EQ(FromDaySerial(38420.999), (Date{2005, 3, 9}));
    EXPECT_EQ(FromDaySerial(0.25), (Date{1899, 12, 30}));
    EXPECT_EQ(FromDaySerial(-0.75), (Date{1899, 12, 29}));
    EXPECT_EQ(FromDaySerial(-1.25), (Date{1899, 12, 28}));
}

// A damaged record may hold any double as a date: outside the calendar it is
// no date, never a conversion past the range of a whole number.
TEST(DaySerial, SerialOutsideTheCalendarIsNoDate) {
    const double outside[] = {std::nan(""),     HUGE_VAL, -HUGE_VAL, 1e300,         -1e300,
                              9.3e18,           -9.3e18,  2958466,   2958466.5,     -657434.5,
                              -657435,          std::numeric_limits<double>::max()};
    for (const double serial : outside) EXPECT_EQ(FromDaySerial(serial), Date{}) << serial;
    EXPECT_EQ(FromDaySerial(2958465.999), (Date{9999, 12, 31}));
    EXPECT_EQ(FromDaySerial(-657434), (Date{100, 1, 1}));
}

struct ValidityCase {
    int year, month, day;
    bool valid;
};

TEST(IsValidDate, CalendarRules) {
    const ValidityCase cases[] = {
        {1900, 2, 29, false}, {2000, 2, 29, true},  {2004, 2, 29, true},  {2003, 2, 29, false},
        {2100, 2, 29, false}, {2400, 2, 29, true},  {2004, 2, 30, false}, {2004, 4, 31, false},
        {2004, 12, 31, true}, {2004, 1, 32, false}, {2004, 0, 1, false},  {2004, 13, 1, false},
        {2004, 1, 0, false},  {99, 12, 31, false},  {100, 1, 1, true},    {9999, 12, 31, true},
        {10000, 1, 1, false},
    };
    for (const ValidityCase& c : cases) {
        EXPECT_EQ(IsValidDate(c.year, c.month, c.day), c.valid) << c.year << "-" << c.month << "-" << c.day;
    }
}

TEST(DateArithmetic, AddDaysAndDaysBetweenAcrossMonthsYearsAndDayZero) {
    EXPECT_EQ(AddDays({2004, 2, 28}, 1), (Date{2004, 2, 29}));
    EXPECT_EQ(AddDays({2003, 2, 28}, 1), (Date{2003, 3, 1}));
    EXPECT_EQ(AddDays({2005, 1, 1}, -1), (Date{2004, 12, 31}));
    EXPECT_EQ(AddDays({1900, 1, 1}, -3), (Date{1899, 12, 29}));
    EXPECT_EQ(DaysBetween({2004, 2, 28}, {2004, 3, 1}), 2);
    EXPECT_EQ(DaysBetween({2004, 3, 1}, {2004, 2, 28}), -2);
    EXPECT_EQ(DaysBetween({1899, 12, 1}, {1900, 1, 1}), 31);
}

TEST(Weekday, SundayIsOneOnBothSidesOfDayZero) {
    const std::pair<Date, int> cases[] = {
        {{1899, 12, 30}, 7}, {{1899, 12, 31}, 1}, {{1899, 12, 24}, 1}, {{1899, 12, 25}, 2},
        {{1800, 1, 1}, 4},   {{2000, 1, 1}, 7},   {{2005, 3, 9}, 4},   {{2005, 3, 13}, 1},
    };
    for (const auto& [date, weekday] : cases) {
        EXPECT_EQ(Weekday(date), weekday) << DateText(date);
    }
}

TEST(DateTexts, FixedWidthWithLeadingZeros) {
    EXPECT_EQ(DateText({2005, 3, 9}), "2005/03/09");
    EXPECT_EQ(DateText({987, 12, 31}), "0987/12/31");
    EXPECT_EQ(TimeText(7, 5, 3), "07:05:03");
    EXPECT_EQ(TimeText(23, 59, 59), "23:59:59");
    EXPECT_EQ(CompactStamp({{2005, 3, 9}, 7, 5, 3, 999}), "20050309070503");
}

// Reads the local clock as minutes of the day, once under each zone.
int MinuteOfDayIn(const char* zone) {
    testsupport::ScopedEnv tz("TZ", zone);
    const DateTime now = Now();
    return now.hour * 60 + now.minute;
}

TEST(LocalClock, FollowsTheLocalTimeZone) {
    const int utc = MinuteOfDayIn("UTC");
    const int tokyo = MinuteOfDayIn("JST-9");
    // A minute may tick between the two readings.
    const int shift = ((tokyo - utc) % 1440 + 1440) % 1440;
    EXPECT_TRUE(shift == 540 || shift == 541) << shift;
}

TEST(LocalClock, NowAndSecondsSinceMidnightAgree) {
    testsupport::ScopedEnv tz("TZ", "JST-9");
    const DateTime now = Now();
    const double seconds = SecondsSinceMidnight();
    EXPECT_TRUE(IsValidDate(now.date.year, now.date.month, now.date.day));
    EXPECT_GE(now.millisecond, 0);
    EXPECT_LT(now.millisecond, 1000);
    const double fromNow = now.hour * 3600 + now.minute * 60 + now.second + now.millisecond / 1000.0;
    // Just after midnight the second reading belongs to the next day.
    EXPECT_LT(std::fmod(seconds - fromNow + 86400, 86400), 2.0);
}

}  // namespace
}  // namespace platform
