#include "core/number_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

namespace qx {
namespace {

using Formatter = std::string (*)(double, int);

struct TextCase {
    Formatter format;
    const char* printfFormat;
    double value;
    int precision;
    const char* expected;
};

const TextCase kCases[] = {
    {formatFixed, "%.*f", 3.0, 2, "3.00"},
    {formatFixed, "%.*f", 2.5, 0, "2"},  // ties go to even, as printf does
    {formatFixed, "%.*f", -0.004, 2, "-0.00"},
    {formatFixed, "%.*f", 1.005, 2, "1.00"},  // 1.005 is stored just below
    {formatFixed, "%.*f", 1e21, 0, "1000000000000000000000"},
    {formatFixed, "%.*f", 1.5, -1, "1.500000"},
    {formatExponent, "%.*e", 0.0, 2, "0.00e+00"},
    {formatExponent, "%.*e", -12345.678, 0, "-1e+04"},
    {formatExponent, "%.*e", 1.7e308, 4, "1.7000e+308"},
    {formatExponent, "%.*e", 9.99, 1, "1.0e+01"},
    {formatGeneral, "%.*g", 0.0001, 6, "0.0001"},
    {formatGeneral, "%.*g", 0.00001, 6, "1e-05"},
    {formatGeneral, "%.*g", 1234567.0, 6, "1.23457e+06"},
    {formatGeneral, "%.*g", 100.0, 0, "1e+02"},
    {formatGeneral, "%.*g", 0.1 + 0.2, 15, "0.3"},
    {formatGeneral, "%.*g", 0.1 + 0.2, 17, "0.30000000000000004"},
    {formatGeneral, "%.*g", 1e15, 15, "1e+15"},
    {formatGeneral, "%.*g", 999999999999999.0, 15, "999999999999999"},
};

TEST(NumberText, MatchesCLocalePrintf) {
    ASSERT_NE(std::setlocale(LC_NUMERIC, "C"), nullptr);
    for (const auto& c : kCases) {
        SCOPED_TRACE(std::string(c.printfFormat) + " " + c.expected);
        EXPECT_EQ(c.format(c.value, c.precision), c.expected);
        char buf[512];
        std::snprintf(buf, sizeof buf, c.printfFormat, c.precision, c.value);
        EXPECT_EQ(c.format(c.value, c.precision), buf);
    }
}

TEST(NumberText, NonFiniteValuesPrintAsInfByTheirSign) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double value;
        const char* expected;
    } cases[] = {{inf, "+1.#INF"}, {-inf, "-1.#INF"}, {std::nan(""), "+1.#INF"}, {-std::nan(""), "-1.#INF"}};
    for (const auto& c : cases) {
        for (Formatter f : {formatFixed, formatExponent, formatGeneral}) EXPECT_EQ(f(c.value, 3), c.expected);
        EXPECT_EQ(formatG15(c.value), c.expected);
    }
}

TEST(NumberText, LargestValueInFixedFitsWithLongPrecision) {
    std::string text = formatFixed(-std::numeric_limits<double>::max(), 40);
    EXPECT_EQ(text.size(), 1u + 309u + 1u + 40u);
    EXPECT_EQ(text.substr(0, 6), "-17976");
}

}  // namespace
}  // namespace qx
