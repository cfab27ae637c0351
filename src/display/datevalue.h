#pragma once
// Datevalues: a date and a time of day in one number, yyyyddd.hhmmss.
#include <optional>
#include <string>

namespace qx {

struct DateTimeParts {
    bool hasDate = false;  // false for a time-only value (integer part 0)
    int year = 0;
    int month = 0;      // 1..12
    int day = 0;        // day of the month
    int dayOfYear = 0;  // 1..366
    int weekday = 0;    // 1..7, Sunday first
    int hour = 0;       // 0..24; 24 only as 24:00:00
    int minute = 0;
    int second = 0;
};

bool isLeapYear(int year);
int daysInYear(int year);
// Zeller's congruence for the Gregorian calendar; 1 is Sunday.
int weekdayOf(int year, int month, int day);

// Decodes a datevalue; years 0..100 are taken in the given millennium. Empty when the value is
// not a valid datevalue (negative, too large, day beyond the year, time past 24:00:00).
std::optional<DateTimeParts> decodeDatevalue(double value, int millennium);

// The text of the date and time display codes 8..15; empty when the format cannot show the
// parts (no date for a date format, hour 24 on the 12-hour clock).
std::string dateFormatText(int code, const DateTimeParts& parts);

const char* monthName(int month);  // 1..12
const char* dayName(int weekday);  // 1..7

}  // namespace qx
