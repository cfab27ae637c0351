#include <gtest/gtest.h>

#include <cmath>

#include "unit/engineering/cogo_fixture.h"

namespace qx::test {
namespace {

class CogoPoints : public CogoFixture {};

TEST_F(CogoPoints, PointFunctionsStoreXYZAndShowInTheirFormat) {
    struct Case {
        const char* text;
        std::vector<double> point;
        const char* shown;
    };
    const Case cases[] = {
        {"@XY(1,2)", {1, 2, 0}, "(1.00, 2.00)"},
        {"@XYZ(1,2,3)", {1, 2, 3}, "(1.00, 2.00, 3.00)"},
        {"@NE(100,200)", {200, 100, 0}, "[100.00, 200.00]"},  // easting is x, northing shown first
        {"@NEE(100,200,5)", {200, 100, 5}, "[100.00, 200.00, 5.00]"},
        {"@POLAR(2,1.5707963267949)", {0, 2, 0}, "{2.00, 1.57080}"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(failureOf(1, 1, c.text), Failure{}) << c.text;
        EXPECT_EQ(value(1, 1), 1.0) << c.text;
        EXPECT_EQ(kind(1, 1), static_cast<int>(ObjectKind::Coordinate)) << c.text;
        expectArray(values(1, 1), c.point, 1e-12, c.text);
        EXPECT_EQ(shown(1, 1), c.shown) << c.text;
    }
}

TEST_F(CogoPoints, SegmentsAndPolygonsJoinTheirArgumentsPoints) {
    fill({{1, 1, "@XY(0,0)"}, {1, 2, "@XYZ(10,0,1)"}, {1, 3, "@XY(10,10)"}, {1, 4, "@XY(0,10)"}});
    EXPECT_EQ(failureOf(2, 1, "@Segment([1,1],[1,2])"), Failure{});
    EXPECT_EQ(value(2, 1), 2.0);
    EXPECT_EQ(shown(2, 1), "SEGMENT(2)");
    EXPECT_EQ(failureOf(2, 2, "@Polygon([2,1],[1,3],[1,4])"), Failure{});
    EXPECT_EQ(value(2, 2), 4.0);
    EXPECT_EQ(shown(2, 2), "POLYGON(4)");
    expectArray(values(2, 2), {0, 0, 0, 10, 0, 1, 10, 10, 0, 0, 10, 0}, 0.0, "polygon");
}

TEST_F(CogoPoints, ArgumentsThatAreNotPointsAreRefused) {
    fill({{1, 1, "@XY(0,0)"}, {1, 2, "@XY(1,1)"}, {1, 3, "'label"}, {1, 4, "5"}, {1, 5, "@XY(1,2)+0"}});
    fill({{2, 5, "@Polygon([1,1],[1,2],[1,1],[1,2])"}});
    const std::pair<const char*, Failure> cases[] = {
        {"@XY(1)", general(29)},
        {"@XYZ(1,2)", general(29)},
        {"@NE(1,2,3)", general(29)},
        {"@Polygon([1,1],[1,2],[1,1])", general(47)},  // insufficient number of coordinates
        {"@Segment([1,1])", general(47)},
        {"@Segment([1,1],[9,9])", general(11)},  // accessing an empty cell
        {"@Segment([1,1],[1,3])", general(19)},  // a label
        {"@Segment([1,1],[1,4])", general(19)},  // a plain number
        {"@Segment([1,1],[2,5])", general(19)},  // a polygon
        {"@Segment([1,1],7)", general(29)},
        {"@Inverse([1,1],[1,2],1,0)", general(29)},
        {"@Inverse([1,1],[1,2],1,0,0,5)", general(29)},
        {"@Inverse([1,1],[1,2],4,0,0)", general(37)},  // mode, type and fmt out of range
        {"@Inverse([1,1],[1,2],1,9,0)", general(37)},
        {"@Inverse([1,1],[1,2],1,0,5)", general(37)},
        {"@Inverse([1,1],[1,2],1.5,0,0)", general(37)},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(failureOf(3, 1, text), expected) << text;
}

TEST_F(CogoPoints, AFailedCallLeavesNoGeometryBehind) {
    fill({{1, 1, "@XY(0,0)"}, {2, 1, "@Traverse([1,1],1,0,30,10,0)"}});
    ASSERT_EQ(values(2, 1).size(), 3u);
    EXPECT_EQ(failureOf(2, 1, "@Traverse([1,1],1,5,30,10,0)"), geometry(1));  // a field angle type
    EXPECT_TRUE(values(2, 1).empty());
    EXPECT_EQ(shown(2, 1), "?");
    // A point argument whose own formula failed is not read as (0, 0).
    EXPECT_EQ(failureOf(3, 1, "@Inverse([1,1],[2,1],1,0,0)"), general(20));
}

TEST_F(CogoPoints, ObjectsFollowTheCellsTheyAreBuiltFrom) {
    fill({{1, 1, "3"}, {1, 2, "@XY([1,1],4)"}, {1, 3, "@XY(0,0)"}, {2, 1, "@Inverse([1,3],[1,2],1,0,0)"}});
    EXPECT_DOUBLE_EQ(values(2, 1)[0], 5.0);
    // The point keeps its function value of 1 when it moves; the inverse must follow all the same.
    enter(1, 1, "6");
    EXPECT_NEAR(values(2, 1)[0], std::hypot(6.0, 4.0), 1e-12);
}

TEST_F(CogoPoints, EveryObjectKindHasItsDescription) {
    fill({{1, 1, "@XY(0,0)"},
          {1, 2, "@XY(100,100)"},
          {1, 3, "@XY(0,100)"},
          {2, 1, "@Inverse([1,1],[1,2],1,2,0)"},
          {2, 2, "@Inverse([1,1],[1,2],1,1,0)"},
          {2, 3, "@CurveRadius([1,1],[1,3],1,100,0)"},
          {2, 4, "@Triangle(1,0,0,0,3,4,5)"},
          {2, 5, "@Text([1,1],[1,2],2.5,1)"},
          {2, 6, "@Profile([1,1],0,100,0,0,1,0,0)"},
          {2, 7, "@Slope([2,6],50,2)"},
          {2, 8, "@Profile([1,2],0,90,0,1,1,0,0)"},  // the drawing display
          {2, 9, "@Xsection(250,[2,6],[2,8])"}});
    ErrStat err;
    store.setTag(cell(2, 5), "Hello", err);
    const std::pair<int, const char*> cases[] = {
        {1, "AZN(d)  45.00000,141.42"},
        {2, "N45 00'00.0\"E  141.42"},
        {3, "(100.00, 100.00)"},
        {4, "TRIANGLE"},
        {5, "TEXT(5)"},
        {6, "{100.00}"},
        {7, "{101.00}"},
        {8, "{90.00}"},
        {9, "2+50.00"},
    };
    for (const auto& [col, text] : cases) EXPECT_EQ(shown(2, col), text) << col;
}

}  // namespace
}  // namespace qx::test
