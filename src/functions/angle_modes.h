#pragma once
// Angle modes: 0 radians, 1 decimal degrees, 2 grads, 3 DDD.MMSS. The conversion factors are the
// system's own: pi is 3.14159265359 towards radians and 1/pi 0.3183098861837697 away from them, so
// a round trip through radians is not exact.
#include <optional>

namespace qx {

enum class AngleMode : int { Radians = 0, Degrees = 1, Grads = 2, Dms = 3 };

bool validAngleMode(double mode);

enum class AngleFailure { None, IllegalMode, AngleOutOfRange };

struct AngleResult {
    double value = 0.0;
    AngleFailure failure = AngleFailure::None;
};

// The angle `a` given in mode `from` expressed in mode `to`; the sign is kept aside.
AngleResult convertAngle(int from, int to, double a);

// Decimal degrees as DDD.MMSS (seconds of 59.99999 and more carry into the minute).
double degreesAsDms(double degrees);

}  // namespace qx
