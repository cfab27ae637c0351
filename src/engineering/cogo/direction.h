#pragma once
// Directions and field angles: one direction kept in all its forms, the angle modes and types the user
// gives angles in, and turning a direction by a field angle at a setup point.
#include <array>
#include <cstdint>

#include "core/err_stat.h"

namespace qx {

// How an angle is measured. 0 to 4 name a direction; 5 to 8 a field angle from a backsight line.
enum class AngleType : int {
    Ray = 0,      // counterclockwise from east
    Bearing = 1,  // quadrant x 100 + angle from north or south toward east or west
    AzimuthNorth = 2,
    AzimuthSouth = 3,
    Rotation = 4,  // a ray in -180..180
    AngleRight = 5,
    AngleLeft = 6,
    DeflectionRight = 7,
    DeflectionLeft = 8,
};
constexpr int kAngleTypeCount = 9;

constexpr bool isDirectionType(AngleType t) {
    return static_cast<int>(t) <= static_cast<int>(AngleType::Rotation);
}

// One direction in decimal degrees, indexed by angle type + 1; entry 0 is the bearing's angle without
// its quadrant. Entries 1 to 5 describe the direction, 6 to 9 a field angle measured at a setup point.
struct DirectionRecord {
    std::array<double, 10> entry{};

    double ray() const { return entry[1]; }
    double form(AngleType t) const { return entry[static_cast<std::size_t>(t) + 1]; }
};

// Fills entries 0 to 5 from the one direction form `type` (0..4) given in decimal degrees.
bool setDirection(DirectionRecord& d, AngleType type, double degrees, ErrStat& err);

// Fills entries 6 to 9 from the one field angle `type` (5..8) given in decimal degrees.
bool setFieldAngle(DirectionRecord& d, AngleType type, double degrees, ErrStat& err);

// `ray` turned counterclockwise by the record's angle left, in 0..360.
double turnedRay(double ray, const DirectionRecord& d);

// The ray of the vector (dx, dy) in decimal degrees, 0 <= ray < 360; 0 for a zero vector.
double rayOf(double dx, double dy);

// An angle given in `mode` (0..3) and `type` as decimal degrees: negative directions refused, the value
// reduced to one turn, a bearing's quadrant kept aside, then converted.
double angleToDegrees(int mode, AngleType type, double angle, ErrStat& err);

// The record built from an angle given in `mode` and a direction or field-angle `type`.
bool directionFromAngle(int mode, AngleType type, double angle, DirectionRecord& d, ErrStat& err);

// Entry `type` of the record expressed in `mode`; a bearing keeps its quadrant hundreds.
double angleInMode(const DirectionRecord& d, AngleType type, int mode, ErrStat& err);

// Decimal degrees in `mode`, and an angle in `mode` as decimal degrees; the sign is kept, nothing reduced.
double degreesIn(int mode, double degrees, ErrStat& err);
double degreesOf(int mode, double angle, ErrStat& err);

// Radians of decimal degrees, with the system's value of pi.
double radiansOf(double degrees);

// Decimal degrees of an angle the library computed in radians.
double degreesOfRadians(double radians);

}  // namespace qx
