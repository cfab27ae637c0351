// Deleting cells: at once, for undo, by block; placeholders and purging.
#include <cmath>
#include <new>

#include "core/cell_heap.h"
#include "core/cell_store.h"
#include "core/dependents_index.h"
#include "core/origins.h"
#include "core/slot.h"

namespace qx {

using namespace origins::core;

namespace {

constexpr double kValueLimit = 1.7e308;

// A placeholder keeps only what says where and how it is shown.
void makePlaceholderFlags(CellRec& cell) {
    cell.set(cellflag::kOverlapMask | cellflag::kRangeDef | cellflag::kRecalcPending | cellflag::kOnPath, false);
    cell.setType(CellType::Undefined);
}

CellRec* firstInRange(const LevelRec& level, int row, int firstCol, int lastCol) {
    for (CellRec* cell : RowCells{slot(level.rows, row)}) {
        if (cell->col > lastCol) return nullptr;
        if (cell->col >= firstCol) return cell;
    }
    return nullptr;
}

std::string entryPrefixed(std::string_view text, char prefix) {
    if (!text.empty() && text.front() == prefix) return std::string(text);
    return prefix + std::string(text);
}

}  // namespace

CellRec* CellStore::newCellRecord(LevelRec& level, ErrStat& err) {
    auto* cell = static_cast<CellRec*>(heapAllocate(level, 1, sizeof(CellRec), heapkind::kCell, err));
    if (err.failed()) return nullptr;
    return new (cell) CellRec{};
}

FormulaRec* CellStore::newFormulaRecord(LevelRec& level, ErrStat& err) {
    auto* rec = static_cast<FormulaRec*>(heapAllocate(level, 1, sizeof(FormulaRec), heapkind::kFormula, err));
    if (err.failed()) return nullptr;
    new (rec) FormulaRec{};
    return rec;
}

void CellStore::freeCellRecord(LevelRec& level, CellRec* cell, ErrStat& err) {
    indexFree(level, *cell);
    heapFree(level, cell, sizeof(CellRec), heapkind::kCell, err);
}

// Frees the formula record with its Array Area, tag (or template), object and references.
void CellStore::freeFormulaParts(LevelRec& level, CellRec& cell, ErrStat& err) {
    err.enter();
    if (cell.formula == nullptr) return;
    if (cell.formula->refs != nullptr) releaseReferences(&cell, err);
    if (!err.failed()) freeArray(&cell, err);
    if (!err.failed()) heapFreeText(level, cell.formula->tag, err);
    if (!err.failed()) freeObject(level, cell.formula->object, err);
    if (err.failed()) return;
    heapFree(level, cell.formula, sizeof(FormulaRec), heapkind::kFormula, err);
    cell.formula = nullptr;
}

// Takes everything the cell owns; the record itself stays.
void CellStore::stripCell(LevelRec& level, CellRec& cell, ErrStat& err) {
    err.enter();
    if (cell.has(cellflag::kRangeDef)) m_hooks->leaveRangeList(*this, cell);
    heapFreeText(level, cell.text, err);
    if (!err.failed()) freeFormulaParts(level, cell, err);
}

void CellStore::deleteCellNow(CellRec* cell, ErrStat& err) {
    err.enter();
    if (cell == nullptr) return void(err.fail(kDeleteNow, 1, Msg::NullCellAddress));
    if (!worksheetLevel(cell->level)) return void(err.fail(kDeleteNow, 1, Msg::LevelOutOfRange));
    if (cell->has(cellflag::kProtectCell)) return void(err.fail(kDeleteNow, 2, Msg::ProtectedCell));
    LevelRec& level = *levelOf(*cell);
    touch(*cell, !cell->isPlaceholder());
    m_scratch.repaintPending = true;
    if (!cell->isPlaceholder()) {
        stripCell(level, *cell, err);
        if (err.failed()) return err.trace(kDeleteNow);
    }
    if (isReferenced(*cell)) return makePlaceholderFlags(*cell);
    unlinkCell(cell, err);
    if (!err.failed()) freeCellRecord(level, cell, err);
    err.trace(kDeleteNow);
}

CellRec* CellStore::keepPlaceholder(CellRec* deleted, NotifyMode mode, ErrStat& err) {
    (void)mode;
    err.enter();
    if (deleted == nullptr || levelPtr(deleted->level) == nullptr)
        return err.fail(kKeepPlaceholder, 1, Msg::NullCellAddress), nullptr;
    LevelRec& level = *levelOf(*deleted);
    if (findCell(deleted->row, deleted->col, deleted->level, err) != nullptr || err.failed()) {
        return err.fail(kKeepPlaceholder, 2, Msg::CellUnavailable), nullptr;
    }
    CellRec* holder = newCellRecord(level, err);
    if (err.failed()) return err.fail(kKeepPlaceholder, 3, Msg::OutOfMemory), nullptr;
    holder->row = deleted->row;
    holder->col = deleted->col;
    holder->level = deleted->level;
    holder->style = deleted->style;
    holder->setType(CellType::Undefined);
    insertCell(holder, false, false, err);
    if (err.failed()) {
        freeCellRecord(level, holder, err);
        return err.fail(kKeepPlaceholder, 4, Msg::LevelOutOfRange), nullptr;
    }
    holder->dependents = deleted->dependents;
    deleted->dependents = 0;
    // The dependents search here must find "Prevent Recalc" cells too.
    m_scratch.includePrevent = true;
    indexTransfer(level, *deleted, *holder, err);
    repointDependents(*deleted, *holder);
    m_scratch.includePrevent = false;
    return holder;
}

void CellStore::deleteCellForUndo(CellRec* cell, NotifyMode mode, ErrStat& err) {
    err.enter();
    if (cell == nullptr) return void(err.fail(kDeleteForUndo, 1, Msg::NullCellAddress));
    if (!worksheetLevel(cell->level)) return void(err.fail(kDeleteForUndo, 2, Msg::LevelOutOfRange));
    if (cell->has(cellflag::kProtectCell)) return void(err.fail(kDeleteForUndo, 3, Msg::ProtectedCell));
    LevelRec& level = *levelOf(*cell);
    if (!level.pendingDelete.contains(cell->row, cell->col)) return;
    if (cell->isPlaceholder()) return deleteCellNow(cell, err), err.trace(kDeleteForUndo);

    // The entry form is read while the references still say what the text means.
    std::string entry;
    if (cell->isFormula()) entry = entryPrefixed(m_hooks->formulaText(*this, *cell, 0, 0, 0), '+');
    if (cell->isVariableLabel()) entry = entryPrefixed(m_hooks->formulaText(*this, *cell, 0, 0, 0), '"');
    if (cell->isLabel()) entry = entryPrefixed(cell->textView(), '\'');
    releaseReferences(cell, err);
    if (err.failed()) return err.trace(kDeleteForUndo);
    if (cell->has(cellflag::kRangeDef)) m_hooks->leaveRangeList(*this, *cell);
    if (cell->isFormula() && cell->formula != nullptr) {
        cell->formula->value = 0.0;
        cell->formula->setErrorMark(true);
    }
    if (cell->isVariableLabel()) {
        freeFormulaParts(level, *cell, err);
        cell->setType(CellType::Label);
    }
    heapFreeText(level, cell->text, err);
    if (!err.failed()) cell->text = heapText(level, entry, err);
    if (err.failed()) return void(err.fail(kDeleteForUndo, 4, Msg::OutOfMemory));

    unlinkCell(cell, err);
    if (err.failed()) return err.trace(kDeleteForUndo);
    if (isReferenced(*cell)) {
        keepPlaceholder(cell, mode, err);
        if (err.failed()) {
            // Without a placeholder its dependents would point into the chain: put it back.
            ErrStat ignored;
            insertCell(cell, false, false, ignored);
            return err.trace(kDeleteForUndo);
        }
    }
    cell->next = level.undoNewer;
    level.undoNewer = cell;
    touch(*cell);
}

bool CellStore::blockProtected(const LevelRec& level, int firstRow, int firstCol, int lastRow, int lastCol) const {
    for (int row = firstRow; row <= lastRow; ++row) {
        for (CellRec* cell : RowCells{slot(level.rows, row)}) {
            if (cell->col >= firstCol && cell->col <= lastCol && cell->has(cellflag::kProtectCell)) return true;
        }
    }
    return false;
}

void CellStore::deleteBlock(int level, int firstRow, int firstCol, int lastRow, int lastCol, NotifyMode mode,
                            bool repaint, ErrStat& err) {
    err.enter();
    if (!worksheetLevel(level)) return void(err.fail(kDeleteBlock, 1, Msg::LevelOutOfRange));
    if (firstRow < 1 || firstRow > kMaxRow) return void(err.fail(kDeleteBlock, 2, Msg::RowOutOfRange));
    if (firstCol < 1 || firstCol > kMaxCol) return void(err.fail(kDeleteBlock, 3, Msg::ColumnOutOfRange));
    if (lastRow < 1 || lastRow > kMaxRow) return void(err.fail(kDeleteBlock, 4, Msg::RowOutOfRange));
    if (lastCol < 1 || lastCol > kMaxCol) return void(err.fail(kDeleteBlock, 5, Msg::ColumnOutOfRange));
    LevelRec& rec = *levelPtr(level);
    if (firstRow <= lastRow && firstCol <= lastCol) {
        // Refusing before anything moves keeps both undo chains intact.
        if (blockProtected(rec, firstRow, firstCol, lastRow, lastCol)) {
            return void(err.fail(kDeleteBlock, 6, Msg::ProtectedCell));
        }
        rec.pendingDelete = CellArea{firstRow, firstCol, lastRow, lastCol};
        purgeChain(rec.undoOlder, err);
        if (err.failed()) return rec.pendingDelete.clear(), err.trace(kDeleteBlock);
        rec.undoOlder = rec.undoNewer;
        rec.undoNewer = nullptr;
        for (int row = firstRow; row <= lastRow; ++row) {
            // Each step looks the row up again: releasing a formula's references may free a
            // placeholder further along the same row.
            for (CellRec* cell = firstInRange(rec, row, firstCol, lastCol); cell != nullptr;) {
                const int next = cell->col + 1;
                deleteCellForUndo(cell, mode, err);
                // The cells deleted so far stay on the newer chain, so Undo delete can still bring them back.
                if (err.failed()) return rec.pendingDelete.clear(), err.trace(kDeleteBlock);
                cell = next <= lastCol ? firstInRange(rec, row, next, lastCol) : nullptr;
            }
        }
    }
    if (repaint) m_scratch.repaintPending = true;
}

CellRec* CellStore::restoreDetached(CellRec* cell, ErrStat& err) {
    err.enter();
    if (cell == nullptr) return err.fail(kRestoreDetached, 1, Msg::NullCellAddress), nullptr;
    if (!worksheetLevel(cell->level)) return err.fail(kRestoreDetached, 1, Msg::LevelOutOfRange), nullptr;
    if (cell->isPlaceholder()) return err.fail(kRestoreDetached, 2, Msg::CellUnavailable), nullptr;
    CellRec* there = findCell(cell->row, cell->col, cell->level, err);
    if (err.failed()) return err.trace(kRestoreDetached), nullptr;
    if (there != nullptr && !there->isPlaceholder())
        return err.fail(kRestoreDetached, 3, Msg::CellUnavailable), nullptr;
    LevelRec& level = *levelOf(*cell);
    // The entry form: a formula's text, '"' and a Variable Label's template, or an apostrophe and a label.
    const std::string entry(cell->textView());
    const bool variable = cell->isLabel() && !entry.empty() && entry.front() == '"';
    const bool label = cell->isLabel() && !variable;
    if (variable) {
        cell->formula = newFormulaRecord(level, err);
        if (err.failed()) return err.fail(kRestoreDetached, 4, Msg::OutOfMemory), nullptr;
        cell->setType(CellType::VariableLabel);
    }
    cell->next = nullptr;
    if (there == nullptr) {
        insertCell(cell, false, false, err);
    } else {
        adoptContent(there, cell, err);
        cell = there;
    }
    if (err.failed()) return err.trace(kRestoreDetached), nullptr;
    std::string_view body = entry;
    if ((variable || label) && !body.empty() && body.front() == (variable ? '"' : '\'')) body.remove_prefix(1);
    ErrStat entryErr;
    m_hooks->enterText(*this, *cell, body, entryErr);
    if (entryErr.failed() && cell->formula != nullptr) cell->formula->setErrorMark(true);
    level.changed = true;
    m_scratch.repaintPending = true;
    return cell;
}

void CellStore::purgeChain(CellRec* first, ErrStat& err) {
    err.enter();
    for (CellRec* cell = first; cell != nullptr;) {
        LevelRec* level = levelOf(*cell);
        if (level == nullptr) return void(err.fail(kPurgeChain, 1, Msg::LevelOutOfRange));
        CellRec* next = cell->next;
        heapFreeText(*level, cell->text, err);
        if (!err.failed()) freeFormulaParts(*level, *cell, err);
        if (!err.failed()) freeCellRecord(*level, cell, err);
        if (err.failed()) return err.trace(kPurgeChain);
        cell = next;
    }
}

}  // namespace qx
