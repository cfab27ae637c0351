#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>

#include "core/messages.h"
#include "engineering/road/vertical_curve.h"
#include "unit/engineering/cogo_fixture.h"

namespace qx::test {
namespace {

class Road : public CogoFixture {};

std::string number(double v) {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

TEST_F(Road, StraightProfileElements) {
    fill({{1, 1, "@XY(10,20)"},
          {2, 1, "@Profile([1,1],50,100,0,0,1,0,0)"},
          {3, 1, "@Slope([2,1],150,2)"},
          {4, 1, "@Elevation([3,1],250,101)"},
          {5, 1, "@Station([4,1],200)"}});
    EXPECT_EQ(value(2, 1), 100.0);
    expectArray(values(2, 1), {50, 0, 0, 0, 60, 20, 0, 0}, 1e-12, "profile start");
    EXPECT_EQ(value(3, 1), 102.0);
    expectArray(values(3, 1), {150, 0, 2, 0, 160, 20, 0, 3}, 1e-12, "slope");
    expectArray(values(4, 1), {250, 0, -1, 0, 260, 20, 0, 2}, 1e-12, "elevation");
    EXPECT_DOUBLE_EQ(value(5, 1), 101.5);
    expectArray(values(5, 1), {200, 0, -1, 0, 210, 20, 0, 1}, 1e-12, "station");
    EXPECT_EQ(kind(2, 1), static_cast<int>(ObjectKind::Profile));
    EXPECT_EQ(kind(5, 1), static_cast<int>(ObjectKind::StationElement));
}

// Vertical curves checked against the parabola y = y0 + g1 x + (g2 - g1) x^2 / 2L.
TEST_F(Road, VerticalCurvesFollowTheParabola) {
    fill({{1, 1, "@XY(0,0)"},
          {2, 1, "@Profile([1,1],-100,98,0,0,1,0,0)"},
          {3, 1, "@Slope([2,1],0,2)"},
          {4, 1, "@VertCurve([3,1],200,-2)"},
          {5, 1, "@Station([4,1],50)"},
          {5, 2, "@Station([4,1],100)"},
          // A sag between two falling grades: no low point on the curve.
          {7, 1, "@Profile([1,1],1300,246,0,0,1,0,0)"},
          {8, 1, "@Slope([7,1],1400,-1.5)"},
          {9, 1, "@VertCurve([8,1],1800,-0.5)"}});
    EXPECT_DOUBLE_EQ(value(3, 1), 100.0);
    EXPECT_DOUBLE_EQ(value(4, 1), 100.0);
    expectArray(values(4, 1), {200, 0, -2, 0, 200, 0, 0, 4, 2, 200, 100, -2, 100, 101, -2}, 1e-12, "crest");
    EXPECT_DOUBLE_EQ(value(5, 1), 100 + 0.02 * 50 - 4.0 / 400 * 50 * 50 / 100);
    EXPECT_DOUBLE_EQ(value(5, 2), 101.0);
    EXPECT_DOUBLE_EQ(value(8, 1), 244.5);
    EXPECT_DOUBLE_EQ(value(9, 1), 240.5);
    expectArray(values(9, 1), {1800, 0, -0.5, 0, 1800, 0, 0, 4, -1.5, 1800, 1600, 0.25, 0, 0, -0.5}, 1e-12, "sag");
}

TEST_F(Road, VerticalCurveLimits) {
    ErrStat err;
    const VerticalCurve vc = verticalCurve(0, 100, 2, -2, 200, 1, err);
    ASSERT_FALSE(err.failed());
    elevationOnCurve(vc, 250, err);
    EXPECT_EQ(err.savedCode, codeOf(L06::StationOutOfRange));
    err.clear();
    verticalCurve(0, 100, 2, 2, 200, 1, err);
    EXPECT_EQ(err.savedCode, codeOf(L06::EqualGrades));
    err.clear();
    verticalCurve(0, 100, 2, 1, 0, 1, err);
    EXPECT_EQ(err.savedCode, codeOf(L06::VerticalCurveUnsolvable));
}

// Offsets lie right of the direction of travel, so a right turn runs inside the centre line.
TEST_F(Road, OffsetLinesOnCurves) {
    const double quarter = 50 * std::numbers::pi;  // a quarter turn of the centre line, radius 100
    struct Case {
        double offset;
        double parameter;
        std::vector<double> point;
        double direction;
    };
    const Case cases[] = {
        {10, 100, {90, 90}, 0},
        {10, -100, {-110, 110}, 180},
        {0, 100, {100, 100}, 0},
    };
    for (const Case& c : cases) {
        fill({{1, 1, "@XY(0,0)"}, {2, 1, "@Profile([1,1],0,100," + number(c.offset) + ",0,1,0,90)"}});
        const std::string slope = "@Slope([2,1]," + number(quarter) + ",1," + number(c.parameter) + ")";
        ASSERT_EQ(failureOf(3, 1, slope), Failure{}) << slope;
        const std::vector<double> v = values(3, 1);
        expectArray({v[4], v[5]}, c.point, 1e-4, slope);
        EXPECT_NEAR(std::remainder(v[3] - c.direction, 360.0), 0.0, 1e-9) << slope;
        const double radius = c.parameter > 0 ? 100 - c.offset : 100 + c.offset;
        EXPECT_NEAR(value(3, 1), 100 + 0.01 * quarter * radius / 100, 1e-4) << slope;
    }
    enter(2, 1, "@Profile([1,1],0,100,10,0,1,0,90)");
    EXPECT_EQ(failureOf(3, 1, "@Slope([2,1],50,1,5)"), general(37));  // the offset line's radius is gone
}

TEST_F(Road, LinksStationsAndCrossSections) {
    fill({{1, 1, "@XY(0,0)"},
          {1, 2, "'label"},
          {2, 1, "@Profile([1,1],0,100,0,0,1,0,0)"},
          {2, 2, "@Profile([1,1],0,90,0,0,1,0,0)"},
          {2, 3, "@Profile([1,1],0,80,0,0,1,0,0)"},
          {3, 1, "@Slope([2,1],200,2)"},
          {4, 1, "@Station([3,1],100)"}});
    EXPECT_EQ(value(3, 1), 104.0);
    const std::pair<const char*, Failure> cases[] = {
        {"@Slope([1,1],300,2)", general(19)},  // a point is no element of a profile
        {"@Slope([1,2],300,2)", general(19)},
        {"@Slope([9,9],300,2)", general(67)},  // the missing link
        {"@Slope([4,1],300,2)", general(19)},  // a station cannot be linked to
        {"@Slope([3,1],200,2)", general(69)},  // not beyond the link
        {"@VertCurve([3,1],300,2)", geometry(11)},
        {"@Station([2,1],50)", general(19)},
        {"@Station([3,1],250)", general(69)},
        {"@Station([3,1],-5)", general(69)},
        {"@Slope([2,1],300)", general(29)},
        {"@Profile([1,2],0,100,0,0,1,0,0)", general(19)},
        {"@Profile([9,9],0,100,0,0,1,0,0)", general(19)},
        {"@Profile([1,1],0,100,0,2,1,0,0)", general(37)},
        {"@Profile([1,1],0,100,0,0,1,5,0)", geometry(1)},
        {"@Xsection(100,[2,1])", general(29)},
        {"@Xsection(100,[2,1],[9,9])", general(11)},
        {"@Xsection(100,[2,1],[3,1])", general(19)},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(failureOf(6, 1, text), expected) << text;
    ASSERT_EQ(failureOf(6, 1, "@Xsection(100,[2,1],[2,2],[2,3])"), Failure{});
    EXPECT_EQ(value(6, 1), 100.0);
    expectArray(values(6, 1), {3}, 0.0, "cross-section");
    ASSERT_EQ(failureOf(6, 1, "@Profile()"), Failure{});
    expectArray(values(6, 1), {0, 0, 0, 0, 0, 0, 0, 0}, 0.0, "empty profile start");
}

}  // namespace
}  // namespace qx::test
