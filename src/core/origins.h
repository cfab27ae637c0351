#pragma once
// Where the cell store, its heap and the settings file report from.
#include "core/origin_table.h"

// clang-format off
#define QX_CORE_ORIGINS(X)                        \
    X(kFind,                  kLetterA, 1, 3)     \
    X(kFindOverlapping,       kLetterA, 1, 4)     \
    X(kOccupancy,             kLetterA, 1, 5)     \
    X(kFreeArray,             kLetterA, 1, 7)     \
    X(kSetArraySize,          kLetterA, 1, 8)     \
    X(kSetArrayElements,      kLetterA, 1, 9)     \
    X(kFreeTag,               kLetterA, 1, 10)    \
    X(kFreeVariableLabelText, kLetterA, 1, 11)    \
    X(kSetTag,                kLetterA, 1, 12)    \
    X(kAttachTable,           kLetterA, 1, 13)    \
    X(kInsert,                kLetterA, 1, 14)    \
    X(kUnlink,                kLetterA, 1, 15)    \
    X(kMakeCell,              kLetterA, 2, 4)     \
    X(kSetReferences,         kLetterA, 4, 4)     \
    X(kGetReference,          kLetterA, 4, 5)     \
    X(kIndexAdd,              kLetterA, 4, 6)     \
    X(kReleaseReferences,     kLetterA, 4, 7)     \
    X(kRebuildDependents,     kLetterA, 4, 8)     \
    X(kIndexTransfer,         kLetterA, 4, 9)     \
    X(kDeleteNow,             kLetterA, 9, 4)     \
    X(kDeleteBlock,           kLetterA, 9, 5)     \
    X(kDeleteForUndo,         kLetterA, 9, 12)    \
    X(kPurgeChain,            kLetterA, 9, 13)    \
    X(kKeepPlaceholder,       kLetterA, 9, 14)    \
    X(kCopyCell,              kLetterA, 9, 15)    \
    X(kDetachedCopy,          kLetterA, 9, 16)    \
    X(kMoveCell,              kLetterA, 9, 17)    \
    X(kAdoptContent,          kLetterA, 9, 18)    \
    X(kRestoreDetached,       kLetterA, 9, 19)    \
    X(kPlaceUnlinked,         kLetterA, 9, 20)    \
    X(kHookEnterText,         kLetterA, 20, 4)    \
    X(kPathCheckOrigin,             kLetterA, 90, 1)    \
    X(kTableDescriptorOrigin,       kLetterC, 20, 1)    \
    X(kHeapFree,              kLetterW, 3, 3)     \
    X(kHeapAllocate,          kLetterW, 3, 4)     \
    X(kStoreAllocate,         kLetterW, 3, 5)     \
    X(kStoreRelease,          kLetterW, 3, 6)     \
    X(kCopyObject,            kLetterW, 3, 7)     \
    X(kSettingsReadOrigin,          kLetterW, 97, 1)    \
    X(kSettingsWriteOrigin,         kLetterW, 97, 2)
// clang-format on

namespace qx::origins::core {
QX_DECLARE_ORIGINS(QX_CORE_ORIGINS)
}  // namespace qx::origins::core
