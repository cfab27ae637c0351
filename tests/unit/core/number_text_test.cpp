#include "core/number_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

namespace qx {
namespace {

enum class Kind { Fixed, Exp, General };

struct TextCase {
    Kind kind;
    double value;
    int precision;
    const char* expected;
};

std::string run(Kind kind, double value, int precision) {
    switch (kind) {
        case Kind::Fixed:
            return formatFixed(value, precision);
        case Kind::Exp:
            return formatExponent(value, precision);
        case Kind::General:
            break;
    }
    return formatGeneral(value, precision);
}

const char* printfFormat(Kind kind) {
    switch (kind) {
        case Kind::Fixed:
            return "%.*f";
        case Kind::Exp:
            return "%.*e";
        case Kind::General:
            break;
    }
    return "%.*g";
}

const TextCase kCases[] = {
    {Kind::Fixed, 3.0, 2, "3.00"},
    {Kind::Fixed, 2.5, 0, "2"},  // ties go to even, as printf does
    {Kind::Fixed, 3.5, 0, "4"},
    {Kind::Fixed, -0.0, 1, "-0.0"},
    {Kind::Fixed, -0.004, 2, "-0.00"},
    {Kind::Fixed, 1.005, 2, "1.00"},  // 1.005 is stored just below
    {Kind::Fixed, 123456789.125, 2, "123456789.12"},
    {Kind::Fixed, 1e21, 0, "1000000000000000000000"},
    {Kind::Fixed, 0.1, 20, "0.10000000000000000555"},
    {Kind::Fixed, 1.5, -1, "1.500000"},
    {Kind::Exp, 0.0, 2, "0.00e+00"},
    {Kind::Exp, 12345.678, 3, "1.235e+04"},
    {Kind::Exp, -12345.678, 0, "-1e+04"},
    {Kind::Exp, 1e-5, 1, "1.0e-05"},
    {Kind::Exp, 1.7e308, 4, "1.7000e+308"},
    {Kind::Exp, 5e-324, 2, "4.94e-324"},
    {Kind::Exp, 9.99, 1, "1.0e+01"},
    {Kind::General, 0.0001, 6, "0.0001"},
    {Kind::General, 0.00001, 6, "1e-05"},
    {Kind::General, 123456.0, 6, "123456"},
    {Kind::General, 1234567.0, 6, "1.23457e+06"},
    {Kind::General, 100.0, 0, "1e+02"},
    {Kind::General, 0.5, 0, "0.5"},
    {Kind::General, 1.0 / 3.0, 15, "0.333333333333333"},
    {Kind::General, 0.1 + 0.2, 15, "0.3"},
    {Kind::General, 0.1 + 0.2, 17, "0.30000000000000004"},
    {Kind::General, 1e15, 15, "1e+15"},
    {Kind::General, 999999999999999.0, 15, "999999999999999"},
    {Kind::General, -2.5e-300, 15, "-2.5e-300"},
};

TEST(NumberText, MatchesCLocalePrintf) {
    ASSERT_NE(std::setlocale(LC_NUMERIC, "C"), nullptr);
    for (const auto& c : kCases) {
        SCOPED_TRACE(std::string(printfFormat(c.kind)) + " " + c.expected);
        EXPECT_EQ(run(c.kind, c.value, c.precision), c.expected);
        char buf[512];
        std::snprintf(buf, sizeof buf, printfFormat(c.kind), c.precision, c.value);
        EXPECT_EQ(run(c.kind, c.value, c.precision), buf);
    }
}

TEST(NumberText, NonFiniteValuesPrintAsInfByTheirSign) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double value;
        const char* expected;
    } cases[] = {{inf, "+1.#INF"}, {-inf, "-1.#INF"}, {std::nan(""), "+1.#INF"}, {-std::nan(""), "-1.#INF"}};
    for (const auto& c : cases) {
        for (Kind kind : {Kind::Fixed, Kind::Exp, Kind::General}) EXPECT_EQ(run(kind, c.value, 3), c.expected);
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
