#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "function_fixture.h"
#include "functions/angle_modes.h"

namespace qx {
namespace {

using test::FailCase;
using test::FunctionFixture;
using test::ValueCase;

TEST(TrigFamily, FunctionsInEveryAngleMode) {
    FunctionFixture fx;
    const ValueCase cases[] = {
        {"sin(100,2)", 1},
        {"sin(30.0000,3)", 0.5},
        {"cos(0)", 1},
        {"cos(60,1)", 0.5},
        {"tan(45,1)", 1},
        {"cotan(45,1)", 1},
        {"sin(-30,1)", -0.5},
        {"asin(1,1)", 90},
        {"acos(0.5,1)", 60},
        {"atan(1,2)", 50},
        {"asin(0.5,3)", 30},
        {"atan2(1,1,1)", 45},
        {"atan2(-1,0,1)", 180},
        {"atan2(0,-1,1)", -90},
        {"atan2(0,1)", 1.5707963267948966},
        {"cosh(0)", 1},
        {"sinh(0)", 0},
        {"tanh(0)", 0},
        {"sinh(1)", 1.1752011936438014},
        {"mode(3,1,10.3060)", 10.516666666666667},
        {"mode(2,1,100)", 90},
        {"mode(1,2,90)", 100},
        {"mode(2,3,50)", 45},
        {"mode(1,3,-90.5)", -90.3},
        {"mode(3,1,10.6000)", 11},
        {"mode(1,3,10.999999999)", 11},
        {"mode(1,1,7.25)", 7.25},
        {"mode(3,2,45.3000)", 50.55555555555556},
    };
    fx.expectValues(cases, 1e-9);
}

TEST(TrigFamily, ConversionConstantsAreTheSystemsOwn) {
    // Towards radians pi is 3.14159265359, which differs from the true pi by about 2e-13.
    const double toRadians = convertAngle(1, 0, 180).value;
    EXPECT_NEAR(toRadians, 3.14159265359, 1e-15);
    EXPECT_GT(std::fabs(toRadians - std::numbers::pi), 1e-13);
    // Away from radians 1/pi is the double nearest the true value: the true pi is not 180 degrees.
    EXPECT_EQ(convertAngle(0, 1, toRadians).value, 180.0);
    EXPECT_EQ(convertAngle(0, 1, std::numbers::pi).value, 179.99999999998812);
    EXPECT_EQ(convertAngle(4, 1, 1).failure, AngleFailure::IllegalMode);
    EXPECT_EQ(convertAngle(3, 1, 10.6100).failure, AngleFailure::AngleOutOfRange);
}

TEST(TrigFamily, BadModesAndCountsFail) {
    FunctionFixture fx;
    const FailCase cases[] = {
        {"sin(1,4)", 37},     {"sin(1,-1)", 37},     {"sin(1,1.5)", 37}, {"mode(4,1,1)", 37},
        {"atan2(1,1,9)", 37}, {"sin()", 29},         {"sin(1,1,1)", 29}, {"atan2(1)", 29},
        {"mode(1,3)", 29},    {"mode(1,2,3,4)", 29}, {"sin(\"x\")", 55}, {"atan2(1;2)", 31},
    };
    fx.expectFailures(cases);
}

}  // namespace
}  // namespace qx
