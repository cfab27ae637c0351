#pragma once
// The horizontal alignment step from one element of a profile to a later station: straight on along the
// element's direction, or around a curve of the centre line whose radius the offset line shares.
#include "core/err_stat.h"
#include "engineering/cogo/direction.h"
#include "engineering/cogo/vec3.h"

namespace qx {

struct AlignmentStart {
    Vec3 point;              // the element's station point
    double direction = 0.0;  // the direction out of it, in `mode` and `type`
    int mode = 1;
    AngleType type = AngleType::Ray;
    double station = 0.0;
    double offset = 0.0;  // positive to the right of the direction of travel
};

struct AlignmentStep {
    Vec3 point;
    double direction = 0.0;   // out of the new station, in the start's mode and type
    double horizontal = 0.0;  // the distance travelled along the offset line
};

// `parameter` 0 goes straight; otherwise it is the centre line's radius, positive turning right. The
// offset line's radius is |parameter| + offset on a left turn and |parameter| - offset on a right turn.
AlignmentStep alignmentStep(const AlignmentStart& from, double station, double parameter, ErrStat& err);

}  // namespace qx
