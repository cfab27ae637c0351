#include "core/cell_store_hooks.h"

#include "core/attributes.h"
#include "core/cell_heap.h"
#include "core/cell_store.h"
#include "core/origins.h"

namespace qx {

void CellStoreHooks::enterText(CellStore& store, CellRec& cell, std::string_view text, ErrStat& err) {
    err.enter();
    LevelRec* level = store.levelOf(cell);
    if (level == nullptr) return void(err.fail(origins::core::kHookEnterText, 1, Msg::LevelOutOfRange));
    char*& slot = cell.isVariableLabel() && cell.formula ? cell.formula->tag : cell.text;
    heapFreeText(*level, slot, err);
    if (!err.failed()) slot = heapText(*level, text, err);
    err.trace(origins::core::kHookEnterText);
}

std::string CellStoreHooks::formulaText(const CellStore&, const CellRec& cell, int, int, int) {
    if (cell.isVariableLabel())
        return cell.formula && cell.formula->tag ? std::string(cell.formula->tag) : std::string();
    return std::string(cell.textView());
}

void CellStoreHooks::notify(CellStore&, CellRec&, NotifyMode) {}

void CellStoreHooks::levelCleared(CellStore&, int) {}

void CellStoreHooks::recalcMarked(CellStore&, CellRec&) {}

void CellStoreHooks::leaveRangeList(CellStore&, CellRec& cell) {
    cell.set(cellflag::kRangeDef, false);
}

void CellStoreHooks::joinRangeList(CellStore&, CellRec& cell) {
    cell.set(cellflag::kRangeDef, true);
}

EffectiveAttributes CellStoreHooks::effectiveAttributes(const CellStore& store, const CellRec* cell, int row, int col,
                                                        int level) {
    return qx::effectiveAttributes(store, cell, row, col, level);
}

}  // namespace qx
