#include "engineering/cogo/cogo_functions.h"

namespace qx {

namespace {

constexpr FunctionEntry kGeometryTable[] = {
    {"@AngAngInt", 0, "@AngAngInt ( [pt1], [pt2], mode, type, angle1, angle2, fmt, <[plane]> )", fnAngAngInt},
    {"@AngDstInt", 0, "@AngDstInt ( [pt1], [pt2], mode, type, angle1, distance2, fmt, <[plane]> )", fnAngDstInt},
    {"@Closure", 0, "@Closure ( [polygon], mode, type, fmt )", fnClosure},
    {"@Compass", 0, "@Compass ( [polygon] ) or @Compass ( [segment], [point] )", fnCompass},
    {"@CurveArc", 0, "@CurveArc ( [PC], arc, radius, mode, type, tangent, fmt, <[plane]> )", fnCurveArc},
    {"@CurveDelta", 0, "@CurveDelta ( [PC], [RP], mode, delta, fmt, <[plane]> )", fnCurveDelta},
    {"@CurveRadius", 0, "@CurveRadius ( [PC], [PI], mode, radius, fmt, <[plane]> )", fnCurveRadius},
    {"@DstDstInt", 0, "@DstDstInt ( [pt1], [pt2], distance1, distance2, fmt, <[plane]> )", fnDstDstInt},
    {"@FieldAngle", 0, "@FieldAngle ( [backsight], [setup], mode, type, angle, vert, distance, fmt, <[plane]> )",
     fnFieldAngle},
    {"@Inverse", 0, "@Inverse ( [point1], [point2], mode, type, fmt, <[plane]> )", fnInverse},
    {"@NE", 0, "@NE ( northing, easting )", fnNE},
    {"@NEE", 0, "@NEE ( northing, easting, elevation )", fnNEE},
    {"@POLAR", 0, "@POLAR ( radius, ray )", fnPOLAR},
    {"@Polygon", 0, "@Polygon ( [cell1], [cell2], ... )", fnPolygon},
    {"@Radial", 0, "@Radial ( [backsight], [setup], [foresight], mode, type, fmt, <[plane]> )", fnRadial},
    {"@Resection", 0, "@Resection ( [pt1], [pt2], [pt3], mode, type, ang1, ang2, fmt )", fnResection},
    {"@Segment", 0, "@Segment ( [cell1], [cell2], ... )", fnSegment},
    {"@Text", 0, "@Text ( [beg], [end], height, fit, <[plane]> )", fnText},
    {"@Traverse", 0, "@Traverse ( [setup], mode, type, angle, distance, fmt, <[plane]> )", fnTraverse},
    {"@Triangle", 0, "@Triangle ( mode, A, B, C, a, b, c )", fnTriangle},
    {"@XY", 0, "@XY ( x, y )", fnXY},
    {"@XYZ", 0, "@XYZ ( x, y, z )", fnXYZ},
    {"rotate", 0, "rotate ( mode, type, angle, rotate_by )", fnRotate},
};

}  // namespace

std::span<const FunctionEntry> geometryFamily() {
    return kGeometryTable;
}

}  // namespace qx
