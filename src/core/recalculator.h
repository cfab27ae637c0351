#pragma once
// The entry through which cell entry, paste, load and the Recalculate commands ask for recalculation.
#include <cstdint>

#include "core/cell_records.h"

namespace qx {

// What a change asks recalculation to do.
enum class NotifyMode : uint8_t {
    None,
    ChainAndRanges,      // the chain of affected cells, then Range Operations
    CellChainAndRanges,  // the cell and its chain, then Range Operations
    Chain,               // the chain only
    Edit,                // the chain, or else forced and pending cells; then Range Operations
    SweepAndRanges,      // forced and pending cells, then Range Operations
    WholeLevel,          // every cell of the level
    CellOnly,            // the cell only
    CellAndChain,        // the cell and its chain
    Sweep,               // forced and pending cells
};

class Recalculator {
  public:
    virtual ~Recalculator() = default;
    virtual void notify(CellRec& cell, NotifyMode mode) = 0;
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
    void notify(CellRec& /*cell*/, NotifyMode /*mode*/) override {}
    void joinRangeList(CellRec& cell) override { cell.set(cellflag::kRangeDef, true); }
    void leaveRangeList(CellRec& cell) override { cell.set(cellflag::kRangeDef, false); }
};

}  // namespace qx
