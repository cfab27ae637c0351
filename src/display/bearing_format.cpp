#include "display/bearing_format.h"

#include <array>
#include <cmath>

#include "core/number_text.h"

namespace qx {
namespace {

constexpr std::array<const char*, 4> kQuadrantPrefix = {"N", "S", "S", "N"};
constexpr std::array<const char*, 4> kQuadrantSuffix = {"E", "E", "W", "W"};
// Lifts a DDD.MMSS value stored a hair below its written digits back onto them.
constexpr double kDmsNudge = 1e-10;
constexpr double kCarryTolerance = 1e-5;
constexpr double kLargestAngle = 1e9;

std::string padTwo(int n) {
    std::string s = std::to_string(n);
    return s.size() < 2 ? "0" + s : s;
}

// At least two integer digits, so 5.0 seconds show as 05.0.
std::string secondsText(double seconds, int decimals) {
    std::string s = formatFixed(seconds, decimals);
    const std::size_t point = s.find('.');
    const std::size_t integerDigits = point == std::string::npos ? s.size() : point;
    if (integerDigits < 2) s.insert(0, 2 - integerDigits, '0');
    return s;
}

}  // namespace

std::optional<double> dmsToDegrees(double dms) {
    if (!std::isfinite(dms)) return std::nullopt;
    const double a = std::fabs(dms) + kDmsNudge;
    double d = std::floor(a);
    const double f = (a - d) * 100.0;
    double m = std::floor(f);
    double s = (f - m) * 100.0;
    if (s >= 60.0 && s < 60.0 + kCarryTolerance) {
        s = 0.0;
        m += 1.0;
    }
    if (m == 60.0) {
        m = 0.0;
        d += 1.0;
    }
    if (m >= 60.0 || s >= 60.0) return std::nullopt;
    const double degrees = d + (60.0 * m + s) / 3600.0 - kDmsNudge;
    return dms < 0 ? -degrees : degrees;
}

DegreesMinutesSeconds splitDegrees(double degrees, int decimals) {
    // A zero angle may come back a hair below 0; a value no angle can be reads as 0 too.
    if (!(degrees > 0.0 && degrees < kLargestAngle)) degrees = 0.0;
    const double whole = std::floor(degrees);
    const double t = (degrees - whole) * 3600.0;
    int d = static_cast<int>(whole);
    int m = static_cast<int>(t / 60.0);
    const double scale = std::pow(10.0, decimals);
    double s = std::floor((t - 60.0 * m) * scale + 0.5) / scale;
    if (s >= 60.0) {
        s = 0.0;
        ++m;
    }
    if (m >= 60) {
        m -= 60;
        ++d;
    }
    return {d, m, s};
}

std::string bearingAngleText(int quadrant, double degrees, bool withDecimal) {
    const int decimals = withDecimal ? 1 : 0;
    const DegreesMinutesSeconds p = splitDegrees(degrees, decimals);
    const auto q = static_cast<std::size_t>(quadrant - 1);
    return std::string(kQuadrantPrefix[q]) + padTwo(p.degrees) + " " + padTwo(p.minutes) + "'" +
           secondsText(p.seconds, decimals) + "\"" + kQuadrantSuffix[q];
}

std::optional<std::string> bearingText(double value, bool withDecimal, bool angleInDms) {
    if (!std::isfinite(value)) return std::nullopt;
    const double q = std::trunc(value / 100.0);
    if (q < 1.0 || q > 4.0) return std::nullopt;
    const double angle = value - 100.0 * q;
    const std::optional<double> degrees = angleInDms ? dmsToDegrees(angle) : std::optional<double>(angle);
    if (!degrees) return std::nullopt;
    return bearingAngleText(static_cast<int>(q), *degrees, withDecimal);
}

}  // namespace qx
