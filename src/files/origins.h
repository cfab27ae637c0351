#pragma once
// Where reading and writing files reports from.
#include "core/origin_table.h"

// clang-format off
#define QX_FILES_ORIGINS(X)                        \
    X(kOriginAppend,         kLetterLib, 1, 1)     \
    X(kOriginFinish,         kLetterLib, 1, 2)     \
    X(kOriginOpen,           kLetterLib, 1, 3)     \
    X(kOriginOpenPlain,      kLetterLib, 1, 4)     \
    X(kOriginBegin,          kLetterLib, 1, 5)     \
    X(kOriginCreate,         kLetterLib, 1, 6)     \
    X(kOriginReplace,        kLetterLib, 1, 7)     \
    X(kOriginSourceOpen,     kLetterLib, 1, 8)     \
    X(kDxfExportOrigin,      kLetterLib, 1, 9)     \
    X(kDxfPointOrigin,       kLetterLib, 1, 10)    \
    X(kDxfPolylineOrigin,    kLetterLib, 1, 11)    \
    X(kDxfArcOrigin,         kLetterLib, 1, 12)    \
    X(kDxfTextOrigin,        kLetterLib, 1, 13)    \
    X(kDxfElementOrigin,     kLetterLib, 1, 14)    \
    X(kViewDrawingOrigin,    kLetterLib, 1, 15)    \
    X(kLevelReaderOrigin,    kLetterA, 30, 2)      \
    X(kLevelFileOrigin,      kLetterA, 30, 3)      \
    X(kTableRecordsOrigin,   kLetterA, 30, 4)      \
    X(kLevelWriterOrigin,    kLetterA, 30, 5)      \
    X(kWorkbookWriterOrigin, kLetterA, 31, 9)      \
    X(kWorkbookReaderOrigin, kLetterA, 31, 10)     \
    X(kSaveFileOrigin,       kLetterA, 32, 1)      \
    X(kLoadFileOrigin,       kLetterA, 32, 5)      \
    X(kOpenFlowOrigin,       kLetterA, 32, 3)      \
    X(kClearOrigin,          kLetterA, 32, 4)      \
    X(kTextImportOrigin,     kLetterA, 44, 1)      \
    X(kCsvImportOrigin,      kLetterA, 44, 2)      \
    X(kDifImportOrigin,      kLetterA, 44, 3)      \
    X(kArrayHeaderOrigin,    kLetterA, 44, 4)      \
    X(kImportFileOrigin,     kLetterA, 44, 5)      \
    X(kTextExportOrigin,     kLetterA, 44, 6)      \
    X(kExportFileOrigin,     kLetterA, 44, 7)
// clang-format on

namespace qx::origins::files {
QX_DECLARE_ORIGINS(QX_FILES_ORIGINS)
}  // namespace qx::origins::files
