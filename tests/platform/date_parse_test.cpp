#include "platform/date_parse.h"

#include <string>
#include <utility>

#include <gtest/gtest.h>

namespace platform {
namespace {

struct AcceptedCase {
    std::string text;
    Date date;
};

TEST(ParseDate, AcceptsEachForm) {
    const AcceptedCase cases[] = {
        {"2004/1/5", {2004, 1, 5}},
        {"2004/01/05", {2004, 1, 5}},
        {"2004-01-05", {2004, 1, 5}},
        {"2004-1-5", {2004, 1, 5}},
        {"2004/12/31", {2004, 12, 31}},
        {"2004/02/29", {2004, 2, 29}},
        {"2004/1/5 9:30", {2004, 1, 5}},
        {"2004-01-05 23:59:59", {2004, 1, 5}},
        {"2004/1/5  12:00", {2004, 1, 5}},
        {"2001年3月1日", {2001, 3, 1}},
        {"2001年12月31日", {2001, 12, 31}},
        {"2001年3月", {2001, 3, 1}},
        {"9-Mar-05", {2005, 3, 9}},
        {"09-mar-2005", {2005, 3, 9}},
        {"9-March-05", {2005, 3, 9}},
        {"Mar-9-05", {2005, 3, 9}},
        {"DEC-31-1999", {1999, 12, 31}},
        {"Mar 9, 2005", {2005, 3, 9}},
        {"March 9, 2005", {2005, 3, 9}},
        {"september 30, 05", {2005, 9, 30}},
        {"9 Mar 2005", {2005, 3, 9}},
        {"9 MAY 2005", {2005, 5, 9}},
        {"29 February 2000", {2000, 2, 29}},
        {"  2004/1/5\t", {2004, 1, 5}},
        {"\t9 Mar 2005 ", {2005, 3, 9}},
    };
    for (const AcceptedCase& c : cases) {
        EXPECT_EQ(ParseDate(c.text), c.date) << '"' << c.text << '"';
    }
}

TEST(ParseDate, TwoDigitYearsPivotAtThirty) {
    const std::pair<std::string, int> cases[] = {
        {"1-Jan-00", 2000}, {"1-Jan-29", 2029}, {"1-Jan-30", 1930}, {"1-Jan-99", 1999},
        {"Jan 1, 29", 2029}, {"1 Jan 30", 1930},
    };
    for (const auto& [text, year] : cases) {
        const std::optional<Date> date = ParseDate(text);
        ASSERT_TRUE(date.has_value()) << text;
        EXPECT_EQ(date->year, year) << text;
    }
}

TEST(ParseDate, RefusesAnythingElse) {
    const std::string refused[] = {
        // Dates that do not exist.
        "2004/02/30", "2003/02/29", "1900/02/29", "2004/13/01", "2004/0/1", "2004/1/0", "2001年2月30日",
        "31-Apr-05", "0099/1/1",
        // Not dates, or dates cut short.
        "", "   ", "abc", "2004/1", "2004//1", "2004/1/", "/1/5", "2001年", "2001年3月1", "Mar 2005",
        // Forms left out on purpose.
        "2004.01.05", "05/3/9", "2004/1-5", "20040105", "1/5/2004", "Mar 9 2005", "9-Mar-5", "9-Mar-005",
        "Sept 9, 2005", "Ma 9, 2005", "9-Mar-05 12:00", "２００４/1/5", "2004/１/5", "2001年3月1日 12:00",
        // Digit runs too long, and a bad or partial trailing time.
        "02004/1/5", "2004/001/5", "2004/1/005", "2004/1/5 24:00", "2004/1/5 12:60", "2004/1/5 12",
        "2004/1/5 12:00x", "2004/1/5x",
    };
    for (const std::string& text : refused) {
        EXPECT_EQ(ParseDate(text), std::nullopt) << '"' << text << '"';
    }
}

TEST(ParseTimeText, AcceptedAndRefused) {
    using Time = std::tuple<int, int, int>;
    const std::pair<std::string, Time> accepted[] = {
        {"12:34:56", {12, 34, 56}}, {"9:05", {9, 5, 0}},         {"09:05", {9, 5, 0}},
        {"0:00:00", {0, 0, 0}},     {"23:59:59", {23, 59, 59}}, {" 7:30 ", {7, 30, 0}},
    };
    for (const auto& [text, time] : accepted) {
        EXPECT_EQ(ParseTimeText(text), time) << '"' << text << '"';
    }
    const std::string refused[] = {
        "", "24:00", "12:60", "12:00:60", "12:5", "123:00", "12:34:", "12", "12:34:5", "-1:00", "12:34:56:00", "1２:00",
    };
    for (const std::string& text : refused) {
        EXPECT_EQ(ParseTimeText(text), std::nullopt) << '"' << text << '"';
    }
}

}  // namespace
}  // namespace platform
