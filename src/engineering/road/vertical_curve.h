#pragma once
// The parabolic vertical curve between two grades: its stations, rate of change and turning point, and
// the elevation at any station on it.
#include <array>

#include "core/err_stat.h"

namespace qx {

struct VerticalCurve {
    double pcStation = 0.0;
    double pcElevation = 0.0;
    double g1 = 0.0;  // percent
    double g2 = 0.0;
    double length = 0.0;  // in stations, PC to PT
    // Horizontal distance per station unit: 1 on a straight centre line, more or less on an offset curve.
    double scale = 1.0;

    double ptStation() const { return pcStation + length; }
    // Change of grade in percent per 100 units of horizontal distance.
    double rate() const { return (g2 - g1) / (length * scale) * 100.0; }
};

// "VC grades g1 and g2 cannot be equal" when they are; the length must be above 0.
VerticalCurve verticalCurve(double pcStation, double pcElevation, double g1, double g2, double ptStation, double scale,
                            ErrStat& err);

// "station along Vertical Curve is out-of-range" outside PC..PT.
double elevationOnCurve(const VerticalCurve& vc, double station, ErrStat& err);

// The grade in percent at a station of the curve.
double gradeOnCurve(const VerticalCurve& vc, double station);

// Values 9 to 15 of a vertical-curve element: g1, PT station, mid station, rate of change, turning-point
// station and elevation (both 0 when the high or low point lies outside the curve), g2.
std::array<double, 7> verticalCurveValues(const VerticalCurve& vc);

}  // namespace qx
