#include "engineering/road/vertical_curve.h"

#include "core/messages.h"
#include "engineering/road/origins.h"
#include "functions/function_registry.h"

namespace qx {

using namespace origins::road;

VerticalCurve verticalCurve(double pcStation, double pcElevation, double g1, double g2, double ptStation, double scale,
                            ErrStat& err) {
    err.enter();
    VerticalCurve vc{pcStation, pcElevation, g1, g2, ptStation - pcStation, scale};
    if (g1 == g2) err.fail(kVerticalCurveMake, 1, L06::EqualGrades);
    if (!(vc.length > 0.0) || !(scale > 0.0)) err.fail(kVerticalCurveMake, 2, L06::VerticalCurveUnsolvable);
    return vc;
}

double elevationOnCurve(const VerticalCurve& vc, double station, ErrStat& err) {
    err.enter();
    if (!(station >= vc.pcStation && station <= vc.ptStation())) {
        err.fail(kVerticalCurveElevation, 1, L06::StationOutOfRange);
        return 0.0;
    }
    const double d = (station - vc.pcStation) * vc.scale;
    return vc.pcElevation + vc.g1 * 0.01 * d + (vc.rate() * 0.5) * (0.01 * d) * (0.01 * d);
}

double gradeOnCurve(const VerticalCurve& vc, double station) {
    return vc.g1 + vc.rate() * 0.01 * (station - vc.pcStation) * vc.scale;
}

std::array<double, 7> verticalCurveValues(const VerticalCurve& vc) {
    std::array<double, 7> v = {vc.g1, vc.ptStation(), vc.pcStation + vc.length / 2.0, vc.rate(), 0.0, 0.0, vc.g2};
    // Between grades of the same sign the high or low point lies beyond the curve; it is left at 0.
    const double turning = vc.pcStation + vc.g1 * vc.length / (vc.g1 - vc.g2);
    if (turning >= vc.pcStation && turning <= vc.ptStation()) {
        ErrStat ignored;
        v[4] = turning;
        v[5] = elevationOnCurve(vc, turning, ignored);
    }
    return v;
}

}  // namespace qx
