// Copying and moving cells.
#include "core/cell_heap.h"
#include "core/cell_store.h"
#include "core/dependents_index.h"
#include "core/origins.h"

namespace qx {

using namespace origins::core;

namespace {

// Label and template text as the entry operation would accept it.
std::string sanitised(std::string_view text) {
    std::string out(text.substr(0, kMaxTextLength));
    for (char& ch : out) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte < 32 || byte > 125) ch = '^';
    }
    return out;
}

bool validPlace(int row, int col) {
    return row >= 1 && row <= kMaxRow && col >= 1 && col <= kMaxCol;
}

}  // namespace

// Fills `into` (a fresh record or a placeholder being converted) with the source's content.
// The text is left to the caller: detached copies store it, placed copies re-enter it.
CellRec* CellStore::buildCopy(const CellRec* source, LevelRec& level, CellRec* into, bool detached,
                              const std::string& text, ErrStat& err) {
    err.enter();
    const uint32_t keepDependents = into->dependents;
    into->style = source->style;
    into->flags = source->flags;
    into->set(cellflag::kRangeDef | cellflag::kOnPath, false);
    into->dependents = keepDependents;
    if (!(source->isFormula() || source->isVariableLabel()) || source->formula == nullptr) return into;
    into->formula = newFormulaRecord(level, err);
    if (err.failed()) return nullptr;
    FormulaRec& copy = *into->formula;
    copy.flags = source->formula->flags & ~formulaflag::kErrorMark;
    if (source->isVariableLabel()) {
        if (detached) copy.tag = heapText(level, text, err);
        return err.failed() ? nullptr : into;
    }
    copy.value = detached ? 0.0 : source->formula->value;
    if (detached) copy.setErrorMark(true);
    copy.tag = source->formula->tag ? heapText(level, source->formula->tag, err) : nullptr;
    if (!err.failed()) copy.array = copyArray(level, source->formula->array, err);
    if (!err.failed()) copy.object = copyObject(level, source->formula->object, err);
    if (!err.failed() && detached) into->text = heapText(level, text, err);
    return err.failed() ? nullptr : into;
}

CellRec* CellStore::copyCell(const CellRec* source, int level, int row, int col, int rowOffset, int colOffset,
                             int levelOffset, ErrStat& err) {
    err.enter();
    if (source == nullptr) return err.fail(kCopyCell, 1, Msg::NullCellAddress), nullptr;
    if (!worksheetLevel(level)) return err.fail(kCopyCell, 2, Msg::LevelOutOfRange), nullptr;
    if (!validPlace(row, col))
        return err.fail(kCopyCell, 3, row < 1 || row > kMaxRow ? Msg::RowOutOfRange : Msg::ColumnOutOfRange), nullptr;
    LevelRec& rec = *levelPtr(level);
    CellRec* target = findCell(row, col, level, err);
    if (target != nullptr && !target->isPlaceholder()) return err.fail(kCopyCell, 4, Msg::PasteOverCell), nullptr;

    std::string text;
    if (source->isLabel()) text = sanitised(source->textView());
    if (source->isFormula()) text = m_hooks->formulaText(*this, *source, rowOffset, colOffset, levelOffset);
    if (source->isVariableLabel()) {
        text = sanitised(m_hooks->formulaText(*this, *source, rowOffset, colOffset, levelOffset));
    }

    CellRec* cell = target;
    if (cell == nullptr) {
        cell = newCellRecord(rec, err);
        if (err.failed()) return err.fail(kCopyCell, 5, Msg::OutOfMemory), nullptr;
        cell->row = static_cast<uint16_t>(row);
        cell->col = static_cast<uint8_t>(col);
        cell->level = static_cast<uint8_t>(level);
    }
    if (buildCopy(source, rec, cell, false, text, err) == nullptr) {
        ErrStat ignored;
        if (target == nullptr) {
            freeFormulaParts(rec, *cell, ignored);
            freeCellRecord(rec, cell, ignored);
        } else {
            freeFormulaParts(rec, *cell, ignored);
            cell->setType(CellType::Undefined);
        }
        return err.fail(kCopyCell, 5, Msg::OutOfMemory), nullptr;
    }
    if (target == nullptr) {
        insertCell(cell, false, false, err);
        if (err.failed()) {
            ErrStat ignored;
            freeFormulaParts(rec, *cell, ignored);
            freeCellRecord(rec, cell, ignored);
            return err.trace(kCopyCell), nullptr;
        }
    }
    rec.changed = true;
    if (cell->isPlaceholder()) return cell;
    // The copy is entered at its new place, so a formula's references are resolved there.
    ErrStat entry;
    m_hooks->enterText(*this, *cell, text, entry);
    if (entry.failed() && cell->formula != nullptr) cell->formula->setErrorMark(true);
    return cell;
}

CellRec* CellStore::detachedCopy(const CellRec* source, int level, ErrStat& err) {
    err.enter();
    if (source == nullptr) return err.fail(kDetachedCopy, 1, Msg::NullCellAddress), nullptr;
    LevelRec* rec = levelPtr(level);
    if (rec == nullptr) return err.fail(kDetachedCopy, 2, Msg::LevelOutOfRange), nullptr;
    CellRec* cell = newCellRecord(*rec, err);
    if (err.failed()) return err.fail(kDetachedCopy, 3, Msg::OutOfMemory), nullptr;
    cell->row = source->row;
    cell->col = source->col;
    cell->level = static_cast<uint8_t>(level);
    std::string text;
    if (source->isLabel()) text = sanitised(source->textView());
    if (source->isFormula()) text = m_hooks->formulaText(*this, *source, 0, 0, 0);
    if (source->isVariableLabel()) text = sanitised(m_hooks->formulaText(*this, *source, 0, 0, 0));
    if (buildCopy(source, *rec, cell, true, text, err) != nullptr && source->isLabel()) {
        cell->text = heapText(*rec, text, err);
    }
    if (!err.failed()) return cell;
    ErrStat ignored;
    heapFreeText(*rec, cell->text, ignored);
    freeFormulaParts(*rec, *cell, ignored);
    freeCellRecord(*rec, cell, ignored);
    return err.fail(kDetachedCopy, 3, Msg::OutOfMemory), nullptr;
}

void CellStore::adoptContent(CellRec* placeholder, CellRec* source, ErrStat& err) {
    err.enter();
    if (placeholder == nullptr || source == nullptr) return void(err.fail(kAdoptContent, 1, Msg::NullCellAddress));
    if (!placeholder->isPlaceholder() || placeholder->level != source->level || levelOf(*source) == nullptr) {
        return void(err.fail(kAdoptContent, 2, Msg::IncompatibleCellType));
    }
    LevelRec& level = *levelOf(*source);
    const bool rangeDef = source->has(cellflag::kRangeDef);
    if (rangeDef) m_hooks->leaveRangeList(*this, *source);
    // The cells the source refers to index the placeholder from now on.
    reindexFormula(level, *source, false, err);
    placeholder->text = source->text;
    placeholder->flags = source->flags;
    placeholder->style = source->style;
    placeholder->formula = source->formula;
    source->text = nullptr;
    source->formula = nullptr;
    reindexFormula(level, *placeholder, true, err);
    if (err.failed()) return err.trace(kAdoptContent);
    // The source's dependents follow its content, so nothing keeps pointing at the freed record.
    placeholder->dependents += source->dependents;
    source->dependents = 0;
    indexTransfer(level, *source, *placeholder, err);
    if (err.failed()) return err.trace(kAdoptContent);
    repointDependents(*source, *placeholder);
    if (rangeDef) m_hooks->joinRangeList(*this, *placeholder);
    freeCellRecord(level, source, err);
    level.changed = true;
}

// A record lives in its level's heap: crossing levels means a fresh record there. Only cells
// that nothing references and that reference nothing get here.
CellRec* CellStore::relocateAcrossLevels(CellRec* cell, LevelRec& to, ErrStat& err) {
    err.enter();
    LevelRec& from = *levelOf(*cell);
    CellRec* fresh = newCellRecord(to, err);
    if (err.failed()) return nullptr;
    fresh->row = cell->row;
    fresh->col = cell->col;
    fresh->level = static_cast<uint8_t>(to.number);
    const std::string text = cell->isVariableLabel() && cell->formula && cell->formula->tag
                                 ? std::string(cell->formula->tag)
                                 : std::string();
    if (buildCopy(cell, to, fresh, true, text, err) == nullptr) {
        ErrStat ignored;
        freeCellRecord(to, fresh, ignored);
        return nullptr;
    }
    fresh->flags = cell->flags;
    if (fresh->formula != nullptr && cell->formula != nullptr) {
        fresh->formula->flags = cell->formula->flags;
        fresh->formula->value = cell->formula->value;
    }
    heapFreeText(to, fresh->text, err);
    fresh->text = heapText(to, cell->textView(), err);
    if (err.failed()) return nullptr;
    stripCell(from, *cell, err);
    freeCellRecord(from, cell, err);
    from.changed = true;
    return fresh;
}

void CellStore::placeUnlinked(CellRec* cell, int row, int col, ErrStat& err) {
    err.enter();
    if (cell == nullptr) return void(err.fail(kPlaceUnlinked, 1, Msg::NullCellAddress));
    if (!validPlace(row, col))
        return void(err.fail(kPlaceUnlinked, 2, row < 1 || row > kMaxRow ? Msg::RowOutOfRange : Msg::ColumnOutOfRange));
    LevelRec* level = levelOf(*cell);
    if (level == nullptr || cell->level == 0) return void(err.fail(kPlaceUnlinked, 3, Msg::LevelOutOfRange));
    reindexFormula(*level, *cell, false, err);
    cell->row = static_cast<uint16_t>(row);
    cell->col = static_cast<uint8_t>(col);
    insertCell(cell, false, true, err);
    if (!err.failed()) reindexFormula(*level, *cell, true, err);
    if (err.failed()) return err.trace(kPlaceUnlinked);
    level->changed = true;
}

int CellStore::moveCell(int fromRow, int fromCol, int fromLevel, int toRow, int toCol, int toLevel, ErrStat& err) {
    err.enter();
    if (!validPlace(fromRow, fromCol) || !worksheetLevel(fromLevel))
        return err.fail(kMoveCell, 1, Msg::LevelOutOfRange), 0;
    if (!validPlace(toRow, toCol) || !worksheetLevel(toLevel)) return err.fail(kMoveCell, 2, Msg::LevelOutOfRange), 0;
    CellRec* cell = findCell(fromRow, fromCol, fromLevel, err);
    if (cell == nullptr) return 0;
    CellRec* target = findCell(toRow, toCol, toLevel, err);
    if (target == cell) return 1;
    if (target != nullptr && !target->isPlaceholder()) return 0;
    const bool refersToOthers = cell->formula != nullptr && cell->formula->refCount > 0;
    if (fromLevel != toLevel && (isReferenced(*cell) || refersToOthers || cell->isPlaceholder())) {
        return err.fail(kMoveCell, 3, Msg::MoveAcrossLevels), 0;
    }
    LevelRec& to = *levelPtr(toLevel);
    unlinkCell(cell, err);
    if (err.failed()) return err.trace(kMoveCell), 0;
    if (fromLevel != toLevel) {
        const bool rangeDef = cell->has(cellflag::kRangeDef);
        if (rangeDef) m_hooks->leaveRangeList(*this, *cell);
        cell = relocateAcrossLevels(cell, to, err);
        if (err.failed()) return err.trace(kMoveCell), 0;
        if (rangeDef) m_hooks->joinRangeList(*this, *cell);
    }
    if (target != nullptr) {
        adoptContent(target, cell, err);
        if (err.failed()) return err.trace(kMoveCell), 0;
        m_hooks->notify(*this, *target, NotifyMode::Edit);
    } else {
        reindexFormula(to, *cell, false, err);
        cell->row = static_cast<uint16_t>(toRow);
        cell->col = static_cast<uint8_t>(toCol);
        insertCell(cell, false, false, err);
        if (!err.failed()) reindexFormula(to, *cell, true, err);
        if (err.failed()) return err.trace(kMoveCell), 0;
        m_hooks->recalcMarked(*this, *cell);  // marked cells are found by their place
    }
    levelPtr(fromLevel)->changed = true;
    to.changed = true;
    return 1;
}

}  // namespace qx
