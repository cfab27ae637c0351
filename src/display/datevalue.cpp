#include "display/datevalue.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace qx {
namespace {

constexpr std::array<const char*, 13> kMonthNames = {"",        "January",  "February", "March",  "April",
                                                     "May",     "June",     "July",     "August", "September",
                                                     "October", "November", "December"};
constexpr std::array<const char*, 8> kDayNames = {"",          "Sunday",   "Monday", "Tuesday",
                                                  "Wednesday", "Thursday", "Friday", "Saturday"};
constexpr std::array<int, 12> kMonthLengths = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// The rounding added before splitting, so 0.153 (stored a hair below) still reads 15:30:00.
constexpr double kRounding = 5e-7;
constexpr double kDatevalueLimit = 9999367.0;
constexpr int kMidnightAtEnd = 240000;
constexpr int kLatestMillennium = 9000;

int monthLength(int year, int month) {
    if (month == 2 && isLeapYear(year)) return 29;
    return kMonthLengths[static_cast<std::size_t>(month - 1)];
}

void setDate(DateTimeParts& p, int year, int dayOfYear) {
    p.hasDate = true;
    p.year = year;
    p.dayOfYear = dayOfYear;
    int month = 1;
    int day = dayOfYear;
    while (day > monthLength(year, month)) {
        day -= monthLength(year, month);
        ++month;
    }
    p.month = month;
    p.day = day;
    p.weekday = weekdayOf(year, month, day);
}

// hhmmss as six digits; seconds and minutes of 60 carry upward.
bool setTime(DateTimeParts& p, int hhmmss) {
    if (hhmmss > kMidnightAtEnd) return false;
    int h = hhmmss / 10000;
    int m = (hhmmss % 10000) / 100;
    int s = hhmmss % 100;
    if (m > 60 || s > 60) return false;
    if (s == 60) {
        s = 0;
        ++m;
    }
    if (m >= 60) {
        m -= 60;
        ++h;
    }
    if (h * 10000 + m * 100 + s > kMidnightAtEnd) return false;
    p.hour = h;
    p.minute = m;
    p.second = s;
    return true;
}

std::string twoDigits(int n) {
    n %= 100;
    return std::string{static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
}

// Hour 0 is 12 AM, 12..23 are 12..11 PM; hour 24 has no 12-hour form.
bool twelveHour(int hour, int& shown, const char*& suffix) {
    if (hour > 23) return false;
    suffix = hour < 12 ? "AM" : "PM";
    shown = hour % 12 == 0 ? 12 : hour % 12;
    return true;
}

std::string longDate(const DateTimeParts& p) {
    return std::string(monthName(p.month)) + " " + std::to_string(p.day) + ", " + std::to_string(p.year);
}

std::string clockText(int hour, const DateTimeParts& p) {
    return twoDigits(hour) + ":" + twoDigits(p.minute) + ":" + twoDigits(p.second);
}

bool needsDate(int code) {
    return code != 12 && code != 13;
}

}  // namespace

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInYear(int year) {
    return isLeapYear(year) ? 366 : 365;
}

int weekdayOf(int year, int month, int day) {
    if (month < 3) {
        month += 12;
        --year;
    }
    const int k = year % 100;
    const int j = year / 100;
    const int h = (day + 13 * (month + 1) / 5 + k + k / 4 + j / 4 + 5 * j) % 7;  // 0 is Saturday
    return (h + 6) % 7 + 1;
}

std::optional<DateTimeParts> decodeDatevalue(double value, int millennium) {
    const double v = value + kRounding;
    if (!(v >= 0.0 && v < kDatevalueLimit)) return std::nullopt;
    const double whole = std::floor(v);
    const int dateNumber = static_cast<int>(whole);
    const int timeNumber = static_cast<int>((v - whole) * 1e6);
    DateTimeParts p;
    if (dateNumber != 0) {
        int year = dateNumber / 1000;
        const int dayOfYear = dateNumber % 1000;
        if (year <= 100) year += std::clamp(millennium, 0, kLatestMillennium);
        if (dayOfYear < 1 || dayOfYear > daysInYear(year)) return std::nullopt;
        setDate(p, year, dayOfYear);
    }
    if (!setTime(p, timeNumber)) return std::nullopt;
    return p;
}

std::string dateFormatText(int code, const DateTimeParts& p) {
    if (needsDate(code) && !p.hasDate) return {};
    int hour12 = 0;
    const char* suffix = "";
    switch (code) {
        case 8:
            if (!twelveHour(p.hour, hour12, suffix)) return {};
            return longDate(p) + "  " + twoDigits(hour12) + ":" + twoDigits(p.minute) + " " + suffix;
        case 9:
            return longDate(p);
        case 10:
            return twoDigits(p.month) + "/" + twoDigits(p.day) + "/" + twoDigits(p.year);
        case 11:
            return twoDigits(p.year) + "/" + twoDigits(p.month) + "/" + twoDigits(p.day);
        case 12:
            if (!twelveHour(p.hour, hour12, suffix)) return {};
            return clockText(hour12, p) + " " + suffix;
        case 13:
            return clockText(p.hour, p);
        case 14:
            return monthName(p.month);
        case 15:
            return dayName(p.weekday);
        default:
            return {};
    }
}

const char* monthName(int month) {
    return month >= 1 && month <= 12 ? kMonthNames[static_cast<std::size_t>(month)] : "";
}

const char* dayName(int weekday) {
    return weekday >= 1 && weekday <= 7 ? kDayNames[static_cast<std::size_t>(weekday)] : "";
}

}  // namespace qx
