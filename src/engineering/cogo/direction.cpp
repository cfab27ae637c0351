#include "engineering/cogo/direction.h"

#include <cmath>
#include <numbers>

#include "core/messages.h"
#include "engineering/cogo/origins.h"
#include "functions/angle_modes.h"
#include "functions/function_registry.h"

namespace qx {

using namespace origins::cogo;

namespace {

constexpr double kTwoPi = 6.28318530718;
// Bearing angles are accepted a hair above 90 so that converted values of exactly 90 pass.
constexpr double kBearingLimit = 90.00000001;

bool fail(ErrStat& err, Origin o, int32_t point, L06 m) {
    return err.fail(o, point, m);
}

// Into 0 <= a < 360.
double oneTurn(double a) {
    return a - std::floor(a / 360.0) * 360.0;
}

void fillFromRay(DirectionRecord& d, double ray) {
    int quadrant = 2;
    double angle = ray - 270.0;
    if (ray <= 90.0) {
        quadrant = 1;
        angle = 90.0 - ray;
    } else if (ray <= 180.0) {
        quadrant = 4;
        angle = ray - 90.0;
    } else if (ray <= 270.0) {
        quadrant = 3;
        angle = 270.0 - ray;
    }
    d.entry[0] = angle;
    d.entry[1] = ray;
    d.entry[2] = quadrant * 100.0 + angle;
    d.entry[3] = oneTurn(90.0 - ray);
    d.entry[4] = oneTurn(d.entry[3] + 180.0);
    d.entry[5] = ray <= 180.0 ? ray : ray - 360.0;
}

double rayOfBearing(int quadrant, double angle) {
    switch (quadrant) {
        case 1:
            return 90.0 - angle;
        case 2:
            return 270.0 + angle;
        case 3:
            return 270.0 - angle;
        default:
            return 90.0 + angle;
    }
}

// One turn in the units of `mode`, for the reduction before conversion.
double reduceInMode(int mode, double x) {
    switch (static_cast<AngleMode>(mode)) {
        case AngleMode::Radians:
            return x - std::floor(x / kTwoPi) * kTwoPi;
        case AngleMode::Grads:
            return x - std::floor(x * 0.0025) * 400.0;
        default:
            return x - std::floor(x / 360.0) * 360.0;
    }
}

double converted(int from, int to, double a, int32_t point, ErrStat& err) {
    const AngleResult r = convertAngle(from, to, a);
    if (r.failure == AngleFailure::None) return r.value;
    const L05 code = r.failure == AngleFailure::IllegalMode ? L05::IllegalAngleMode : L05::AngleOutOfRange;
    err.fail(kConversion, point, code);
    return 0.0;
}

}  // namespace

double rayOf(double dx, double dy) {
    if (dx == 0.0 && dy == 0.0) return 0.0;
    const double ray = degreesOfRadians(std::atan2(dy, dx));
    return ray < 0.0 ? ray + 360.0 : ray;
}

double degreesOfRadians(double radians) {
    return radians * (180.0 / std::numbers::pi);
}

double radiansOf(double degrees) {
    return degrees * 0.005555555555555556 * 3.14159265359;
}

bool setDirection(DirectionRecord& d, AngleType type, double a, ErrStat& err) {
    err.enter();
    switch (type) {
        case AngleType::Ray:
            if (!(a >= 0.0 && a <= 360.0)) return fail(err, kSetDirection, 1, L06::AngleOutOfRange);
            fillFromRay(d, a);
            return true;
        case AngleType::Bearing: {
            const double quadrant = std::floor(a / 100.0);
            double angle = a - quadrant * 100.0;
            if (angle > kBearingLimit) return fail(err, kSetDirection, 2, L06::AngleOutOfRange);
            if (quadrant < 1.0 || quadrant > 4.0) return fail(err, kSetDirection, 3, L06::IllegalQuadrant);
            if (angle > 90.0) angle = 90.0;
            fillFromRay(d, rayOfBearing(static_cast<int>(quadrant), angle));
            return true;
        }
        case AngleType::AzimuthNorth:
        case AngleType::AzimuthSouth: {
            if (!(a >= 0.0 && a <= 360.0)) return fail(err, kSetDirection, 4, L06::AngleOutOfRange);
            const double north = type == AngleType::AzimuthNorth ? a : oneTurn(a + 180.0);
            fillFromRay(d, oneTurn(90.0 - north));
            return true;
        }
        case AngleType::Rotation:
            if (!(a >= -180.0 && a <= 180.0)) return fail(err, kSetDirection, 5, L06::AngleOutOfRange);
            fillFromRay(d, a < 0.0 ? a + 360.0 : a);
            return true;
        default:
            return fail(err, kSetDirection, 6, L06::IllegalAngleType);
    }
}

bool setFieldAngle(DirectionRecord& d, AngleType type, double a, ErrStat& err) {
    err.enter();
    if (isDirectionType(type)) return fail(err, kSetFieldAngle, 1, L06::IllegalAngleType);
    if (!(a >= 0.0)) return fail(err, kSetFieldAngle, 2, L06::AngleOutOfRange);
    a = oneTurn(a);  // 360 counts as 0
    double left = 0.0;
    double deflectionLeft = 0.0;
    switch (type) {
        case AngleType::AngleRight:
        case AngleType::AngleLeft:
            left = type == AngleType::AngleLeft ? a : 360.0 - a;
            deflectionLeft = left + 180.0;
            if (deflectionLeft > 360.0) deflectionLeft -= 360.0;
            break;
        default:
            deflectionLeft = type == AngleType::DeflectionLeft ? a : 360.0 - a;
            left = deflectionLeft - 180.0;
            if (left < 0.0) left += 360.0;
            break;
    }
    d.entry[6] = 360.0 - left;
    d.entry[7] = left;
    d.entry[8] = 360.0 - deflectionLeft;
    d.entry[9] = deflectionLeft;
    return true;
}

double turnedRay(double ray, const DirectionRecord& d) {
    double turned = ray + d.entry[7];
    if (turned >= 360.0) turned -= 360.0;
    if (turned < 0.0) turned += 360.0;
    return turned;
}

double angleToDegrees(int mode, AngleType type, double angle, ErrStat& err) {
    err.enter();
    const bool bearing = type == AngleType::Bearing;
    if (bearing && mode != static_cast<int>(AngleMode::Degrees) && mode != static_cast<int>(AngleMode::Dms)) {
        return fail(err, kToDegrees, 1, L06::IllegalMode), 0.0;
    }
    if (angle < 0.0 && static_cast<int>(type) <= static_cast<int>(AngleType::AzimuthSouth)) {
        return fail(err, kToDegrees, 2, L06::IllegalAngleType), 0.0;
    }
    double magnitude = std::fabs(angle);
    const double quadrant = bearing ? std::floor(magnitude / 100.0) : 0.0;
    magnitude = reduceInMode(mode, magnitude - quadrant * 100.0);
    double degrees = converted(mode, static_cast<int>(AngleMode::Degrees), magnitude, 1, err);
    if (err.failed()) return err.trace(kToDegrees), 0.0;
    degrees += quadrant * 100.0;
    return angle < 0.0 ? -degrees : degrees;
}

bool directionFromAngle(int mode, AngleType type, double angle, DirectionRecord& d, ErrStat& err) {
    const double degrees = angleToDegrees(mode, type, angle, err);
    if (err.failed()) return false;
    if (isDirectionType(type)) return setDirection(d, type, degrees, err);
    return setFieldAngle(d, type, degrees, err);
}

double degreesIn(int mode, double degrees, ErrStat& err) {
    err.enter();
    const double v = converted(static_cast<int>(AngleMode::Degrees), mode, degrees, 2, err);
    if (err.failed()) err.trace(kInMode);
    return v;
}

double degreesOf(int mode, double angle, ErrStat& err) {
    err.enter();
    const double v = converted(mode, static_cast<int>(AngleMode::Degrees), angle, 3, err);
    if (err.failed()) err.trace(kToDegrees);
    return v;
}

double angleInMode(const DirectionRecord& d, AngleType type, int mode, ErrStat& err) {
    err.enter();
    if (type != AngleType::Bearing) return degreesIn(mode, d.form(type), err);
    if (mode != static_cast<int>(AngleMode::Degrees) && mode != static_cast<int>(AngleMode::Dms)) {
        return fail(err, kInMode, 1, L06::IllegalMode), 0.0;
    }
    const double quadrant = std::floor(d.entry[2] / 100.0);
    return quadrant * 100.0 + degreesIn(mode, d.entry[0], err);
}

}  // namespace qx
