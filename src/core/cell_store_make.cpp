// Making cells at a place.
#include "core/cell_heap.h"
#include "core/cell_store.h"
#include "core/origins.h"

namespace qx {

using namespace origins::core;

namespace {

constexpr uint32_t kJustifyMask = 3u << 20;
constexpr uint32_t kJustifyLeft = 1u << 20;
constexpr uint32_t kJustifyRight = 3u << 20;
constexpr uint32_t kObjectKindMask = 0x7Fu << 12;
constexpr uint32_t kDisplayFormatMask = 0x7Fu << 19;

uint32_t chooseJustification(const CellRec* existing, CellType type, uint32_t effectiveStyle) {
    if (existing != nullptr) return existing->type() == type ? (existing->style & kJustifyMask) : 0;
    const uint32_t justify = effectiveStyle & kJustifyMask;
    if (justify != 0) return justify;
    if (type == CellType::Formula) return kJustifyRight;
    if (type == CellType::Label || type == CellType::VariableLabel) return kJustifyLeft;
    return 0;
}

uint32_t freshFormulaFlags(uint32_t flags) {
    if ((flags & kObjectKindMask) != 0) flags &= ~kDisplayFormatMask;
    return flags & ~(kObjectKindMask | formulaflag::kErrorMark);
}

// What an overwritten Formula hands on to the Formula that replaces it.
struct CarriedParts {
    bool present = false;
    const double* array = nullptr;
    const char* tag = nullptr;
    const ObjectRec* object = nullptr;
};

}  // namespace

CellRec* CellStore::makeCell(int row, int col, int level, CellType type, OverlapCheck overlap, ErrStat& err) {
    err.enter();
    if (row < 1 || row > kMaxRow) return err.fail(kMakeCell, 8, Msg::RowOutOfRange), nullptr;
    if (col < 1 || col > kMaxCol) return err.fail(kMakeCell, 8, Msg::ColumnOutOfRange), nullptr;
    if (!worksheetLevel(level)) return err.fail(kMakeCell, 8, Msg::LevelOutOfRange), nullptr;
    LevelRec& rec = *levelPtr(level);
    CellRec* existing = findCell(row, col, level, err);
    const EffectiveAttributes attrs = m_hooks->effectiveAttributes(*this, existing, row, col, level);
    const uint32_t justify = chooseJustification(existing, type, attrs.style);

    CarriedParts carried;
    if (existing != nullptr && !existing->isPlaceholder()) {
        if (existing->isFormula() && existing->formula != nullptr) {
            carried = {true, existing->formula->array, existing->formula->tag, existing->formula->object};
        }
        // Deleted as a block so that a referenced cell leaves a placeholder and Undo delete can restore it;
        // the detached cell keeps the parts carried over until its chain is purged.
        deleteBlock(level, row, col, row, col, NotifyMode::None, false, err);
        if (err.failed()) return err.trace(kMakeCell), nullptr;
        existing = findCell(row, col, level, err);
        if (existing != nullptr && !existing->isPlaceholder())
            return err.fail(kMakeCell, 1, Msg::CellUnavailable), nullptr;
    }

    CellRec* cell = existing;
    if (cell == nullptr) {
        int width = 0;
        int remaining = 0;
        if (overlap == OverlapCheck::Check && findOverlappingCell(row, col, level, width, remaining, err)) {
            return err.fail(kMakeCell, 3, Msg::CellUnavailable), nullptr;
        }
        cell = newCellRecord(rec, err);
        if (err.failed()) return err.fail(kMakeCell, 2, Msg::OutOfMemory), nullptr;
        cell->row = static_cast<uint16_t>(row);
        cell->col = static_cast<uint8_t>(col);
        cell->level = static_cast<uint8_t>(level);
        cell->flags = attrs.cellFlags;
        cell->style = attrs.style;
        cell->setType(CellType::Undefined);
        insertCell(cell, false, false, err);
        if (err.failed()) {
            ErrStat ignored;
            freeCellRecord(rec, cell, ignored);
            return err.trace(kMakeCell), nullptr;
        }
    }
    cell->flags = attrs.cellFlags;
    cell->setOverlapped(0);
    // Only the range-operation list may grant "Range Def"; the path mark is transient.
    cell->set(cellflag::kRangeDef | cellflag::kOnPath, false);
    cell->setType(type);
    cell->style = (attrs.style & ~kJustifyMask) | justify;

    auto failAfterInsert = [&](int point, Msg code) -> CellRec* {
        err.fail(kMakeCell, point, code);
        cell->set(cellflag::kProtectCell, false);
        if (cell->formula != nullptr) {
            ErrStat ignored;
            freeFormulaParts(rec, *cell, ignored);
        }
        cell->setType(CellType::Undefined);
        ErrStat ignored;
        deleteCellNow(cell, ignored);
        return nullptr;
    };

    if (type == CellType::Formula || type == CellType::VariableLabel) {
        cell->formula = newFormulaRecord(rec, err);
        if (err.failed()) return failAfterInsert(4, Msg::OutOfMemory);
        cell->formula->flags = freshFormulaFlags(attrs.formulaFlags);
        if (carried.present && type == CellType::Formula) {
            cell->formula->array = copyArray(rec, carried.array, err);
            if (err.failed()) return failAfterInsert(5, Msg::OutOfMemory);
            cell->formula->tag = carried.tag ? heapText(rec, carried.tag, err) : nullptr;
            if (err.failed()) return failAfterInsert(6, Msg::OutOfMemory);
            cell->formula->object = copyObject(rec, carried.object, err);
            if (err.failed()) return failAfterInsert(6, Msg::OutOfMemory);
        }
    }
    if (type == CellType::Undefined) {
        cell->set(cellflag::kRecalcPending);
        cell->dependentsMark = true;
    }
    touch(*cell, type != CellType::Undefined);
    m_scratch.repaintPending = true;
    return cell;
}

}  // namespace qx
