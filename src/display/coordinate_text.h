#pragma once
// The text of a coordinate point in the display formats of point cells.
#include <string>

namespace qx {

enum class CoordinateFormat : int { NE = 33, XY = 34, XYZ = 35, Polar = 36, NEE = 37 };

struct CoordinateRequest {
    int format = static_cast<int>(CoordinateFormat::XY);
    int angleMode = 1;  // for the ray of the polar form
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    int precision = 2;
    int commaBlanks = 1;  // blanks after each separating comma
    int width = 22;
};

constexpr int kCoordinateBadFormat = 33;
constexpr int kCoordinateTooWide = 42;

struct CoordinateText {
    std::string text;  // empty on failure
    int code = 0;      // 0, or why the text is empty
};

CoordinateText coordinateText(const CoordinateRequest& request);

// Decimal degrees as a packed DDD.MMSS number, seconds kept to tenths.
double degreesToDms(double degrees);

}  // namespace qx
