#include "edit/layout_change.h"

#include <algorithm>

#include "core/err_report.h"
#include "edit/cell_shift.h"
#include "edit/origins.h"
#include "edit/row_column.h"

namespace qx {

using namespace layout;
using namespace origins::edit;

namespace {

bool validRequest(const LayoutRequest& request) {
    if (request.operation == kShift) {
        const PlaceOffset step = shiftOffset(request.direction);
        return request.scope == kScopeSelection && (step.rows != 0 || step.cols != 0);
    }
    return (request.operation == kInsert || request.operation == kRemove) &&
           (request.scope == kScopeRows || request.scope == kScopeColumns);
}

bool validPlaces(const CellStore& store, const LayoutWindow& window, const LayoutSelection& selection, ErrStat& err) {
    const CellArea& a = selection.area;
    if (!store.worksheetLevel(selection.level)) return err.fail(kChangeLayout, 5, Msg::LevelOutOfRange);
    const auto rowOk = [](int row) { return row >= 1 && row <= kMaxRow; };
    const auto colOk = [](int col) { return col >= 1 && col <= kMaxCol; };
    if (!rowOk(window.row) || !rowOk(a.firstRow) || !rowOk(a.lastRow) || a.firstRow > a.lastRow) {
        return err.fail(kChangeLayout, 6, Msg::RowOutOfRange);
    }
    if (!colOk(window.col) || !colOk(a.firstCol) || !colOk(a.lastCol) || a.firstCol > a.lastCol) {
        return err.fail(kChangeLayout, 7, Msg::ColumnOutOfRange);
    }
    return true;
}

int clampTo(int value, int limit) {
    return std::clamp(value, 1, limit);
}

bool shiftSelection(CellStore& store, LayoutWindow& window, LayoutSelection& selection, int direction, ErrStat& err) {
    const int moved = shiftCells(store, selection.level, selection.area, direction, err);
    if (moved == 0) return false;
    const PlaceOffset step = shiftOffset(direction);
    CellArea& a = selection.area;
    a = CellArea{clampTo(a.firstRow + step.rows, kMaxRow), clampTo(a.firstCol + step.cols, kMaxCol),
                 clampTo(a.lastRow + step.rows, kMaxRow), clampTo(a.lastCol + step.cols, kMaxCol)};
    window.row = clampTo(window.row + step.rows, kMaxRow);
    window.col = clampTo(window.col + step.cols, kMaxCol);
    return true;
}

bool insertOrRemove(LayoutServices& services, const LayoutWindow& window, const LayoutSelection& selection,
                    const LayoutRequest& request, ErrStat& err) {
    const Axis axis = request.scope == kScopeRows ? Axis::Rows : Axis::Columns;
    const CellArea& a = selection.area;
    const int at = axis == Axis::Rows ? window.row : window.col;
    const int count = axis == Axis::Rows ? a.lastRow - a.firstRow + 1 : a.lastCol - a.firstCol + 1;
    if (request.operation == kInsert) return insertLines(services.store, selection.level, axis, at, count, err) > 0;
    // Columns are always asked about; rows when any of those to go holds cells, not only the first, since
    // Undo delete keeps no more than the last two of them.
    bool ask = axis == Axis::Columns;
    for (int row = at; !ask && row < at + count && row <= kMaxRow; ++row) {
        ask = lineHoldsCells(services.store, selection.level, axis, row);
    }
    if (ask && !confirm(services.platform, kDataMayBeLost)) return false;
    return removeLines(services.store, selection.level, axis, at, count, err) > 0;
}

}  // namespace

bool changeLayout(LayoutServices& services, LayoutWindow& window, LayoutSelection& selection,
                  const LayoutRequest& request, ErrStat& err) {
    err.enter();
    if (!validRequest(request)) return err.fail(kChangeLayout, 1, Msg::ParameterOutOfRange);
    if (!validPlaces(services.store, window, selection, err)) return false;
    if (services.permitted && !services.permitted(kLayoutAction, selection.level)) return false;
    const bool changed = request.operation == kShift
                             ? shiftSelection(services.store, window, selection, request.direction, err)
                             : insertOrRemove(services, window, selection, request, err);
    err.trace(kChangeLayout);
    if (!changed) return false;
    if (services.moved) services.moved(selection.level);
    services.platform.changed();
    if (request.repaint) services.store.scratch().repaintPending = true;
    return true;
}

}  // namespace qx
