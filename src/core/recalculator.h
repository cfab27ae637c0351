#pragma once
// The entry through which cell entry, paste, load and the Recalculate commands ask for recalculation.
#include "core/cell_records.h"

namespace qx {

// Notification modes: 0 nothing; 1 chain, then Range Operations; 2 the cell and its chain, then Range
// Operations; 3 chain only; 4 chain, forced and pending cells, Range Operations; 5 forced and pending cells,
// Range Operations; 6 the whole level; 7 the cell only; 8 the cell and its chain; 9 forced and pending cells.
namespace notifymode {
constexpr int kNone = 0;
constexpr int kChainAndRanges = 1;
constexpr int kCellChainAndRanges = 2;
constexpr int kChain = 3;
constexpr int kEdit = 4;
constexpr int kSweepAndRanges = 5;
constexpr int kWholeLevel = 6;
constexpr int kCellOnly = 7;
constexpr int kCellAndChain = 8;
constexpr int kSweep = 9;
}  // namespace notifymode

class Recalculator {
  public:
    virtual ~Recalculator() = default;
    virtual void notify(CellRec& cell, int mode) = 0;
    // The list of cells holding Range Operations.
    virtual void joinRangeList(CellRec& cell) = 0;
    virtual void leaveRangeList(CellRec& cell) = 0;
    // Drops everything held for a level whose cells are gone.
    virtual void levelCleared(int /*level*/) {}
    // A cell now carries "Force Recalc", recalc-pending or the error mark.
    virtual void noteMarked(CellRec& /*cell*/) {}
};

// Nothing is recalculated; the Range Operation list is only the cells' "Range Def" flag, as in a bare store.
class NoRecalculation final : public Recalculator {
  public:
    void notify(CellRec& /*cell*/, int /*mode*/) override {}
    void joinRangeList(CellRec& cell) override { cell.set(cellflag::kRangeDef, true); }
    void leaveRangeList(CellRec& cell) override { cell.set(cellflag::kRangeDef, false); }
};

}  // namespace qx
