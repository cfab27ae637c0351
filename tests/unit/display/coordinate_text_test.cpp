#include "display/coordinate_text.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qx {
namespace {

struct Case {
    int format;
    int mode;
    double x;
    double y;
    double z;
    int precision;
    int blanks;
    int width;
    const char* text;  // empty when the writer refuses
    int code;
};

TEST(CoordinateText, EveryPointFormat) {
    const double c = std::cos(30.5 * 3.14159265358979 / 180);
    const double s = std::sin(30.5 * 3.14159265358979 / 180);
    const Case cases[] = {
        {34, 1, 1.5, -2, 7, 2, 1, 22, "(1.50, -2.00)", 0},
        {35, 1, 1, 2, 3, 0, 1, 22, "(1, 2, 3)", 0},
        {33, 1, 200, 100, 0, 2, 1, 22, "[100.00, 200.00]", 0},  // northing first
        {37, 1, 200, 100, 5, 2, 1, 30, "[100.00, 200.00, 5.00]", 0},
        {34, 1, 0.001, 0, 0, 2, 1, 22, "(0.001, 0.00)", 0},  // too small for the decimals
        {34, 1, 1.5, -2, 0, 2, 0, 22, "(1.50,-2.00)", 0},
        {34, 1, 1.5, -2, 0, 2, 3, 22, "(1.50,   -2.00)", 0},
        // Polar: the distance and the ray from the origin, the ray in the cell's angle mode.
        {36, 1, 0, 2, 0, 2, 1, 22, "{2.00, 90.00000}", 0},
        {36, 1, -1, -1, 0, 2, 1, 22, "{1.41, 225.00000}", 0},
        {36, 0, 0, 1, 0, 2, 1, 22, "{1.00, 1.57080}", 0},
        {36, 2, 0, 1, 0, 2, 1, 22, "{1.00, 100.00000}", 0},
        {36, 3, c, s, 0, 2, 1, 22, "{1.00, 30.30000}", 0},
        {34, 1, 1.5, -2, 0, 2, 1, 12, "", 42},  // one character too wide
        {34, 1, 1.5, -2, 0, 2, 1, 13, "(1.50, -2.00)", 0},
        {32, 1, 1, 2, 0, 2, 1, 22, "", 33},
        {38, 1, 1, 2, 0, 2, 1, 22, "", 33},
    };
    for (const Case& k : cases) {
        CoordinateRequest r;
        r.format = k.format;
        r.angleMode = k.mode;
        r.x = k.x;
        r.y = k.y;
        r.z = k.z;
        r.precision = k.precision;
        r.commaBlanks = k.blanks;
        r.width = k.width;
        const CoordinateText t = coordinateText(r);
        EXPECT_EQ(t.text, k.text) << k.format << " " << k.x << "," << k.y;
        EXPECT_EQ(t.code, k.code) << k.format << " " << k.x << "," << k.y;
    }
}

}  // namespace
}  // namespace qx
