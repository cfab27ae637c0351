#include "display/coordinate_text.h"

#include <cmath>
#include <initializer_list>
#include <numbers>

#include "core/err_stat.h"
#include "core/number_text.h"
#include "display/bearing_format.h"
#include "display/display_format.h"

namespace qx {
namespace {

constexpr int kNumberField = 30;
constexpr double kPi = 3.14159265359;

std::string decimal(double v, int precision) {
    NumberFormat f;
    f.precision = precision;
    f.width = kNumberField;
    ErrStat err;
    const std::string t = formatNumber(v, f, err);
    if (err.failed()) return "!";
    return std::string(trimBlanks(t));
}

double rayDegrees(double x, double y) {
    double ray = std::atan2(y, x) * 180.0 / std::numbers::pi;
    if (ray < 0) ray += 360.0;
    return ray;
}

double inMode(double degrees, int mode) {
    switch (mode) {
        case 0:
            return degrees * 0.005555555555555556 * kPi;
        case 2:
            return degrees * 0.002777777777777778 * 400.0;
        case 3:
            return degreesToDms(degrees);
        default:
            return degrees;
    }
}

std::string joined(const char* open, std::initializer_list<std::string> parts, const char* close, int blanks) {
    std::string t = open;
    bool first = true;
    for (const std::string& p : parts) {
        if (!first) t += "," + std::string(static_cast<std::size_t>(blanks), ' ');
        t += p;
        first = false;
    }
    return t + close;
}

}  // namespace

double degreesToDms(double degrees) {
    const double magnitude = std::fabs(degrees);
    const DegreesMinutesSeconds p = splitDegrees(magnitude, 1);
    const double dms = p.degrees + p.minutes / 100.0 + p.seconds / 10000.0;
    return degrees < 0 ? -dms : dms;
}

CoordinateText coordinateText(const CoordinateRequest& r) {
    const int blanks = r.commaBlanks < 0 ? 0 : r.commaBlanks;
    const int p = r.precision;
    std::string t;
    switch (static_cast<CoordinateFormat>(r.format)) {
        case CoordinateFormat::XY:
            t = joined("(", {decimal(r.x, p), decimal(r.y, p)}, ")", blanks);
            break;
        case CoordinateFormat::XYZ:
            t = joined("(", {decimal(r.x, p), decimal(r.y, p), decimal(r.z, p)}, ")", blanks);
            break;
        case CoordinateFormat::NE:
            t = joined("[", {decimal(r.y, p), decimal(r.x, p)}, "]", blanks);
            break;
        case CoordinateFormat::NEE:
            t = joined("[", {decimal(r.y, p), decimal(r.x, p), decimal(r.z, p)}, "]", blanks);
            break;
        case CoordinateFormat::Polar: {
            const double distance = std::hypot(r.x, r.y);
            const double ray = inMode(rayDegrees(r.x, r.y), r.angleMode);
            t = joined("{", {decimal(distance, p), formatFixed(ray, 5)}, "}", blanks);
            break;
        }
        default:
            return {{}, kCoordinateBadFormat};
    }
    if (static_cast<int>(t.size()) > r.width) return {{}, kCoordinateTooWide};
    return {std::move(t), 0};
}

}  // namespace qx
