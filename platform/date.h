#pragma once
#include <compare>
#include <ctime>
#include <string>

namespace platform {

// A civil date of the proleptic Gregorian calendar.
struct Date {
    int year = 0;
    int month = 0;
    int day = 0;

    friend auto operator<=>(const Date&, const Date&) = default;
};

// A civil date with a time of day.
struct DateTime {
    Date date;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;

    friend auto operator<=>(const DateTime&, const DateTime&) = default;
};

// True for a real Gregorian date in the years 100..9999.
bool IsValidDate(int year, int month, int day);

// Day serials, as record files store them: days since 1899-12-30 (day 0),
// negative before it, with the time of day as the fraction added to the
// whole day, so 1899-12-29 06:00 is -1 + 0.25 = -0.75.
double ToDaySerial(const Date& date);
double ToDaySerial(const DateTime& dateTime);
// The date of a serial: its whole day taken toward negative infinity, so the
// time of day is dropped on either side of day 0. A serial that is not finite
// or lies outside the years 100..9999 gives the invalid Date{} (0/0/0).
Date FromDaySerial(double serial);

std::string DateText(const Date& date);                     // "yyyy/mm/dd"
std::string TimeText(int hour, int minute, int second);     // "hh:mm:ss"
std::string CompactStamp(const DateTime& dateTime);         // "yyyymmddhhmmss"

Date AddDays(const Date& date, long days);
// Days from `from` to `to`: positive when `to` is later.
long DaysBetween(const Date& from, const Date& to);
// Sunday = 1 .. Saturday = 7.
int Weekday(const Date& date);

// A point of the real-time clock in the local time zone, as it is now (a
// change of TZ counts at once).
DateTime LocalDateTime(const std::timespec& time);
DateTime Now();
double SecondsSinceMidnight();

}  // namespace platform
