#pragma once
// Shifting the cells of a selection one place left, right, up or down.
#include "core/cell_store.h"
#include "core/err_stat.h"

namespace qx {

namespace shift {
constexpr int kLeft = 1;
constexpr int kRight = 2;
constexpr int kUp = 3;
constexpr int kDown = 4;
}  // namespace shift

struct PlaceOffset {
    int rows = 0;
    int cols = 0;
};

// The step of a direction; zero for anything else.
PlaceOffset shiftOffset(int direction);

// Moves every cell of `area` one place in `direction`, visiting the far side first so a cell moves
// into the place its neighbour has just left. A cell whose neighbour place holds a real cell stays;
// a placeholder there takes the content and keeps its dependents. Reaching the edge of the grid ends
// the shift without an error. Returns how many cells moved; range records inside the area follow
// when any did.
int shiftCells(CellStore& store, int level, const CellArea& area, int direction, ErrStat& err);

}  // namespace qx
