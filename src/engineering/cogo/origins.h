#pragma once
// Where the coordinate geometry functions and their library report from.
#include "core/origin_table.h"
#include "functions/origins.h"

// clang-format off
#define QX_COGO_ORIGINS(X)                                               \
    X(kAngAng,            kLetterA,   kModuleGeometryFamily, 1)          \
    X(kAngDst,            kLetterA,   kModuleGeometryFamily, 2)          \
    X(kClosure,           kLetterA,   kModuleGeometryFamily, 3)          \
    X(kCompassFn,         kLetterA,   kModuleGeometryFamily, 4)          \
    X(kCurveArc,          kLetterA,   kModuleGeometryFamily, 5)          \
    X(kCurveDelta,        kLetterA,   kModuleGeometryFamily, 6)          \
    X(kCurveRadius,       kLetterA,   kModuleGeometryFamily, 7)          \
    X(kDstDst,            kLetterA,   kModuleGeometryFamily, 8)          \
    X(kFieldAngle,        kLetterA,   kModuleGeometryFamily, 9)          \
    X(kInverse,           kLetterA,   kModuleGeometryFamily, 10)         \
    X(kNE,                kLetterA,   kModuleGeometryFamily, 11)         \
    X(kNEE,               kLetterA,   kModuleGeometryFamily, 12)         \
    X(kPolar,             kLetterA,   kModuleGeometryFamily, 13)         \
    X(kPolygon,           kLetterA,   kModuleGeometryFamily, 14)         \
    X(kRadial,            kLetterA,   kModuleGeometryFamily, 15)         \
    X(kResectionFn,       kLetterA,   kModuleGeometryFamily, 16)         \
    X(kSegment,           kLetterA,   kModuleGeometryFamily, 17)         \
    X(kText,              kLetterA,   kModuleGeometryFamily, 18)         \
    X(kTraverse,          kLetterA,   kModuleGeometryFamily, 19)         \
    X(kTriangle,          kLetterA,   kModuleGeometryFamily, 20)         \
    X(kXY,                kLetterA,   kModuleGeometryFamily, 21)         \
    X(kXYZ,               kLetterA,   kModuleGeometryFamily, 22)         \
    X(kRotate,            kLetterA,   kModuleGeometryFamily, 23)         \
    X(kObjectCell,        kLetterA,   kModuleGeometryFamily, 30)         \
    X(kNumbers,           kLetterA,   kModuleGeometryFamily, 31)         \
    X(kPlane,             kLetterA,   kModuleGeometryFamily, 32)         \
    X(kStore,             kLetterA,   kModuleGeometryFamily, 33)         \
    X(kChoices,           kLetterA,   kModuleGeometryFamily, 34)         \
    X(kSetDirection,      kLetterLib, kModuleGeometryLibrary, 31)        \
    X(kSetFieldAngle,     kLetterLib, kModuleGeometryLibrary, 32)        \
    X(kToDegrees,         kLetterLib, kModuleGeometryLibrary, 33)        \
    X(kInMode,            kLetterLib, kModuleGeometryLibrary, 34)        \
    X(kAngleAngle,        kLetterLib, kModuleGeometryLibrary, 35)        \
    X(kAngleDistance,     kLetterLib, kModuleGeometryLibrary, 36)        \
    X(kDistanceDistance,  kLetterLib, kModuleGeometryLibrary, 37)        \
    X(kResectionSolve,    kLetterLib, kModuleGeometryLibrary, 38)        \
    X(kToPi,              kLetterLib, kModuleGeometryLibrary, 39)        \
    X(kAlongTangent,      kLetterLib, kModuleGeometryLibrary, 40)        \
    X(kAboutRadiusPoint,  kLetterLib, kModuleGeometryLibrary, 41)        \
    X(kValues,            kLetterLib, kModuleGeometryLibrary, 42)        \
    X(kCompassAdjustment, kLetterLib, kModuleGeometryLibrary, 43)        \
    X(kSolve,             kLetterLib, kModuleGeometryLibrary, 44)        \
    X(kConversion,        kLetterLib, kModuleMathLibrary, 60)            \
    X(kArcCosine,         kLetterLib, kModuleMathLibrary, 61)
// clang-format on

namespace qx::origins::cogo {
QX_DECLARE_ORIGINS(QX_COGO_ORIGINS)

// A coordinate or road function that fails with a message of the geometry table reports it as the
// library's routine of the function's own number, so that number must be free among the library's.
constexpr Origin geometryLibraryTwin(Origin function) {
    return Origin{kLetterLib, kModuleGeometryLibrary, function.routine};
}
}  // namespace qx::origins::cogo
