#pragma once
// Writing one level as its record stream: the level settings, range decorations, row and column
// sizes, placed views and every cell, each formula expanded back to readable addresses.
#include <string>

#include "core/cell_store.h"
#include "core/err_stat.h"
#include "files/block_stream.h"

namespace qx {

class FormulaEngine;

// Array values as stored: 15 digits after the point in exponential form, "0" for zero, and the
// "1.#INF" forms at and beyond +/-1.7e308 (NaN as the negative one).
std::string storedNumber(double value);

// The records of one level from its "SV" header to its "Xe" end. The level's fonts are compacted first.
bool writeLevelRecords(CellStore& store, const FormulaEngine& formulas, int level, BlockStream& out, ErrStat& err);

// A whole level file: header, records and fill. A level without cells is refused (code 43).
bool writeLevelFile(CellStore& store, const FormulaEngine& formulas, int level, BlockStream& out, int bodyKey,
                    ErrStat& err);

}  // namespace qx
