#include "display/display_format.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace qx {
namespace {

struct FormatCase {
    int code;
    int precision;
    int width;
    double value;
    const char* shown;  // right-justified; "*" or "!" alone means the width filled with it
    int mode = 0;
};

std::string expected(const FormatCase& c) {
    const std::string s = c.shown;
    if (s == "*" || s == "!") return std::string(static_cast<std::size_t>(c.width), s[0]);
    return std::string(static_cast<std::size_t>(c.width) - s.size(), ' ') + s;
}

void checkAll(const std::vector<FormatCase>& cases, int millennium = kDefaultMillennium) {
    for (const FormatCase& c : cases) {
        NumberFormat f;
        f.code = c.code;
        f.precision = c.precision;
        f.width = c.width;
        f.mode = c.mode;
        f.millennium = millennium;
        ErrStat err;
        EXPECT_EQ(formatNumber(c.value, f, err), expected(c))
            << "code " << c.code << " precision " << c.precision << " value " << c.value;
        EXPECT_FALSE(err.failed());
    }
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(DisplayFormat, NumericFormats) {
    checkAll({
        {0, 2, 22, 1234.567, "1234.57"},
        {0, 2, 22, 0.001, "0.001"},
        {0, 0, 22, 0.0001, "0.0001"},
        {0, 2, 10, 1e20, "1.00e+20"},
        {0, 2, 6, 1e300, "*"},
        {0, 2, 22, -0.0, "0.00"},
        {0, 2, 22, 1234.5, "1.23e+03", 1},
        {0, 5, 5, 1.0, "*"},
        {1, 0, 22, 12345.0, "1e+04"},
        {1, 0, 4, 12345.0, "*"},
        {2, 0, 22, -1234567.0, "-1,234,567"},
        {2, 2, 22, 1234.5, "1,234.50"},
        {2, 0, 22, 999.0, "999"},
        {2, 0, 22, 123456.0, "123,456"},
        {2, 2, 22, 1e-5, "1e-05"},
        {7, 0, 22, 1223.5, "$1,223.50"},
        {7, 9, 22, -1234.5, "-$1,234.50"},
        {7, 0, 22, 0.0, "$0.00"},
        {3, 0, 22, 255.0, "0xFF"},
        {3, 0, 22, -1.0, "0xFFFFFFFF"},
        {3, 0, 22, 4294967294.0, "0xFFFFFFFE"},
        {3, 0, 22, 4294967295.0, "*"},
        {3, 0, 22, -2147483647.0, "0x80000001"},
        {3, 0, 22, -2147483648.0, "*"},
        {3, 0, 9, -1.0, "*"},
        {4, 0, 22, 8.0, "010"},
        {4, 0, 22, -1.0, "037777777777"},
        {5, 0, 40, 241.0, "11110001"},
        {5, 0, 40, 256.0, "00000001 00000000"},
        {5, 0, 40, -1.0, "11111111 11111111 11111111 11111111"},
        {5, 0, 10, -1.0, "*"},
        {6, 1, 22, 0.125, "12.5%"},
        {6, 0, 22, 0.005, "1%"},
        {6, 0, 22, -0.125, "-13%"},
        {6, 1, 4, 0.125, "*"},
        {6, 2, 22, 1e307, "+1.#INF"},
    });
}

TEST(DisplayFormat, MarkersForValuesAndCodes) {
    checkAll({
        {0, 2, 22, kInf, "+1.#INF"},
        {0, 2, 22, 1.7e308, "+1.#INF"},
        {0, 2, 22, -1.7e308, "-1.#INF"},
        {3, 0, 22, kInf, "+1.#INF"},
        {9, 0, 22, -kInf, "-1.#INF"},
        {0, 2, 22, kNaN, "-1.#INF"},
        {0, 2, 6, kInf, "*"},
        {16, 2, 8, 1.0, "!"},
        {24, 2, 8, 1.0, "!"},
        {27, 2, 8, 1.0, "!"},
        {-1, 2, 8, 1.0, "!"},
    });
}

TEST(DisplayFormat, DateAndTimeFormats) {
    const double feb1 = 2009032.153;  // 1 February 2009, 15:30:00
    checkAll({
        {8, 0, 30, feb1, "February 1, 2009  03:30 PM"},
        {9, 0, 30, feb1, "February 1, 2009"},
        {10, 0, 30, feb1, "02/01/09"},
        {11, 0, 30, feb1, "09/02/01"},
        {12, 0, 30, feb1, "03:30:00 PM"},
        {13, 0, 30, feb1, "15:30:00"},
        {14, 0, 30, feb1, "February"},
        {15, 0, 30, feb1, "Sunday"},
        {9, 2, 8, feb1, "February"},  // dates are cut, not starred
        {9, 0, 30, 2009366.0, "!"},
        {9, 0, 30, 2008366.0, "December 31, 2008"},
        {15, 0, 30, 2008366.0, "Wednesday"},
        {9, 0, 30, 2000060.0, "February 29, 2000"},
        {9, 0, 30, 1900060.0, "March 1, 1900"},
        {15, 0, 30, 1900060.0, "Thursday"},
        {9, 0, 30, 9032.0, "February 1, 2009"},
        {9, 0, 30, 100001.0, "January 1, 2100"},
        {15, 0, 30, 100001.0, "Friday"},
        {9, 0, 30, 101001.0, "January 1, 101"},
        {9, 0, 30, 32.0, "February 1, 2000"},
        {9, 0, 30, 9999365.235959, "December 31, 9999"},
        {9, 0, 30, 9999366.0, "!"},
        {9, 0, 30, 9999367.0, "!"},
        {9, 0, 30, -1.0, "!"},
        {9, 0, 30, 0.153, "!"},
        {12, 0, 30, 0.153, "03:30:00 PM"},
        {12, 0, 30, 0.0, "12:00:00 AM"},
        {12, 0, 30, 0.12, "12:00:00 PM"},
        {13, 0, 30, 0.24, "24:00:00"},
        {12, 0, 30, 0.24, "!"},
        {8, 0, 30, 2009032.24, "!"},
        {13, 0, 30, 0.23596, "24:00:00"},
        {12, 0, 30, 0.12596, "01:00:00 PM"},
        {13, 0, 30, 0.2401, "!"},
        {13, 0, 30, 0.1261, "!"},
        {13, 0, 30, 0.120061, "!"},
        {13, 0, 30, 0.23606, "!"},
    });
}

TEST(DisplayFormat, DatevalueYearsFollowTheGivenMillennium) {
    checkAll({{9, 0, 30, 9032.0, "February 1, 3009"}, {9, 0, 30, 2009032.0, "February 1, 2009"}}, 3000);
}

TEST(DisplayFormat, BearingsAndStations) {
    checkAll({
        {25, 1, 22, 145.3015, "N45 30'15.0\"E"},
        {25, 0, 22, 145.3015, "N45 30'15\"E"},
        {25, 1, 22, 245.3005, "S45 30'05.0\"E"},
        {25, 1, 22, 345.0, "S45 00'00.0\"W"},
        {25, 1, 22, 400.0, "N00 00'00.0\"W"},
        {25, 1, 22, 145.305996, "N45 31'00.0\"E"},
        {25, 0, 22, 145.30597, "N45 31'00\"E"},
        {25, 1, 22, 145.595996, "N46 00'00.0\"E"},
        {25, 1, 22, 145.60, "N46 00'00.0\"E"},
        {25, 1, 22, 145.70, "!"},
        {25, 1, 22, 145.3070, "!"},
        {25, 1, 22, 545.0, "!"},
        {25, 1, 22, 45.0, "!"},
        {25, 1, 22, -145.0, "!"},
        {25, 1, 10, 145.3015, "*"},
        {26, 0, 22, 150.0, "1+50"},
        {26, 0, 22, -150.0, "-1+50"},
        {26, 0, 22, 5.0, "0+05"},
        {26, 0, 22, 0.0, "0+00"},
        {26, 1, 22, 12345.6, "123+45.6"},
        {26, 0, 22, 99.6, "1+00"},
        {26, 0, 8, 1e9, "*"},
    });
}

TEST(DisplayFormat, JustificationAndStationColumn) {
    ErrStat err;
    NumberFormat f;
    f.precision = 1;
    f.width = 6;
    f.justify = Justify::Left;
    EXPECT_EQ(formatNumber(1.5, f, err), "1.5   ");
    f = NumberFormat{};
    f.code = 26;
    f.precision = 0;
    f.width = 10;
    f.alignColumn = 5;
    EXPECT_EQ(formatNumber(150.0, f, err), "   1+50   ");
    EXPECT_EQ(formatNumber(-12345.0, f, err), "-123+45   ");
    f.alignColumn = 2;
    EXPECT_EQ(formatNumber(12345.0, f, err), "123+45    ");
}

TEST(DisplayFormat, InvalidWidthOrPrecisionIsAnError) {
    for (auto [width, precision] : {std::pair{0, 2}, {-5, 2}, {256, 2}, {22, -1}}) {
        NumberFormat f;
        f.width = width;
        f.precision = precision;
        ErrStat err;
        EXPECT_EQ(formatNumber(1.0, f, err), "");
        EXPECT_TRUE(err.failed());
        EXPECT_EQ(err.letter, kLetterLib);
    }
}

// Whatever the value, every code and width gives exactly `width` characters and no error.
TEST(DisplayFormat, AnyValueFitsEveryWidth) {
    const std::vector<double> values = {kNaN,         kInf,      -kInf,       DBL_MAX,      -DBL_MAX,
                                        1.7e308,      1e308,     -1.6999e308, -0.0,         DBL_TRUE_MIN,
                                        -DBL_MIN,     1e-300,    0.5,         -123456.789,  1e15,
                                        4294967295.0, 9999366.9, 245.5959,    -2147483648.0};
    std::vector<int> codes = {-1, 16, 24, 27, 33, 127};
    for (int c = 0; c <= 15; ++c) codes.push_back(c);
    codes.insert(codes.end(), {25, 26});
    for (double v : values) {
        for (int code : codes) {
            for (int width = 1; width <= kMaxDisplayWidth; ++width) {
                for (int precision : {0, 14}) {
                    NumberFormat f;
                    f.code = code;
                    f.width = width;
                    f.precision = precision;
                    f.alignColumn = width / 2;
                    ErrStat err;
                    ASSERT_EQ(formatNumber(v, f, err).size(), static_cast<std::size_t>(width));
                    ASSERT_FALSE(err.failed());
                }
            }
        }
    }
}

}  // namespace
}  // namespace qx
