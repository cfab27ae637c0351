#include <gtest/gtest.h>

#include <cmath>

#include "function_fixture.h"

namespace qx {
namespace {

using test::FailCase;
using test::FunctionFixture;
using test::ValueCase;

TEST(MathFamily, ValuesComputedByHand) {
    FunctionFixture fx;
    const ValueCase cases[] = {
        {"abs(-77)", 77},       {"ceil(2.1)", 3},       {"ceil(-2.1)", -2},
        {"floor(-2.1)", -3},    {"floor(2.9)", 2},      {"int(-2.7)", -2},
        {"int(2.7)", 2},        {"frac(-2.5)", -0.5},   {"sqrt(16)", 4},
        {"ln(1)", 0},           {"log10(1000)", 3},     {"exp(0)", 1},
        {"rnd(2.5,0)", 3},      {"rnd(1.005,2)", 1.01}, {"rnd(-1.005,2)", -1.01},
        {"rnd(1849,-2)", 1800}, {"rnd(0.125,2)", 0.13}, {"rnd(123.456,-1)", 120},
        {"rnd(1,15)", 1},       {"rnd(5,-15)", 0},      {"abs(-(2+3))", 5},
        {"sqrt( 9 )", 3},
    };
    fx.expectValues(cases, 1e-12);
    EXPECT_NEAR(fx.eval("frac(2.1)").value, 0.1, 1e-12);
    EXPECT_NEAR(fx.eval("exp(1)").value, 2.718281828459045, 1e-15);
}

// The typed decimal is what is rounded: each result is exactly the double of the decimally rounded text,
// where adding a small constant to the binary value fails from about 8 upwards.
TEST(MathFamily, RoundingHalvesOfTypedDecimalsGoAwayFromZero) {
    FunctionFixture fx;
    const std::pair<const char*, double> cases[] = {
        {"rnd(9580.175,2)", 9580.18},
        {"rnd(2.675,2)", 2.68},
        {"rnd(1.005,2)", 1.01},
        {"rnd(123456.785,2)", 123456.79},
        {"rnd(-0.125,2)", -0.13},
        {"rnd(0.0015,3)", 0.002},
        {"rnd(8.345,2)", 8.35},
        {"rnd(1234567.8905,3)", 1234567.891},
        {"rnd(999999999999.5,0)", 1e12},
        {"rnd(99.995,2)", 100},
        {"rnd(0.0004,3)", 0},
        {"rnd(-2.5,0)", -3},
        {"rnd(1000000000000.25,1)", 1000000000000.3},
        {"rnd(1.0049999,2)", 1},
        {"rnd(650,-2)", 700},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(fx.eval(text).value, expected) << text;
}

// Failures of the mathematics library, also those of the trigonometry family, are reported as the
// call's out-of-range parameter; the library's code (6: "loss of significance") stays in the detail.
TEST(MathFamily, LibraryFailuresReportTheCallsFailure) {
    FunctionFixture fx;
    const std::pair<const char*, int> cases[] = {
        {"ln(0)", 6},   {"ln(-1)", 6},     {"log10(0)", 6}, {"sqrt(-1)", 6},   {"exp(1000)", 6},
        {"asin(2)", 2}, {"acos(-1.5)", 2}, {"cotan(0)", 2}, {"cosh(1000)", 2}, {"mode(3,1,10.6100)", 4},
    };
    for (const auto& [text, code] : cases) {
        const ErrStat err = fx.evalErr(text);
        EXPECT_EQ(err.code, 37) << text;
        EXPECT_EQ(err.savedCode, 37) << text;
        EXPECT_NE(err.savedLetter, kLetterLib) << text;
        EXPECT_EQ(err.savedDetail, code) << text;
    }
}

TEST(MathFamily, BadCallsGiveTheirMessages) {
    FunctionFixture fx;
    const FailCase cases[] = {
        {"abs()", 29},       {"abs(,1)", 55},  {"abs(1,2)", 29}, {"ran(1)", 29}, {"rnd(1)", 29},  {"rnd(1,2,3)", 29},
        {"sqrt(\"a\")", 55}, {"abs(1;2)", 29}, {"abs", 17},      {"ABS(1)", 14}, {"Sqrt(4)", 14}, {"abs(1/0)", 55},
    };
    fx.expectFailures(cases);
}

TEST(MathFamily, RoundingPlacesBeyondFifteenAreRefused) {
    FunctionFixture fx;
    const ErrStat err = fx.evalErr("rnd(1,-16)");  // +16 is in the golden transcript
    EXPECT_EQ(err.savedLetter, kLetterLib);
    EXPECT_EQ(err.savedCode, 3);  // "input parameter is out-of-range"
}

TEST(MathFamily, RandomNumberIsReseededFromTheLowClockBits) {
    FunctionFixture fx;
    // Seed 1000 & 255 = 232: 232 * 214013 + 2531011 = 52182027, bits 16..30 give 796.
    fx.platform.setElapsedMs(1000.0);
    EXPECT_NEAR(fx.eval("ran()").value, 0.00796, 1e-15);
    // Seeds 256 apart draw the same number.
    fx.platform.setElapsedMs(1256.0);
    EXPECT_NEAR(fx.eval("ran()").value, 0.00796, 1e-15);
    // Seed 0: 2531011 >> 16 = 38.
    fx.platform.setElapsedMs(0.0);
    EXPECT_NEAR(fx.eval("ran()").value, 0.00038, 1e-15);
}

}  // namespace
}  // namespace qx
