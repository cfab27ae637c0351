#pragma once
// Where the road functions and their geometry report from.
#include "core/origin_table.h"
#include "functions/origins.h"

// clang-format off
#define QX_ROAD_ORIGINS(X)                                                 \
    X(kElevationFn,           kLetterA,   kModuleRoadFamily, 51)           \
    X(kProfileFn,             kLetterA,   kModuleRoadFamily, 52)           \
    X(kSlopeFn,               kLetterA,   kModuleRoadFamily, 53)           \
    X(kStationFn,             kLetterA,   kModuleRoadFamily, 54)           \
    X(kVertCurveFn,           kLetterA,   kModuleRoadFamily, 55)           \
    X(kXsectionFn,            kLetterA,   kModuleRoadFamily, 56)           \
    X(kLinkBack,              kLetterA,   kModuleRoadFamily, 57)           \
    X(kStep,                  kLetterA,   kModuleRoadFamily, 63)           \
    X(kVerticalCurveMake,     kLetterLib, kModuleGeometryLibrary, 61)      \
    X(kVerticalCurveElevation, kLetterLib, kModuleGeometryLibrary, 62)
// clang-format on

namespace qx::origins::road {
QX_DECLARE_ORIGINS(QX_ROAD_ORIGINS)
}  // namespace qx::origins::road
