#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "unit/engineering/cogo_fixture.h"

namespace qx::test {
namespace {

class CogoTraverse : public CogoFixture {};

// A five-sided traverse with bearings in degrees and minutes, from a textbook layout: the coordinates
// by latitudes and departures, the closure, the area by coordinates and the Bowditch adjustment.
TEST_F(CogoTraverse, TextbookTraverseClosesWithAreaAndCompassAdjustment) {
    fill({{1, 1, "@XY(1000,1000)"},
          {2, 1, "@Traverse([1,1],3,1,126.1000,285.10,0)"},  // N26 10'E
          {3, 1, "@Traverse([2,1],3,1,275.2500,610.45,0)"},  // S75 25'E
          {4, 1, "@Traverse([3,1],3,1,315.3000,720.48,0)"},  // S15 30'W
          {5, 1, "@Traverse([4,1],3,1,401.4200,203.00,0)"},  // N1 42'W
          {6, 1, "@Traverse([5,1],3,1,453.0600,647.02,0)"},  // N53 06'W
          {7, 1, "@Polygon([1,1],[2,1],[3,1],[4,1],[5,1],[6,1])"},
          {8, 1, "@Closure([7,1],1,2,0)"},
          {9, 1, "@Compass([7,1])"},
          {10, 1, "@Segment([1,1],[2,1],[3,1],[4,1],[5,1],[6,1])"},
          {11, 1, "@Compass([10,1],[1,1])"}});
    const double traverse[][2] = {{1125.724474, 1255.881548},
                                  {1716.507273, 1102.177654},
                                  {1523.967368, 407.901185},
                                  {1517.945120, 610.811836},
                                  {1000.533152, 999.295730}};
    for (int i = 0; i < 5; ++i) expectArray(values(2 + i, 1), {traverse[i][0], traverse[i][1], 0}, 1e-5, "station");
    EXPECT_NEAR(value(8, 1), 272840.052042, 1e-4);  // area
    expectArray(values(8, 1), {0.883316, 322.873231, 2466.05}, 1e-5, "closure");
    const std::vector<double> adjusted = {1000,        1000,        0, 1125.662836, 1255.962969, 0,
                                          1716.313658, 1102.433410, 0, 1523.617987, 408.362700,  0,
                                          1517.551851, 611.331326,  0, 1000,        1000,        0};
    expectArray(values(9, 1), adjusted, 1e-5, "compass, polygon");
    expectArray(values(11, 1), adjusted, 1e-5, "compass, segment");
    EXPECT_EQ(kind(9, 1), static_cast<int>(ObjectKind::Polygon));
    EXPECT_EQ(kind(11, 1), static_cast<int>(ObjectKind::Segment));
}

TEST_F(CogoTraverse, ClosedSquareHasNoMisclosure) {
    fill({{1, 1, "@XY(0,0)"}, {1, 2, "@XY(10,0)"}, {1, 3, "@XY(10,10)"}, {1, 4, "@XY(0,10)"}});
    fill({{2, 1, "@Polygon([1,1],[1,2],[1,3],[1,4],[1,1])"}, {3, 1, "@Closure([2,1],1,0,0)"}});
    EXPECT_DOUBLE_EQ(value(3, 1), 100.0);
    expectArray(values(3, 1), {0, 0, 40}, 0.0, "closure");
}

TEST_F(CogoTraverse, CompassArgumentsAndSeparators) {
    fill({{1, 1, "@XY(0,0)"}, {1, 2, "@XY(10,0)"}, {1, 3, "@Segment([1,1],[1,2])"}, {1, 4, "'x"}});
    fill({{1, 5, "@Polygon([1,1],[1,2],[1,1],[1,2])"}});
    const std::pair<const char*, Failure> cases[] = {
        {"@Compass([1,3])", general(11)},        // a segment needs its closing point
        {"@Compass([1,3],[9,9])", general(11)},  // an empty closing cell
        {"@Compass([1,3],[1,4])", general(19)},  // a closing cell that is no point
        {"@Compass([1,5],[1,1])", general(31)},  // a polygon closes on itself
        {"@Compass([1,1])", general(19)},       {"@Closure([1,3],1,0,0)", general(19)},
        {"@Closure([1,5],1,5,0)", geometry(1)},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(failureOf(2, 1, text), expected) << text;
}

// Setup at the origin, backsight due north, foresight north-east: hand geometry.
TEST_F(CogoTraverse, DirectionsAndFieldAngles) {
    fill({{1, 1, "@XYZ(0,0,5)"}, {1, 2, "@XY(100,100)"}, {1, 3, "@XYZ(0,100,7)"}});
    struct Case {
        const char* text;
        double value;
        std::vector<double> values;
    };
    const double diagonal = 100.0 * std::sqrt(2.0);
    const Case cases[] = {
        {"@Inverse([1,1],[1,2],1,2,0)", 45, {diagonal, 45}},
        {"@Inverse([1,1],[1,2],3,1,0)", 45, {diagonal, 145}},
        {"@Inverse([1,2],[1,1],1,1,0)", 225, {diagonal, 345}},  // S45W
        {"@Inverse([1,2],[1,1],0,0,0)", 225, {diagonal, 225 * 3.14159265359 / 180}},
        {"@Inverse([1,1],[1,1],1,0,0)", 0, {0, 0}},
        {"@Traverse([1,1],1,0,30,10,0)", 30, {10 * std::cos(std::numbers::pi / 6), 5, 5}},   // z of the setup
        {"@Traverse([1,1],1,3,240,10,0)", 30, {10 * std::cos(std::numbers::pi / 6), 5, 5}},  // azimuth from south
        {"@FieldAngle([1,3],[1,1],1,5,90,0,10,0)", 0, {10, 0, 7}},                           // z of the backsight
        {"@FieldAngle([1,3],[1,1],1,7,90,0,10,0)", 180, {-10, 0, 7}},
        {"@FieldAngle([1,3],[1,1],1,5,90,60,10,0)", 0, {5, 0, 7}},   // a slope distance reduced
        {"@FieldAngle([1,3],[1,1],1,5,90,300,10,0)", 0, {5, 0, 7}},  // 300 counts as 60
        {"@FieldAngle([1,3],[1,1],1,2,90,0,10,0)", 0, {10, 0, 7}},   // a direction ignores the backsight
        {"@Radial([1,3],[1,1],[1,2],1,5,0)", 45, {diagonal, 45}},
        {"@Radial([1,3],[1,1],[1,2],1,6,0)", 45, {diagonal, 315}},
        {"@Radial([1,3],[1,1],[1,2],1,2,0)", 45, {diagonal, 45}},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(failureOf(2, 1, c.text), Failure{}) << c.text;
        EXPECT_NEAR(value(2, 1), c.value, 1e-9) << c.text;
        expectArray(values(2, 1), c.values, 1e-9, c.text);
    }
    EXPECT_EQ(failureOf(2, 1, "@FieldAngle([1,3],[1,1],1,5,90,90,10,0)"), geometry(3));
    EXPECT_EQ(failureOf(2, 1, "@FieldAngle([1,3],[1,1],1,5,-90,0,10,0)"), geometry(3));
    EXPECT_EQ(failureOf(2, 1, "@Inverse([1,1],[1,2],1,5,0)"), geometry(1));
    EXPECT_EQ(failureOf(2, 1, "@Traverse([1,1],0,1,130,10,0)"), geometry(6));
    EXPECT_EQ(failureOf(2, 1, "@Traverse([1,1],1,1,530,10,0)"), geometry(2));
}

}  // namespace
}  // namespace qx::test
