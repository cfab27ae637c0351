#pragma once
// A plain recalculation: re-evaluates the cells that depend on a changed one through the cell store's
// reverse index, carrying a change on only when a value really changed, then the Range Operation cells.
#include <array>
#include <vector>

#include "core/recalculator.h"

namespace qx {

class CellStore;
class Evaluator;
class FormulaCompiler;

// Bounds one notification, so a damaged dependency graph can never loop forever.
constexpr int kMaxChainEvaluations = 1 << 20;

class MinimalRecalculator final : public Recalculator {
  public:
    MinimalRecalculator(CellStore& store, Evaluator& evaluator, FormulaCompiler& compiler)
        : m_store(store), m_evaluator(evaluator), m_compiler(compiler) {}

    void notify(CellRec& cell, int mode) override;
    void joinRangeList(CellRec& cell) override;
    void leaveRangeList(CellRec& cell) override;

    // Evaluates a Formula (or rebuilds a Variable Label); true when what it shows changed.
    bool recompute(CellRec& cell);

  private:
    void chain(CellRec& changed);
    void rangeOperations(int level);
    void wholeLevel(int level);

    CellStore& m_store;
    Evaluator& m_evaluator;
    FormulaCompiler& m_compiler;
    // Range Operation cells joined per level. Cells are found by their flag, never through kept pointers,
    // so a cell deleted without leaving the list cannot be reached here.
    std::array<int, kMaxLevelCount> m_rangeCount{};
};

}  // namespace qx
