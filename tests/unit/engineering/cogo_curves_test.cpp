#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "unit/engineering/cogo_fixture.h"

namespace qx::test {
namespace {

class CogoCurves : public CogoFixture {};

// PT, RP, PI, PC, normal, R, T, C, chord bearing, L, delta, D, sector, segment, out bearing, mode.
using CurveValues = std::vector<double>;

// A 30 degree curve to the right, radius 500, leaving the PC at azimuth 60: the textbook formulas
// T = R tan(delta/2), C = 2R sin(delta/2), L = R delta, D = 2 asin(50/R).
const CurveValues kRightCurve = {
    1250, 1066.987298, 0,          1250, 566.987298, 0,  1116.025404, 1066.987298,  0,           1000, 1000, 0, 0, 0, 1,
    500,  133.974596,  258.819045, 175,  261.799388, 30, 11.478341,   65449.846950, 2949.846950, 190,  1};

TEST_F(CogoCurves, OneCurveThreeWays) {
    fill({{1, 1, "@XY(1000,1000)"},
          {2, 1, "@CurveArc([1,1],261.799387799,500,1,2,60,0)"},
          {3, 1, "@XYZ([2,1,4],[2,1,5],[2,1,6])"},
          {3, 2, "@XYZ([2,1,7],[2,1,8],[2,1,9])"},
          {4, 1, "@CurveDelta([1,1],[3,1],1,30,0)"},
          {5, 1, "@CurveRadius([1,1],[3,2],1,500,0)"}});
    for (int row : {2, 4, 5}) {
        EXPECT_EQ(value(row, 1), 5.0);
        expectArray(values(row, 1), kRightCurve, 1e-5, "row " + std::to_string(row));
    }
    EXPECT_EQ(shown(2, 1), "(1250.00, 1066.99)");
}

// Radius 100 and a tangent of 50: delta = 2 atan(T / R), the PT at (R - R cos delta, R sin delta).
TEST_F(CogoCurves, LeftCurveIsTheMirrorImageOfTheRightOne) {
    fill({{1, 1, "@XY(0,0)"},
          {1, 2, "@XY(0,50)"},
          {2, 1, "@CurveRadius([1,1],[1,2],1,100,0)"},
          {3, 1, "@CurveRadius([1,1],[1,2],1,-100,0)"}});
    const double delta = 2 * std::atan(0.5) * 180 / std::numbers::pi;
    const double chord = std::sqrt(40.0 * 40 + 80 * 80);
    const double arc = 100 * delta * std::numbers::pi / 180;
    const double sector = arc * 100 / 2;
    const CurveValues right = {
        40,         80,  0,     100, 0,      0,
        0,          50,  0,     0,   0,      0,
        0,          0,   1,     100, 50,     chord,
        126.335418, arc, delta, 60,  sector, sector - chord * 50 * std::cos(delta / 2 * std::numbers::pi / 180),
        153.074837, 1};
    expectArray(values(2, 1), right, 1e-6, "right");
    // Mirrored in the y axis: the same elements, the bearings to the west and delta negative.
    CurveValues left = right;
    left[0] = -40;
    left[3] = -100;
    left[18] = 426.335418;
    left[20] = -delta;
    left[24] = 453.074837;
    expectArray(values(3, 1), left, 1e-6, "left");
}

// Three quarters of a circle along a tangent due north equals the same turn about the radius point.
TEST_F(CogoCurves, ArcOfHalfATurnOrMoreTurnsAboutTheRadiusPoint) {
    fill({{1, 1, "@XY(0,0)"},
          {2, 1, "@CurveArc([1,1],471.238898038469,100,1,2,30,0)"},
          {3, 1, "@XYZ([2,1,4],[2,1,5],[2,1,6])"},
          {4, 1, "@CurveDelta([1,1],[3,1],1,270,0)"}});
    // The radius point lies 100 from the PC at azimuth 120, the PT 100 from it at azimuth 210.
    const double h = 50 * std::sqrt(3.0);
    const CurveValues expected = {h - 50,
                                  -50 - h,
                                  0,
                                  h,
                                  -50,
                                  0,
                                  0,
                                  0,
                                  0,
                                  0,
                                  0,
                                  0,
                                  0,
                                  0,
                                  1,
                                  100,
                                  0,
                                  100 * std::sqrt(2.0),
                                  215,
                                  471.238898,
                                  270,
                                  60,
                                  23561.944902,
                                  28561.944902,
                                  460,
                                  1};
    expectArray(values(2, 1), expected, 1e-6, "arc");
    expectArray(values(4, 1), values(2, 1), 1e-8, "delta");
    EXPECT_EQ(failureOf(5, 1, "@CurveDelta([1,1],[3,1],1,200,0)"), Failure{});
    expectArray({values(5, 1)[6], values(5, 1)[7], values(5, 1)[8], values(5, 1)[16]}, {0, 0, 0, 0}, 0.0, "no PI");
}

TEST_F(CogoCurves, CurvesThatCannotBeBuilt) {
    fill({{1, 1, "@XY(0,0)"}, {1, 2, "@XY(0,100)"}});
    const std::pair<const char*, Failure> cases[] = {
        {"@CurveArc([1,1],700,100,1,0,90,0)", geometry(8)},  // arc is >= circumference
        {"@CurveArc([1,1],100,100,4,0,90,0)", geometry(6)}, {"@CurveArc([1,1],100,100,1,6,90,0)", geometry(1)},
        {"@CurveDelta([1,1],[1,2],1,360,0)", geometry(3)},  {"@CurveDelta([1,1],[1,2],1,0,0)", geometry(3)},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(failureOf(2, 1, text), expected) << text;
}

TEST_F(CogoCurves, TrianglesFromThreeParts) {
    struct Case {
        const char* text;
        std::vector<double> parts;
        double area;
    };
    const double c39 = std::sqrt(39.0);
    const double angleA = std::acos((49 + 39 - 25) / (2 * 7 * c39)) * 180 / std::numbers::pi;
    const Case cases[] = {
        {"@Triangle(1,0,0,0,3,4,5)", {36.869898, 53.130102, 90, 3, 4, 5}, 6},
        {"@Triangle(1,0,0,60,5,7,0)",
         {angleA, 120 - angleA, 60, 5, 7, c39},
         0.5 * 5 * 7 * std::sin(std::numbers::pi / 3)},
        {"@Triangle(1,30,60,0,0,0,10)", {30, 60, 90, 5, 10 * std::sin(std::numbers::pi / 3), 10}, 21.650635},
        {"@Triangle(3,30.3000,0,90,0,0,10)", {30.3000, 59.3000, 90, 5.075384, 8.616292, 10}, 21.865493},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(failureOf(1, 1, c.text), Failure{}) << c.text;
        expectArray(values(1, 1), c.parts, 1e-5, c.text);
        EXPECT_NEAR(value(1, 1), c.area, 1e-5) << c.text;
    }
    const std::pair<const char*, Failure> failures[] = {
        {"@Triangle(1,30,60,90,0,0,0)", geometry(4)},  // three angles alone
        {"@Triangle(1,30,0,0,5,7,0)", geometry(4)},    // two sides, an angle not between them
        {"@Triangle(1,30,0,0,3,4,5)", geometry(4)},    // four parts
        {"@Triangle(1,100,90,0,0,0,10)", geometry(3)}, {"@Triangle(1,0,0,0,1,2,5)", geometry(5)},
        {"@Triangle(1,0,0,0,3,4)", general(29)},
    };
    for (const auto& [text, expected] : failures) {
        EXPECT_EQ(failureOf(1, 1, text), expected) << text;
        expectArray(values(1, 1), {0, 0, 0, 0, 0, 0}, 0.0, text);
        EXPECT_EQ(kind(1, 1), static_cast<int>(ObjectKind::Triangle)) << text;
    }
}

TEST_F(CogoCurves, RotationTurnsCounterclockwise) {
    const ValueCase cases[] = {
        {"rotate(1,0,30,15)", 45},         {"rotate(1,0,10,-20)", 350},  {"rotate(1,2,90,90)", 0},
        {"rotate(3,1,130.0000,-30)", 160}, {"rotate(1,4,170,20)", -170}, {"rotate(2,0,100,-100)", 0},
    };
    expectValues(cases, 1e-9);
    EXPECT_EQ(eval("rotate(1,5,30,15)").code, 1);  // illegal angle type
    EXPECT_EQ(eval("rotate(4,0,30,15)").code, 6);  // illegal mode
}

TEST_F(CogoCurves, TextStandsBetweenTwoPoints) {
    fill({{1, 1, "@XYZ(0,0,1)"}, {1, 2, "@XY(10,0)"}, {2, 1, "@Text([1,1],[1,2],2.5,1)"}});
    EXPECT_EQ(value(2, 1), 1.0);
    expectArray(values(2, 1), {0, 0, 1, 10, 0, 0, 0, 0, 1, 2.5, 1, 0}, 0.0, "text");
}

}  // namespace
}  // namespace qx::test
