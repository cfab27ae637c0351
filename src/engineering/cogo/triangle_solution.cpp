#include "engineering/cogo/triangle_solution.h"

#include <bit>
#include <cmath>

#include "core/messages.h"
#include "engineering/cogo/direction.h"
#include "engineering/cogo/origins.h"
#include "functions/function_registry.h"

namespace qx {

using namespace origins::cogo;

namespace {

constexpr unsigned kSideC = 1;
constexpr unsigned kSideB = 2;
constexpr unsigned kSideA = 4;
constexpr unsigned kAngleC = 8;
constexpr unsigned kAngleB = 16;
constexpr unsigned kAngleA = 32;
constexpr unsigned kSides = kSideA | kSideB | kSideC;
constexpr unsigned kAngles = kAngleA | kAngleB | kAngleC;

TriangleParts failed(ErrStat& err, int32_t point, L06 m) {
    err.fail(kSolve, point, m);
    return {};
}

double cosDeg(double a) {
    return std::cos(radiansOf(a));
}
double sinDeg(double a) {
    return std::sin(radiansOf(a));
}

// The angle opposite `opposite` by the law of cosines.
double angleFacing(double opposite, double s1, double s2) {
    const double c = (s1 * s1 + s2 * s2 - opposite * opposite) / (2.0 * s1 * s2);
    return degreesOfRadians(std::acos(std::fmax(-1.0, std::fmin(1.0, c))));
}

double sideFacing(double angle, double s1, double s2) {
    return std::sqrt(s1 * s1 + s2 * s2 - 2.0 * s1 * s2 * cosDeg(angle));
}

unsigned maskOf(const TriangleParts& t) {
    unsigned m = 0;
    if (t.c > 0.0) m |= kSideC;
    if (t.b > 0.0) m |= kSideB;
    if (t.a > 0.0) m |= kSideA;
    if (t.angleC > 0.0) m |= kAngleC;
    if (t.angleB > 0.0) m |= kAngleB;
    if (t.angleA > 0.0) m |= kAngleA;
    return m;
}

}  // namespace

TriangleParts solveTriangle(const TriangleParts& known, ErrStat& err) {
    err.enter();
    TriangleParts t = known;
    unsigned mask = maskOf(t);
    if (std::popcount(mask) != 3) return failed(err, 1, L06::UnsupportedOption);
    if (std::popcount(mask & kAngles) == 2) {
        const double sum =
            (t.angleA > 0.0 ? t.angleA : 0.0) + (t.angleB > 0.0 ? t.angleB : 0.0) + (t.angleC > 0.0 ? t.angleC : 0.0);
        if (!(sum < 180.0)) return failed(err, 2, L06::AngleOutOfRange);
        if (!(mask & kAngleA)) t.angleA = 180.0 - sum;
        if (!(mask & kAngleB)) t.angleB = 180.0 - sum;
        if (!(mask & kAngleC)) t.angleC = 180.0 - sum;
        mask |= kAngles;
    }
    if (mask == kSides) {
        if (!(t.a + t.b > t.c && t.a + t.c > t.b && t.b + t.c > t.a)) {
            return failed(err, 3, L06::DistanceTooShort);
        }
        t.angleA = angleFacing(t.a, t.b, t.c);
        t.angleB = angleFacing(t.b, t.a, t.c);
        t.angleC = 180.0 - t.angleA - t.angleB;
        return t;
    }
    if (mask == (kSideA | kSideB | kAngleC) || mask == (kSideA | kSideC | kAngleB) ||
        mask == (kSideB | kSideC | kAngleA)) {
        const double included = mask & kAngleC ? t.angleC : (mask & kAngleB ? t.angleB : t.angleA);
        if (!(included < 180.0)) return failed(err, 4, L06::AngleOutOfRange);
        if (mask & kAngleC) {
            t.c = sideFacing(t.angleC, t.a, t.b);
            t.angleA = angleFacing(t.a, t.b, t.c);
            t.angleB = 180.0 - t.angleA - t.angleC;
        } else if (mask & kAngleB) {
            t.b = sideFacing(t.angleB, t.a, t.c);
            t.angleA = angleFacing(t.a, t.b, t.c);
            t.angleC = 180.0 - t.angleA - t.angleB;
        } else {
            t.a = sideFacing(t.angleA, t.b, t.c);
            t.angleB = angleFacing(t.b, t.a, t.c);
            t.angleC = 180.0 - t.angleA - t.angleB;
        }
        return t;
    }
    if ((mask & kAngles) == kAngles && std::popcount(mask & kSides) == 1) {
        // The law of sines from the one known side and the angle facing it.
        const double ratio =
            mask & kSideA ? t.a / sinDeg(t.angleA) : (mask & kSideB ? t.b / sinDeg(t.angleB) : t.c / sinDeg(t.angleC));
        t.a = ratio * sinDeg(t.angleA);
        t.b = ratio * sinDeg(t.angleB);
        t.c = ratio * sinDeg(t.angleC);
        return t;
    }
    return failed(err, 5, L06::UnsupportedOption);
}

double triangleArea(const TriangleParts& t) {
    return sinDeg(t.angleB) * sinDeg(t.angleC) * t.a * t.a / (2.0 * sinDeg(t.angleA));
}

}  // namespace qx
