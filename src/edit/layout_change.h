#pragma once
// The one entry point of the Row, Column and Shift commands.
#include <functional>

#include "core/cell_store.h"
#include "core/err_stat.h"
#include "platform/platform.h"

namespace qx {

namespace layout {
constexpr int kShift = 1;
constexpr int kInsert = 4;
constexpr int kRemove = 5;

constexpr int kScopeRows = 1;
constexpr int kScopeColumns = 2;
constexpr int kScopeSelection = 3;

// The protection action asked before every layout change.
constexpr int kLayoutAction = 4;
inline constexpr const char* kDataMayBeLost = "Data may be lost!";
}  // namespace layout

// The worksheet window's active cell; a shift moves it.
struct LayoutWindow {
    int row = 1;
    int col = 1;
    int level = 1;
};

struct LayoutSelection {
    int level = 1;
    CellArea area{1, 1, 1, 1};
};

struct LayoutRequest {
    int operation = layout::kInsert;
    int scope = layout::kScopeRows;
    int direction = 0;  // shifts: 1 left, 2 right, 3 up, 4 down
    bool repaint = true;
};

// What a layout change needs from the layers above editing.
struct LayoutServices {
    CellStore& store;
    Platform& platform;
    // The protection check (it tells the user itself when it refuses); unset allows everything.
    std::function<bool(int action, int level)> permitted;
    // Called once cells have moved: Range Operations name places, not cells, so they have to be computed
    // again over what now stands there.
    std::function<void(int level)> moved;
};

// Inserts or removes the rows or columns of the selection at the active cell, or shifts the selection
// (which, with the active cell, moves along). A refused protection check or a declined question
// ends it with nothing changed and no failure. Returns true when the level changed, which can be
// together with a failure when a later repetition stopped.
bool changeLayout(LayoutServices& services, LayoutWindow& window, LayoutSelection& selection,
                  const LayoutRequest& request, ErrStat& err);

}  // namespace qx
