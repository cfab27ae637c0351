#pragma once
// The coordinate geometry family: 23 functions that make points, segments, polygons, directions, curves,
// triangles and texts in the calling cell.
#include <span>

#include "functions/function_registry.h"

namespace qx {

class FunctionCall;

double fnAngAngInt(FunctionCall& call, ErrStat& err);
double fnAngDstInt(FunctionCall& call, ErrStat& err);
double fnClosure(FunctionCall& call, ErrStat& err);
double fnCompass(FunctionCall& call, ErrStat& err);
double fnCurveArc(FunctionCall& call, ErrStat& err);
double fnCurveDelta(FunctionCall& call, ErrStat& err);
double fnCurveRadius(FunctionCall& call, ErrStat& err);
double fnDstDstInt(FunctionCall& call, ErrStat& err);
double fnFieldAngle(FunctionCall& call, ErrStat& err);
double fnInverse(FunctionCall& call, ErrStat& err);
double fnNE(FunctionCall& call, ErrStat& err);
double fnNEE(FunctionCall& call, ErrStat& err);
double fnPOLAR(FunctionCall& call, ErrStat& err);
double fnPolygon(FunctionCall& call, ErrStat& err);
double fnRadial(FunctionCall& call, ErrStat& err);
double fnResection(FunctionCall& call, ErrStat& err);
double fnSegment(FunctionCall& call, ErrStat& err);
double fnText(FunctionCall& call, ErrStat& err);
double fnTraverse(FunctionCall& call, ErrStat& err);
double fnTriangle(FunctionCall& call, ErrStat& err);
double fnXY(FunctionCall& call, ErrStat& err);
double fnXYZ(FunctionCall& call, ErrStat& err);
double fnRotate(FunctionCall& call, ErrStat& err);

// The family's table, sorted as the lookup compares names.
std::span<const FunctionEntry> geometryFamily();

}  // namespace qx
