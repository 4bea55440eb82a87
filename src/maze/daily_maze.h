#pragma once

#include <cstdint>
#include <string>

#include "maze/maze_generator.h"

// The daily maze: one maze per UTC calendar date, the same for everyone.
//
// The rule from a date to its maze, fixed for good (links and shared days
// depend on it): the seed is the date's digits YYYYMMDD read as one decimal
// number (2026-12-09 is seed 20261209), the maze 32 by 32 with one exit, as
// `mazetool generate --seed 20261209` writes it.

// A day of the Gregorian calendar, years 0001 to 9999.
struct DailyDate {
    int year = 1970;
    int month = 1;  // 1..12
    int day = 1;    // 1..days in that month
};

// Reads "YYYY-MM-DD": exactly four, two and two digits between hyphens, a
// date the calendar has (2028-02-29 yes, 2026-02-29 no, year 0000 no). False
// with the reason in `*err`, to follow a message quoting the refused text
// ("... must be " kDailyDateRule ", not \"2026-02-30\": " reason):
// "write it as four, two and two digits", "there is no year 0",
// "there is no month 13", "there is no day 0", "February 2026 has 28 days".
const char* const kDailyDateRule = "a real date written YYYY-MM-DD";
bool parseDailyDate(const std::string& text, DailyDate* date, std::string* err);

// The generator's seed for the date: YYYYMMDD as a decimal number.
std::uint64_t dailySeed(const DailyDate& date);

// What the generator makes for the date: 32 by 32, one exit, dailySeed.
MazeRequest dailyMazeRequest(const DailyDate& date);
