#include "functions/angle_modes.h"

#include <cmath>

#include "display/bearing_format.h"

namespace qx {

namespace {

constexpr double kPi = 3.14159265359;
constexpr double kInversePi = 0.3183098861837697;

double fromDegrees(int to, double degrees) {
    switch (static_cast<AngleMode>(to)) {
        case AngleMode::Radians:
            return degrees * 0.005555555555555556 * kPi;
        case AngleMode::Grads:
            return degrees * 0.002777777777777778 * 400.0;
        case AngleMode::Dms:
            return degreesAsDms(degrees);
        default:
            return degrees;
    }
}

}  // namespace

bool validAngleMode(double mode) {
    return mode == 0.0 || mode == 1.0 || mode == 2.0 || mode == 3.0;
}

double degreesAsDms(double degrees) {
    double d = std::floor(degrees);
    const double t = (degrees - d) * 3600.0;
    double m = std::trunc(t / 60.0);
    double s = t - 60.0 * m;
    if (s >= 59.99999) {
        s = 0.0;
        m += 1.0;
    }
    if (m == 60.0) {
        m = 0.0;
        d += 1.0;
    }
    return d + m / 100.0 + s / 10000.0;
}

AngleResult convertAngle(int from, int to, double a) {
    if (from < 0 || from > 3 || to < 0 || to > 3) return {0.0, AngleFailure::IllegalMode};
    const bool negative = a < 0;
    double v = std::fabs(a);
    if (from != to) {
        switch (static_cast<AngleMode>(from)) {
            case AngleMode::Radians:
                v = to == 2 ? v * kInversePi * 200.0 : fromDegrees(to, v * kInversePi * 180.0);
                break;
            case AngleMode::Degrees:
                v = fromDegrees(to, v);
                break;
            case AngleMode::Grads:
                v = to == 0 ? v * 0.005 * kPi : fromDegrees(to, v * 0.0025 * 360.0);
                break;
            case AngleMode::Dms: {
                const std::optional<double> degrees = dmsToDegrees(v);
                if (!degrees) return {0.0, AngleFailure::AngleOutOfRange};
                v = fromDegrees(to, *degrees);
                break;
            }
        }
    }
    return {negative ? -v : v, AngleFailure::None};
}

}  // namespace qx
