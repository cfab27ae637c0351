// Dates and times as datevalues, yyyyddd.hhmmss.
#include <cmath>
#include <cstdint>
#include <optional>

#include "core/numeric.h"
#include "display/datevalue.h"
#include "functions/argument_readers.h"
#include "functions/families.h"
#include "functions/origins.h"
#include "platform/platform.h"

namespace qx {

using namespace origins::functions;

namespace {

constexpr int kFirstYear = 101;  // a smaller year in a datevalue is read in the current millennium
constexpr int kLastYear = 9999;
constexpr int64_t kSecondsPerDay = 86400;
constexpr int kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

DateTime clockNow(FunctionCall& call) {
    Platform* platform = call.services().platform;
    return platform != nullptr ? platform->now() : DateTime{};
}

int millennium(FunctionCall& call) {
    return clockNow(call).year / 1000 * 1000;
}

// Years 0..100 are taken in the current millennium, here as inside datevalues.
int windowedYear(FunctionCall& call, double year) {
    const int y = toInt32(year);
    return y >= 0 && y <= 100 ? y + millennium(call) : y;
}

bool validYear(int year) {
    return year >= kFirstYear && year <= kLastYear;
}

int daysInMonth(int year, int month) {
    return month == 2 && isLeapYear(year) ? 29 : kMonthDays[month - 1];
}

int64_t daysBeforeYear(int year) {
    const int64_t y = year - 1;
    return 365 * y + y / 4 - y / 100 + y / 400;
}

// Days since the start of year 1, the first day being 1.
int64_t dayNumber(int year, int dayOfYear) {
    return daysBeforeYear(year) + dayOfYear;
}

void fromDayNumber(int64_t n, int& year, int& dayOfYear) {
    int y = static_cast<int>(n / 365);
    if (y < 1) y = 1;
    while (y > 1 && daysBeforeYear(y) >= n) --y;
    while (daysBeforeYear(y + 1) < n) ++y;
    year = y;
    dayOfYear = static_cast<int>(n - daysBeforeYear(y));
}

double timeFraction(int64_t secondsOfDay) {
    const int64_t h = secondsOfDay / 3600;
    const int64_t m = secondsOfDay / 60 % 60;
    const int64_t s = secondsOfDay % 60;
    return static_cast<double>(h) / 100.0 + static_cast<double>(m) / 10000.0 + static_cast<double>(s) / 1e6;
}

int64_t secondsOfDay(const DateTimeParts& p) {
    return p.hour * 3600 + p.minute * 60 + p.second;
}

// Seconds since the start of year 1; a time-only value counts from the start of its day.
int64_t absoluteSeconds(const DateTimeParts& p) {
    const int64_t days = p.hasDate ? dayNumber(p.year, p.dayOfYear) : 0;
    return days * kSecondsPerDay + secondsOfDay(p);
}

double outOfRange(FunctionCall& call, ErrStat& err) {
    return callFailure(call, err, kDates, 1, Msg::OutOfRange);
}

// Exactly `count` numbers; surplus ones are a missing ')'.
bool readExactly(FunctionCall& call, double* values, int count, ErrStat& err) {
    err.enter();
    boundedArguments(call, values, count, count, true, err);
    return !err.failed();
}

std::optional<DateTimeParts> decoded(FunctionCall& call, double value, bool needDate, ErrStat& err) {
    std::optional<DateTimeParts> p = decodeDatevalue(value, millennium(call));
    if (!p || (needDate && !p->hasDate)) {
        outOfRange(call, err);
        return std::nullopt;
    }
    return p;
}

// The date functions of one datevalue.
template <typename Field>
double field(FunctionCall& call, bool needDate, Field pick, ErrStat& err) {
    double v = 0.0;
    if (!readExactly(call, &v, 1, err)) return 0.0;
    const std::optional<DateTimeParts> p = decoded(call, v, needDate, err);
    return p ? pick(*p) : 0.0;
}

// Seconds since the start of year 1 back into a datevalue.
double fromSeconds(FunctionCall& call, int64_t seconds, ErrStat& err) {
    if (seconds < kSecondsPerDay) return outOfRange(call, err);
    int year = 0;
    int dayOfYear = 0;
    fromDayNumber(seconds / kSecondsPerDay, year, dayOfYear);
    if (!validYear(year)) return outOfRange(call, err);
    return year * 1000.0 + dayOfYear + timeFraction(seconds % kSecondsPerDay);
}

}  // namespace

double fnDate(FunctionCall& call, ErrStat& err) {
    double a[3] = {};
    if (!readExactly(call, a, 3, err)) return 0.0;
    const int year = windowedYear(call, a[0]);
    const int month = toInt32(a[1]);
    const int day = toInt32(a[2]);
    if (!validYear(year) || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month)) {
        return outOfRange(call, err);
    }
    int dayOfYear = day;
    for (int m = 1; m < month; ++m) dayOfYear += daysInMonth(year, m);
    return year * 1000.0 + dayOfYear;
}

double fnTime(FunctionCall& call, ErrStat& err) {
    double a[3] = {};
    if (!readExactly(call, a, 3, err)) return 0.0;
    const int h = toInt32(a[0]);
    const int m = toInt32(a[1]);
    const int s = toInt32(a[2]);
    if (h < 0 || h > 23 || m < 0 || m > 59 || s < 0 || s > 59) return outOfRange(call, err);
    return timeFraction(h * 3600 + m * 60 + s);
}

double fnNow(FunctionCall& call, ErrStat& err) {
    err.enter();
    double unused[kMaxListArguments];
    boundedArguments(call, unused, 0, 0, false, err);
    if (err.failed()) return 0.0;
    const DateTime t = clockNow(call);
    return t.year * 1000.0 + t.yearDay + timeFraction(t.hour * 3600 + t.minute * 60 + t.second);
}

double fnYear(FunctionCall& call, ErrStat& err) {
    return field(
        call, true, [](const DateTimeParts& p) { return double(p.year); }, err);
}
double fnMonth(FunctionCall& call, ErrStat& err) {
    return field(
        call, true, [](const DateTimeParts& p) { return double(p.month); }, err);
}
double fnDay(FunctionCall& call, ErrStat& err) {
    return field(
        call, true, [](const DateTimeParts& p) { return double(p.day); }, err);
}
double fnWkday(FunctionCall& call, ErrStat& err) {
    return field(
        call, true, [](const DateTimeParts& p) { return double(p.weekday); }, err);
}
double fnHour(FunctionCall& call, ErrStat& err) {
    return field(
        call, false, [](const DateTimeParts& p) { return double(p.hour); }, err);
}
double fnMinute(FunctionCall& call, ErrStat& err) {
    return field(
        call, false, [](const DateTimeParts& p) { return double(p.minute); }, err);
}
double fnSecond(FunctionCall& call, ErrStat& err) {
    return field(
        call, false, [](const DateTimeParts& p) { return double(p.second); }, err);
}

double fnDpm(FunctionCall& call, ErrStat& err) {
    double a[2] = {};
    if (!readExactly(call, a, 2, err)) return 0.0;
    const int year = windowedYear(call, a[0]);
    const int month = toInt32(a[1]);
    if (!validYear(year) || month < 1 || month > 12) return outOfRange(call, err);
    return daysInMonth(year, month);
}

double fnDpy(FunctionCall& call, ErrStat& err) {
    double y = 0.0;
    if (!readExactly(call, &y, 1, err)) return 0.0;
    const int year = windowedYear(call, y);
    if (!validYear(year)) return outOfRange(call, err);
    return daysInYear(year);
}

double fnNxdate(FunctionCall& call, ErrStat& err) {
    double a[2] = {};
    if (!readExactly(call, a, 2, err)) return 0.0;
    const std::optional<DateTimeParts> p = decoded(call, a[0], true, err);
    if (!p) return 0.0;
    const int64_t days = toInt32(a[1]);
    return fromSeconds(call, absoluteSeconds(*p) + days * kSecondsPerDay, err);
}

double fnNxtime(FunctionCall& call, ErrStat& err) {
    double a[2] = {};
    if (!readExactly(call, a, 2, err)) return 0.0;
    const std::optional<DateTimeParts> p = decoded(call, a[0], false, err);
    if (!p) return 0.0;
    const int64_t moved = absoluteSeconds(*p) + toInt32(a[1]);
    if (p->hasDate) return fromSeconds(call, moved, err);
    // A time of day alone stays within its day.
    if (moved < 0 || moved >= kSecondsPerDay) return outOfRange(call, err);
    return timeFraction(moved);
}

double fnTmdif(FunctionCall& call, ErrStat& err) {
    double a[2] = {};
    if (!readExactly(call, a, 2, err)) return 0.0;
    const std::optional<DateTimeParts> first = decoded(call, a[0], false, err);
    if (!first) return 0.0;
    const std::optional<DateTimeParts> second = decoded(call, a[1], false, err);
    if (!second) return 0.0;
    return static_cast<double>(absoluteSeconds(*first) - absoluteSeconds(*second));
}

namespace {

constexpr FunctionEntry kDateTable[] = {
    {"date", 264, "date ( year, month, day )", fnDate},
    {"day", 265, "day ( datevalue )", fnDay},
    {"dpm", 266, "dpm ( year, month )", fnDpm},
    {"dpy", 267, "dpy ( year )", fnDpy},
    {"hour", 268, "hour ( datevalue )", fnHour},
    {"minute", 269, "minute ( datevalue )", fnMinute},
    {"month", 270, "month ( datevalue )", fnMonth},
    {"now", 271, "now ()", fnNow},
    {"nxdate", 272, "nxdate ( datevalue, days )", fnNxdate},
    {"nxtime", 273, "nxtime ( datevalue, seconds )", fnNxtime},
    {"second", 274, "second ( datevalue )", fnSecond},
    {"time", 275, "time ( hour, minute, second )", fnTime},
    {"tmdif", 276, "tmdif ( datevalue1, datevalue2 )", fnTmdif},
    {"wkday", 277, "wkday ( datevalue )", fnWkday},
    {"year", 278, "year ( datevalue )", fnYear},
};

}  // namespace

std::span<const FunctionEntry> dateFamily() {
    return kDateTable;
}

}  // namespace qx
