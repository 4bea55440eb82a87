#include "maze/daily_maze.h"

namespace {

const char* const kMonthNames[12] = {"January", "February", "March",     "April",   "May",      "June",
                                     "July",    "August",   "September", "October", "November", "December"};

bool leapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && leapYear(year) ? 29 : kDays[month - 1];
}

// The digits text[from, from + count) as a number; -1 when one is not a digit.
int digits(const std::string& text, size_t from, size_t count)
{
    int value = 0;
    for (size_t i = from; i < from + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

}  // namespace

bool parseDailyDate(const std::string& text, DailyDate* date, std::string* err)
{
    const int year = text.size() == 10 ? digits(text, 0, 4) : -1;
    const int month = text.size() == 10 ? digits(text, 5, 2) : -1;
    const int day = text.size() == 10 ? digits(text, 8, 2) : -1;
    if (year < 0 || month < 0 || day < 0 || text[4] != '-' || text[7] != '-') {
        *err = "write it as four, two and two digits";
        return false;
    }
    if (year == 0) {
        *err = "there is no year 0";
        return false;
    }
    if (month < 1 || month > 12) {
        *err = "there is no month " + std::to_string(month);
        return false;
    }
    if (day < 1) {
        *err = "there is no day 0";
        return false;
    }
    if (day > daysInMonth(year, month)) {
        *err = std::string(kMonthNames[month - 1]) + " " + std::to_string(year) + " has " +
               std::to_string(daysInMonth(year, month)) + " days";
        return false;
    }
    *date = DailyDate{year, month, day};
    return true;
}

std::uint64_t dailySeed(const DailyDate& date)
{
    return std::uint64_t(date.year) * 10000 + std::uint64_t(date.month) * 100 + std::uint64_t(date.day);
}

MazeRequest dailyMazeRequest(const DailyDate& date)
{
    return MazeRequest{32, 32, dailySeed(date), 1};
}
