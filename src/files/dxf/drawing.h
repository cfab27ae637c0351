#pragma once
// A view as a list of drawing elements in world coordinates, with the transformation that maps them
// into the view. The screen and the DXF export draw the same list.
#include <array>
#include <string>
#include <vector>

#include "core/object_kind.h"
#include "engineering/cogo/vec3.h"

namespace qx {

// The kind of one drawing element; the numbers are those of the object each element comes from.
enum class DrawingKind : int {
    Text = 1,
    Point = 4,
    OpenFigure = 5,
    ClosedFigure = 6,
    Arc = 7,
    LineSeries = 29,  // a line graph's series: drawn on the screen only
    BarSeries = 30,   // a bar graph's series: drawn on the screen only
};

// How a text element sits on its points.
enum class TextMode : int {
    Left = 0,
    Right = 1,
    Centred = 2,
    Fit = 3,
    CentredIfRoom = 4,  // centred, and left out when longer than its segment
};

struct DrawingElement {
    DrawingKind kind = DrawingKind::Point;
    // Point: one point. Figures: their points. Arc: centre, start, end. Text: insertion, direction, end.
    std::vector<Vec3> points;
    bool threeD = false;     // figures and texts: whether z is data (a 2-D element is written with z 0)
    bool clockwise = false;  // arcs: the sweep from start to end
    std::string text;
    double height = 0.0;
    int mode = 0;  // texts: a TextMode, or any other number for left-justified
    // Closed figures that the view shows only under a condition carry it here.
    bool conditional = false;
    bool shown = true;
};

// Row-major 4x4 matrix applied to column vectors (x, y, z, 1).
struct ViewTransform {
    std::array<double, 16> m{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    Vec3 apply(Vec3 p) const {
        const double w = m[12] * p.x + m[13] * p.y + m[14] * p.z + m[15];
        const double s = w != 0.0 ? 1.0 / w : 1.0;
        return {s * (m[0] * p.x + m[1] * p.y + m[2] * p.z + m[3]), s * (m[4] * p.x + m[5] * p.y + m[6] * p.z + m[7]),
                s * (m[8] * p.x + m[9] * p.y + m[10] * p.z + m[11])};
    }
    // Whether the transformation mirrors the x-y plane, turning clockwise arcs counter-clockwise.
    bool mirrors() const { return m[0] * m[5] - m[1] * m[4] < 0.0; }
};

struct Drawing {
    ObjectKind kind = ObjectKind::PlanView;
    ViewTransform transform;
    std::vector<DrawingElement> elements;
};

}  // namespace qx
