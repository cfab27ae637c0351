#pragma once
// Angles written as DDD.MMSS and bearings written as quadrant x 100 + DDD.MMSS.
#include <optional>
#include <string>

namespace qx {

struct DegreesMinutesSeconds {
    int degrees = 0;
    int minutes = 0;
    double seconds = 0.0;
};

// A DDD.MMSS angle in decimal degrees; empty when its minutes or seconds are 60 or more after
// carrying (or the value is not finite).
std::optional<double> dmsToDegrees(double dms);

// Splits non-negative decimal degrees. Seconds are rounded to the decimals that will be shown
// before carrying, so 59.96 seconds shown with one decimal become the next minute, never "60.0".
DegreesMinutesSeconds splitDegrees(double degrees, int decimals);

// "N45 30'15.0\"E" for quadrant 1..4 and an angle in decimal degrees; one decimal of seconds
// when withDecimal, none otherwise.
std::string bearingAngleText(int quadrant, double degrees, bool withDecimal);

// The bearing display of quadrant x 100 + angle, the angle in DDD.MMSS or else in decimal
// degrees; empty when the quadrant is not 1..4 or the angle is not a valid DDD.MMSS value.
std::optional<std::string> bearingText(double value, bool withDecimal, bool angleInDms = true);

}  // namespace qx
