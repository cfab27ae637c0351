#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>

#include "unit/engineering/cogo_fixture.h"

namespace qx::test {
namespace {

using Vec = std::array<double, 3>;

Vec scaled(double s, Vec v) {
    return {s * v[0], s * v[1], s * v[2]};
}
Vec added(Vec a, Vec b) {
    return {a[0] + b[0], a[1] + b[1], a[2] + b[2]};
}

// The plane through (10, 20, 30) with normal (1, 2, 2): its x axis is world x projected onto it, its y
// axis the normal crossed with that, worked out by hand.
const Vec kOrigin = {10, 20, 30};
const Vec kAxisX = {8 / std::sqrt(72.0), -2 / std::sqrt(72.0), -2 / std::sqrt(72.0)};

class CogoPlane : public CogoFixture {
  protected:
    // (a, b) of the tilted plane in world coordinates.
    Vec world(double a, double b) { return added(kOrigin, added(scaled(a, ex), scaled(b, ey))); }

    std::string point(double a, double b) {
        const Vec w = world(a, b);
        char text[120];
        std::snprintf(text, sizeof text, "@XYZ(%.17g,%.17g,%.17g)", w[0], w[1], w[2]);
        return text;
    }

    void SetUp() override {
        const Vec n = {1 / 3.0, 2 / 3.0, 2 / 3.0};
        ex = kAxisX;
        ey = {n[1] * ex[2] - n[2] * ex[1], n[2] * ex[0] - n[0] * ex[2], n[0] * ex[1] - n[1] * ex[0]};
        fill({{1, 1, point(0, 0)},
              {1, 2, point(10, 0)},
              {1, 3, point(0, 100)},
              {1, 4, point(3, 4)},
              {1, 5, "@XYZ(1,2,2)"}});
    }

    Vec ex;
    Vec ey;
};

// The same constructions as on the horizontal, turned into the plane.
TEST_F(CogoPlane, TiltedPlaneGivesTheHorizontalResultsTurned) {
    struct Case {
        const char* text;
        double a;
        double b;
    };
    const Case cases[] = {
        {"@Traverse([1,1],1,0,30,10,0,[1,5])", 10 * std::cos(std::numbers::pi / 6), 5},
        {"@DstDstInt([1,1],[1,2],10,10,0,[1,5])", 5, 10 * std::sin(std::numbers::pi / 3)},
        {"@AngAngInt([1,1],[1,2],1,2,45,315,0,[1,5])", 5, 5},
        {"@AngDstInt([1,1],[1,2],1,2,90,3,0,[1,5])", 13, 0},
        {"@FieldAngle([1,3],[1,1],1,5,90,0,10,0,[1,5])", 10, 0},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(failureOf(2, 1, c.text), Failure{}) << c.text;
        const Vec w = world(c.a, c.b);
        expectArray(values(2, 1), {w[0], w[1], w[2]}, 1e-9, c.text);
    }
    ASSERT_EQ(failureOf(2, 1, "@Inverse([1,1],[1,4],1,0,0,[1,5])"), Failure{});
    expectArray(values(2, 1), {5, std::atan2(4.0, 3.0) * 180 / std::numbers::pi}, 1e-9, "inverse");

    // A curve keeps its plane's normal, and names that plane for the next construction.
    ASSERT_EQ(failureOf(3, 1, "@CurveRadius([1,1],[1,3],1,100,0,[1,5])"), Failure{});
    const std::vector<double> curve = values(3, 1);
    const Vec pt = world(100, 100);
    const Vec rp = world(100, 0);
    expectArray({curve.begin(), curve.begin() + 6}, {pt[0], pt[1], pt[2], rp[0], rp[1], rp[2]}, 1e-9, "curve");
    expectArray({curve.begin() + 12, curve.begin() + 18}, {1, 2, 2, 100, 100, 100 * std::sqrt(2.0)}, 1e-9, "curve");
    ASSERT_EQ(failureOf(2, 1, "@Traverse([1,1],1,0,30,10,0,[3,1])"), Failure{});
    const Vec w = world(10 * std::cos(std::numbers::pi / 6), 5);
    expectArray(values(2, 1), {w[0], w[1], w[2]}, 1e-9, "plane of a curve");
}

TEST_F(CogoPlane, PlaneArgumentMustNameAPlane) {
    fill({{3, 1, "@XYZ(0,0,0)"}, {3, 2, "@Segment([1,1],[1,2])"}, {3, 3, "'x"}});
    const std::pair<const char*, Failure> cases[] = {
        {"@Traverse([1,1],1,0,30,10,0,[3,1])", general(37)},  // a zero normal
        {"@Traverse([1,1],1,0,30,10,0,[3,2])", general(19)},
        {"@Traverse([1,1],1,0,30,10,0,[3,3])", general(19)},
        {"@Traverse([1,1],1,0,30,10,0,[9,9])", general(19)},
        {"@Traverse([1,1],1,0,30,10,0,[1,5],2)", general(17)},  // missing bracket
        {"@Resection([1,1],[1,2],[1,3],1,0,30,30,0,[1,5])", general(29)},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(failureOf(2, 1, text), expected) << text;
}

// Degenerate inputs are refused before anything divides by them.
TEST_F(CogoPlane, DegenerateInputs) {
    fill({{3, 1, "@XY(0,0)"}, {3, 2, "@XY(0,0)"}, {3, 3, "@Segment([3,1],[3,2])"}, {3, 4, "@XY(10,0)"}});
    const std::pair<const char*, Failure> cases[] = {
        {"@DstDstInt([3,1],[3,2],5,5,0)", geometry(5)},  // the two centres coincide
        {"@DstDstInt([3,1],[3,4],0,10,0)", geometry(5)},
        {"@Compass([3,3],[3,4])", geometry(5)},  // no length to share the misclosure over
        {"@CurveRadius([3,1],[3,4],1,0,0)", geometry(5)},
        {"@CurveArc([3,1],10,0,1,0,0,0)", geometry(5)},
        {"@Resection([1,1],[1,2],[1,3],1,0,180,30,0)", general(37)},
        {"@Resection([1,1],[1,2],[1,3],1,0,30,0,0)", general(37)},
        {"@Text([3,1],[3,4],1,1,[3,2])", general(37)},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(failureOf(2, 1, text), expected) << text;
}

}  // namespace
}  // namespace qx::test
