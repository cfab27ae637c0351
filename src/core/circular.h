#pragma once
// The circular-reference test: does following a formula's references lead back to it?
#include <vector>

#include "core/cell_records.h"

namespace qx {

// The longest reference path searched; a longer one is taken as not circular.
constexpr int kMaxCircularPath = 65532;

// True when some chain of references starting at `cell` (a Formula or Variable Label) returns to a cell on
// the current path. Only the marks this search sets are cleared again.
bool isCircular(CellRec& cell);

// The answers of isCircular for every cell of a level, found in one pass over the level and its
// references (strongly connected components) instead of one search per cell.
class CircularCells {
  public:
    explicit CircularCells(LevelRec& level);
    bool circular(const CellRec& cell) const;
    std::size_t count() const { return m_circular.size(); }

  private:
    std::vector<const CellRec*> m_circular;  // sorted by address
};

}  // namespace qx
