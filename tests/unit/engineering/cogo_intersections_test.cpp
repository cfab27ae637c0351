#include <gtest/gtest.h>

#include <cmath>

#include "unit/engineering/cogo_fixture.h"

namespace qx::test {
namespace {

class CogoIntersections : public CogoFixture {
  protected:
    void SetUp() override {
        fill({{1, 1, "@XYZ(0,0,3)"},
              {1, 2, "@XY(10,0)"},
              {1, 3, "@XY(5,0)"},
              {1, 4, "@XY(10,10)"},
              {1, 5, "@XY(1,0)"},
              // Three known points and the unknown one they were sighted from, (50, 0) and (50, 40).
              {2, 1, "@XY(0,100)"},
              {2, 2, "@XY(100,120)"},
              {2, 3, "@XY(200,90)"}});
    }
};

TEST_F(CogoIntersections, PointsFoundByHandGeometry) {
    struct Case {
        const char* text;
        std::vector<double> point;
    };
    const double h = 10.0 * std::sin(std::numbers::pi / 3);
    const Case cases[] = {
        {"@DstDstInt([1,1],[1,2],10,10,0)", {5, h, 3}},  // north of the line, its left
        {"@DstDstInt([1,2],[1,1],10,10,0)", {5, -h, 0}},
        {"@AngDstInt([1,1],[1,3],1,2,90,3,0)", {8, 0, 3}},  // the farther crossing
        {"@AngAngInt([1,1],[1,2],1,2,45,315,0)", {5, 5, 3}},
        // Due east and due south: no tangent needed.
        {"@AngAngInt([1,1],[1,4],1,2,90,180,0)", {10, 0, 3}},
        {"@AngAngInt([1,1],[1,2],3,1,145.0000,445.0000,0)", {5, 5, 3}},
        {"@Resection([2,1],[2,2],[2,3],1,0,49.18491612511838,36.41637851988605,0)", {50, 0, 0}},
        {"@Resection([2,1],[2,2],[2,3],1,0,71.81095430034873,39.559667968994496,0)", {50, 40, 0}},
        {"@Resection([2,3],[2,2],[2,1],3,0,331.50149014524,330.15184273310,0)", {60, -80, 0}},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(failureOf(3, 1, c.text), Failure{}) << c.text;
        EXPECT_EQ(value(3, 1), 1.0) << c.text;
        expectArray(values(3, 1), c.point, 1e-6, c.text);
    }
}

TEST_F(CogoIntersections, ConstructionsThatCannotMeet) {
    const std::pair<const char*, Failure> cases[] = {
        {"@AngAngInt([1,1],[1,2],1,2,45,45,0)", geometry(7)},  // parallel lines
        {"@AngAngInt([1,1],[1,2],1,2,45,225,0)", geometry(7)}, {"@AngAngInt([1,1],[1,2],1,5,45,225,0)", geometry(1)},
        {"@AngDstInt([1,1],[1,4],1,2,90,1,0)", geometry(5)},  // the circle lies off the line
        {"@DstDstInt([1,1],[1,2],2,3,0)", geometry(5)},       // the circles do not reach
        {"@DstDstInt([1,1],[1,5],10,2,0)", math(3)},          // one circle inside the other
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(failureOf(3, 1, text), expected) << text;
}

}  // namespace
}  // namespace qx::test
