#include "engineering/road/alignment.h"

#include <cmath>

#include "core/messages.h"
#include "engineering/cogo/curves.h"
#include "engineering/cogo/origins.h"
#include "engineering/cogo/plane_geometry.h"
#include "engineering/road/origins.h"
#include "functions/function_registry.h"

namespace qx {

using namespace origins::road;

AlignmentStep alignmentStep(const AlignmentStart& from, double station, double parameter, ErrStat& err) {
    err.enter();
    AlignmentStep step;
    DirectionRecord d;
    if (!isDirectionType(from.type)) {
        err.fail(origins::cogo::geometryLibraryTwin(kStep), 1, L06::IllegalAngleType);
        return step;
    }
    if (!directionFromAngle(from.mode, from.type, from.direction, d, err)) return err.trace(kStep), step;
    const double distance = station - from.station;
    if (parameter == 0.0) {
        step.point = pointAlong(from.point, d.ray(), distance);
        step.direction = from.direction;
        step.horizontal = distance;
        return step;
    }
    const double centre = std::fabs(parameter);
    const double radius = parameter < 0.0 ? centre + from.offset : centre - from.offset;
    if (!(radius > 0.0)) return err.fail(kStep, 2, Msg::ParameterOutOfRange), step;
    const double arc = distance * radius / centre;
    const Curve c = curveAlongTangent(from.point, d.ray(), arc, parameter < 0.0 ? -radius : radius, err);
    if (err.failed()) return err.trace(kStep), step;
    DirectionRecord out;
    setDirection(out, AngleType::Ray, c.outgoingRay(), err);
    step.direction = err.failed() ? 0.0 : angleInMode(out, from.type, from.mode, err);
    if (err.failed()) return err.trace(kStep), step;
    step.point = c.pt;
    step.horizontal = arc;
    return step;
}

}  // namespace qx
