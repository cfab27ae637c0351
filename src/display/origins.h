#pragma once
// Where display formatting reports from.
#include "core/origin_table.h"

// clang-format off
#define QX_DISPLAY_ORIGINS(X)                         \
    X(kFormatNumberOrigin, kLetterLib, 5, 40)
// clang-format on

namespace qx::origins::display {
QX_DECLARE_ORIGINS(QX_DISPLAY_ORIGINS)
}  // namespace qx::origins::display
