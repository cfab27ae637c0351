#pragma once
// What the cell store asks of the layers above it. Those layers install their own
// implementation; the defaults here keep the store usable (and testable) on its own.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/cell_records.h"
#include "core/err_stat.h"
#include "core/recalculator.h"

namespace qx {

class CellStore;

// The attributes a place has before a cell is made there.
struct EffectiveAttributes {
    uint32_t style = 0;
    uint16_t cellFlags = 0;
    uint32_t formulaFlags = 0;
    int32_t precision = 2;
};

class CellStoreHooks {
  public:
    virtual ~CellStoreHooks() = default;

    // Puts readable text into a cell that already has its type (and, for Formulas and
    // Variable Labels, its FormulaRec): the formula layer compiles it and resolves its
    // references. The default only stores the text.
    virtual void enterText(CellStore& store, CellRec& cell, std::string_view text, ErrStat& err);

    // The readable formula text of a Formula (its text) or Variable Label (its template),
    // with relative addresses shifted by the offsets. The default returns the stored text.
    virtual std::string formulaText(const CellStore& store, const CellRec& cell, int rowOffset, int colOffset,
                                    int levelOffset);

    // Recalculation's notification entry; the default does nothing.
    virtual void notify(CellStore& store, CellRec& cell, NotifyMode mode);

    // The range-operation list. The defaults only keep the "Range Def" flag.
    virtual void leaveRangeList(CellStore& store, CellRec& cell);
    virtual void joinRangeList(CellStore& store, CellRec& cell);
    // A level's heap has gone with every cell in it; nothing may keep pointers into it.
    virtual void levelCleared(CellStore& store, int level);
    // A cell was given "Force Recalc", recalc-pending or the error mark outside recalculation.
    virtual void recalcMarked(CellStore& store, CellRec& cell);

    // Level defaults, then range records, then the cell's own words. The default skips range records.
    virtual EffectiveAttributes effectiveAttributes(const CellStore& store, const CellRec* cell, int row, int col,
                                                    int level);
};

}  // namespace qx
