#pragma once
// Saving the graph or view held by a cell as a DXF drawing.
#include <string_view>

#include "core/err_stat.h"

namespace qx {

class Session;

// Exports the view in the cell at (row, col) of `level` (0: the active level) to `path` once the level
// allows copying and exporting. A name without a known extension, or with another one than ".dxf", is
// refused with a box and writes nothing. False when the export failed (in `err`).
bool exportViewDxf(Session& session, int row, int col, int level, std::string_view path, ErrStat& err);

}  // namespace qx
