#pragma once
// Where the matrix functions and the matrix library report from.
#include <cstdint>

#include "core/origin_table.h"

namespace qx {

constexpr int32_t kMatrixLibrary = 7;        // letter 'L': the matrix message table
constexpr int32_t kModuleMatrixFamily = 39;  // letter 'A'

}  // namespace qx

// Each function's routine number is its number in the family; the library's are its operations'.
// clang-format off
#define QX_MATRIX_ORIGINS(X)                                  \
    X(kMatrixFn,       kLetterA,   kModuleMatrixFamily, 1)    \
    X(kAddFn,          kLetterA,   kModuleMatrixFamily, 2)    \
    X(kCrossProductFn, kLetterA,   kModuleMatrixFamily, 3)    \
    X(kExponentFn,     kLetterA,   kModuleMatrixFamily, 4)    \
    X(kInverseFn,      kLetterA,   kModuleMatrixFamily, 5)    \
    X(kProductFn,      kLetterA,   kModuleMatrixFamily, 6)    \
    X(kScalarFn,       kLetterA,   kModuleMatrixFamily, 7)    \
    X(kSolveFn,        kLetterA,   kModuleMatrixFamily, 8)    \
    X(kSubtractFn,     kLetterA,   kModuleMatrixFamily, 9)    \
    X(kTransposeFn,    kLetterA,   kModuleMatrixFamily, 10)   \
    X(kDeterminantFn,  kLetterA,   kModuleMatrixFamily, 11)   \
    X(kDotProductFn,   kLetterA,   kModuleMatrixFamily, 12)   \
    X(kDeterminant,    kLetterLib, kMatrixLibrary, 1)         \
    X(kSolve,          kLetterLib, kMatrixLibrary, 4)         \
    X(kInverse,        kLetterLib, kMatrixLibrary, 5)         \
    X(kTranspose,      kLetterLib, kMatrixLibrary, 6)         \
    X(kSum,            kLetterLib, kMatrixLibrary, 8)         \
    X(kProduct,        kLetterLib, kMatrixLibrary, 9)         \
    X(kScalar,         kLetterLib, kMatrixLibrary, 10)        \
    X(kPower,          kLetterLib, kMatrixLibrary, 11)        \
    X(kDotProduct,     kLetterLib, kMatrixLibrary, 12)        \
    X(kCrossProduct,   kLetterLib, kMatrixLibrary, 13)
// clang-format on

namespace qx::origins::matrix {
QX_DECLARE_ORIGINS(QX_MATRIX_ORIGINS)
}  // namespace qx::origins::matrix
