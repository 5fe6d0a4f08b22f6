#include "platform/date.h"

#include <cmath>
#include <cstdio>

#include <time.h>

namespace platform {

namespace {

constexpr long kSecondsPerDay = 86400;
// Days from 1970-01-01 back to 1899-12-30, the day serials' day 0.
constexpr long kSerialEpochOffset = 25569;
// The calendar's years.
constexpr int kFirstYear = 100;
constexpr int kLastYear = 9999;

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Whole days since 1899-12-30; counted in 400-year eras from a year that
// starts in March, so the leap day falls at the end of each counted year.
long DayNumber(const Date& date) {
    const long year = date.year - (date.month <= 2 ? 1 : 0);
    const long era = (year >= 0 ? year : year - 399) / 400;
    const long yearOfEra = year - era * 400;
    const long monthFromMarch = date.month > 2 ? date.month - 3 : date.month + 9;
    const long dayOfYear = (153 * monthFromMarch + 2) / 5 + date.day - 1;
    const long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468 + kSerialEpochOffset;
}

Date DateOfDayNumber(long dayNumber) {
    const long days = dayNumber - kSerialEpochOffset + 719468;
    const long era = (days >= 0 ? days : days - 146096) / 146097;
    const long dayOfEra = days - era * 146097;
    const long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long monthFromMarch = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    const int month = static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    return {year, month, day};
}

std::string Printed(const char* format, int a, int b, int c) {
    char text[32];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}

std::timespec RealTimeNow() {
    std::timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return now;
}

}  // namespace

bool IsValidDate(int year, int month, int day) {
    return year >= kFirstYear && year <= kLastYear && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInMonth(year, month);
}

double ToDaySerial(const Date& date) { return static_cast<double>(DayNumber(date)); }

double ToDaySerial(const DateTime& dateTime) {
    const double seconds = dateTime.hour * 3600.0 + dateTime.minute * 60.0 + dateTime.second +
                           dateTime.millisecond / 1000.0;
    return ToDaySerial(dateTime.date) + seconds / kSecondsPerDay;
}

Date FromDaySerial(double serial) {
    // A damaged record may hold any double; only a serial of the calendar is
    // converted to a whole day, so the conversion can never overflow.
    static const double first = ToDaySerial(Date{kFirstYear, 1, 1});
    static const double pastLast = ToDaySerial(Date{kLastYear, 12, 31}) + 1;
    if (!(serial >= first && serial < pastLast)) return Date{};
    return DateOfDayNumber(static_cast<long>(std::floor(serial)));
}

std::string DateText(const Date& date) { return Printed("%04d/%02d/%02d", date.year, date.month, date.day); }

std::string TimeText(int hour, int minute, int second) { return Printed("%02d:%02d:%02d", hour, minute, second); }

std::string CompactStamp(const DateTime& dateTime) {
    const Date& date = dateTime.date;
    return Printed("%04d%02d%02d", date.year, date.month, date.day) +
           Printed("%02d%02d%02d", dateTime.hour, dateTime.minute, dateTime.second);
}

Date AddDays(const Date& date, long days) { return DateOfDayNumber(DayNumber(date) + days); }

long DaysBetween(const Date& from, const Date& to) { return DayNumber(to) - DayNumber(from); }

int Weekday(const Date& date) {
    // Day 0 was a Saturday; the remainder must not go negative before it.
    const long remainder = (DayNumber(date) + 6) % 7;
    return static_cast<int>(remainder < 0 ? remainder + 7 : remainder) + 1;
}

DateTime LocalDateTime(const std::timespec& time) {
    // localtime_r need not look at TZ again; tzset makes a changed zone count,
    // as localtime() itself would.
    tzset();
    std::tm parts{};
    localtime_r(&time.tv_sec, &parts);
    return {{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday},
            parts.tm_hour,
            parts.tm_min,
            parts.tm_sec,
            static_cast<int>(time.tv_nsec / 1000000)};
}

DateTime Now() { return LocalDateTime(RealTimeNow()); }

double SecondsSinceMidnight() {
    const std::timespec now = RealTimeNow();
    const DateTime local = LocalDateTime(now);
    return local.hour * 3600.0 + local.minute * 60.0 + local.second + now.tv_nsec / 1e9;
}

}  // namespace platform
