#include "formula/formula_engine.h"

#include "core/cell_heap.h"
#include "core/cell_store.h"
#include "formula/compiled_text.h"

namespace qx {

FormulaEngine::FormulaEngine(CellStore& store)
    : m_store(store),
      m_evaluator(store),
      m_compiler(store, m_evaluator),
      m_entry(store, m_compiler, m_noRecalculation),
      m_shortCuts(*this) {
    store.setHooks(this);
}

FormulaEngine::~FormulaEngine() {
    if (&m_store.hooks() == this) m_store.setHooks(nullptr);
}

void FormulaEngine::setRecalculator(Recalculator* recalculator) {
    m_recalculator = recalculator ? recalculator : &m_noRecalculation;
    m_entry.setRecalculator(*m_recalculator);
}

std::string FormulaEngine::readableText(const CellRec& cell, TextOffsets off, ErrStat& err) const {
    err.enter();
    if (cell.isFormula()) return expandCompiled(cell, cell.text, off, m_store.highestLevel(), err);
    if (cell.isVariableLabel() && cell.formula != nullptr) {
        return expandCompiled(cell, cell.formula->tag, off, m_store.highestLevel(), err);
    }
    return std::string(cell.textView());
}

void FormulaEngine::enterText(CellStore& store, CellRec& cell, std::string_view text, ErrStat& err) {
    if (cell.isFormula() || cell.isVariableLabel()) {
        m_compiler.compile(cell, text, text, CompileOptions{false, true}, err);
        return;
    }
    CellStoreHooks::enterText(store, cell, text, err);
}

std::string FormulaEngine::formulaText(const CellStore&, const CellRec& cell, int rowOffset, int colOffset,
                                       int levelOffset) {
    ErrStat err;
    return readableText(cell, TextOffsets{rowOffset, colOffset, levelOffset}, err);
}

void FormulaEngine::notify(CellStore&, CellRec& cell, NotifyMode mode) {
    m_recalculator->notify(cell, mode);
}

void FormulaEngine::leaveRangeList(CellStore&, CellRec& cell) {
    m_recalculator->leaveRangeList(cell);
}

void FormulaEngine::joinRangeList(CellStore&, CellRec& cell) {
    m_recalculator->joinRangeList(cell);
}

void FormulaEngine::levelCleared(CellStore&, int level) {
    m_recalculator->levelCleared(level);
}

void FormulaEngine::recalcMarked(CellStore&, CellRec& cell) {
    m_recalculator->noteMarked(cell);
}

}  // namespace qx
