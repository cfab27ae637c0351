#pragma once
// Where the statistics functions and their numerical methods report from.
#include <cstdint>

#include "core/origin_table.h"

namespace qx {

// Letter 'S' modules: the statistics message table.
constexpr int32_t kModuleDistributions = 1;
constexpr int32_t kModuleSummary = 2;
constexpr int32_t kModuleRegression = 3;
constexpr int32_t kModuleNumerics = 4;
// Letter 'A': argument and table checks, reported with the general messages.
constexpr int32_t kModuleStatisticsArguments = 45;

}  // namespace qx

// clang-format off
#define QX_STATISTICS_ORIGINS(X)                                    \
    X(kChiSqDistFn,     kLetterS, kModuleDistributions, 1)          \
    X(kChiSqInvFn,      kLetterS, kModuleDistributions, 2)          \
    X(kNormStdDistFn,   kLetterS, kModuleDistributions, 3)          \
    X(kNormStdInvFn,    kLetterS, kModuleDistributions, 4)          \
    X(kTDistFn,         kLetterS, kModuleDistributions, 5)          \
    X(kTDistInvFn,      kLetterS, kModuleDistributions, 6)          \
    X(kSummaryFn,       kLetterS, kModuleSummary, 1)                \
    X(kMeanFn,          kLetterS, kModuleSummary, 2)                \
    X(kSpreadFn,        kLetterS, kModuleSummary, 3)                \
    X(kIntervalFn,      kLetterS, kModuleSummary, 4)                \
    X(kOrderFn,         kLetterS, kModuleSummary, 5)                \
    X(kShapeFn,         kLetterS, kModuleSummary, 6)                \
    X(kRegressionFn,    kLetterS, kModuleRegression, 1)             \
    X(kAnovaFn,         kLetterS, kModuleRegression, 2)             \
    X(kGammaSeries,     kLetterS, kModuleNumerics, 1)               \
    X(kGammaFraction,   kLetterS, kModuleNumerics, 2)               \
    X(kGammaInverse,    kLetterS, kModuleNumerics, 3)               \
    X(kBetaFraction,    kLetterS, kModuleNumerics, 4)               \
    X(kBetaInverse,     kLetterS, kModuleNumerics, 5)               \
    X(kStudentInverse,  kLetterS, kModuleNumerics, 6)               \
    X(kStatArguments,   kLetterA, kModuleStatisticsArguments, 1)    \
    X(kStatTable,       kLetterA, kModuleStatisticsArguments, 2)    \
    X(kStatColumn,      kLetterA, kModuleStatisticsArguments, 3)
// clang-format on

namespace qx::origins::statistics {
QX_DECLARE_ORIGINS(QX_STATISTICS_ORIGINS)
}  // namespace qx::origins::statistics
