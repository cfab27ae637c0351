#include <gtest/gtest.h>

#include "function_fixture.h"

namespace qx {
namespace {

using test::FailCase;
using test::FunctionFixture;
using test::ValueCase;

// The fixture's clock reads 6 December 2026 (day 340), 13:45:30: the millennium is 2000.
TEST(DateFamily, DatevaluesTheirPartsAndMovingAcrossDaysAndYears) {
    FunctionFixture fx;
    const ValueCase cases[] = {
        {"date(2001,12,31)", 2001365},
        {"date(0,1,1)", 2000001},
        {"date(99,12,31)", 2099365},
        {"dpy(2000)", 366},
        {"dpy(2024)", 366},
        {"dpy(0)", 366},
        {"dpy(100)", 365},  // 2100 is no leap year
        {"dpm(2000,2)", 29},
        {"dpm(1900,2)", 28},
        {"dpm(100,2)", 28},
        {"dpm(2001,4)", 30},
        {"wkday(2000001)", 7},
        {"year(2009032.153000)", 2009},
        {"month(2009032.153000)", 2},
        {"day(2009032.153000)", 1},
        {"hour(2009032.153000)", 15},
        {"minute(2009032.153000)", 30},
        {"second(2009032.153007)", 7},
        {"year(99032)", 2099},
        {"hour(0.0945)", 9},
        {"time(13,45,30)", 0.134530},
        {"now()", 2026340.134530},
        {"nxdate(2000365,1)", 2000366},
        {"nxdate(2001001,-1)", 2000366},
        {"nxdate(1999365.12,1)", 2000001.12},
        {"nxdate(2000060,366)", 2001060},
        {"nxdate(2000060,0)", 2000060},
        {"nxtime(1999365.235959,1)", 2000001},
        {"nxtime(2000001,-1)", 1999365.235959},
        {"nxtime(2000001.1200,3600)", 2000001.13},
        {"nxtime(0.12,60)", 0.1201},
        {"tmdif(2000001,1999001)", 31536000},
        {"tmdif(1999001,2000001)", -31536000},
        {"tmdif(2001001,2000001)", 31622400},
        {"tmdif(0.0001,0)", 60},
    };
    fx.expectValues(cases, 1e-7);
}

TEST(DateFamily, InvalidDatesAndCalls) {
    FunctionFixture fx;
    const FailCase cases[] = {
        {"date(2001,2,29)", 36},
        {"date(1999,13,1)", 36},
        {"date(1999,1,0)", 36},
        {"date(10000,1,1)", 36},
        {"date(-5,1,1)", 36},
        {"time(24,0,0)", 36},
        {"time(1,60,0)", 36},
        {"year(2001366)", 36},
        {"year(0.25)", 36},
        {"hour(2000001.250000)", 36},
        {"tmdif(2000367,1)", 36},
        {"nxdate(0.12,1)", 36},
        {"nxtime(0.2359,60)", 36},
        {"nxdate(9999365,1)", 36},
        {"dpm(2001,13)", 36},
        {"dpy(-1)", 36},
        {"wkday(-1)", 36},
        {"date(1,2)", 29},
        {"date(1,2,3,4)", 17},
        {"now(1)", 29},
        {"year()", 29},
        {"tmdif(1)", 29},
        {"day(\"x\")", 55},
    };
    fx.expectFailures(cases);
}

TEST(DateFamily, TheMillenniumFollowsTheClock) {
    FunctionFixture fx;
    DateTime later;
    later.year = 3001;
    later.yearDay = 1;
    fx.platform.setNow(later);
    EXPECT_EQ(fx.eval("date(5,1,1)").value, 3005001);
    EXPECT_EQ(fx.eval("year(5001)").value, 3005);
}

}  // namespace
}  // namespace qx
