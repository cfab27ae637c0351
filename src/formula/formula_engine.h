#pragma once
// The formula language wired to one cell store: evaluator, compiler, entry operation, and the hooks
// through which the store re-enters and expands formula text. Recalculation is installed from above.
#include <memory>
#include <string>
#include <string_view>

#include "core/cell_store_hooks.h"
#include "core/recalculator.h"
#include "formula/compiled_text.h"
#include "formula/compiler.h"
#include "formula/entry.h"
#include "formula/evaluator.h"
#include "formula/shortcut.h"

namespace qx {

class FormulaEngine final : public CellStoreHooks {
  public:
    // Installs itself as the store's hooks; the store must outlive the engine.
    explicit FormulaEngine(CellStore& store);
    ~FormulaEngine() override;
    FormulaEngine(const FormulaEngine&) = delete;
    FormulaEngine& operator=(const FormulaEngine&) = delete;

    Evaluator& evaluator() { return m_evaluator; }
    FormulaCompiler& compiler() { return m_compiler; }
    EntryOperation& entry() { return m_entry; }
    ShortCuts& shortCuts() { return m_shortCuts; }
    CellStore& store() { return m_store; }
    Recalculator& recalculator() { return *m_recalculator; }
    // Installs the recalculator that entries and the store's notifications go to; null: none.
    void setRecalculator(Recalculator* recalculator);

    // Readable text of a Formula (its compiled text) or Variable Label (its template).
    std::string readableText(const CellRec& cell, TextOffsets off, ErrStat& err) const;

    // CellStoreHooks
    void enterText(CellStore& store, CellRec& cell, std::string_view text, ErrStat& err) override;
    std::string formulaText(const CellStore& store, const CellRec& cell, int rowOffset, int colOffset,
                            int levelOffset) override;
    void notify(CellStore& store, CellRec& cell, NotifyMode mode) override;
    void leaveRangeList(CellStore& store, CellRec& cell) override;
    void joinRangeList(CellStore& store, CellRec& cell) override;
    void levelCleared(CellStore& store, int level) override;
    void recalcMarked(CellStore& store, CellRec& cell) override;

  private:
    CellStore& m_store;
    Evaluator m_evaluator;
    FormulaCompiler m_compiler;
    NoRecalculation m_noRecalculation;
    Recalculator* m_recalculator = &m_noRecalculation;
    EntryOperation m_entry;
    ShortCuts m_shortCuts;
};

}  // namespace qx
