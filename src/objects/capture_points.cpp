// Capturing a matrix or a list of points from a selection.
#include "core/cell_store.h"
#include "core/numeric.h"
#include "objects/capture_buffer.h"
#include "objects/capture_cells.h"
#include "objects/origins.h"

namespace qx {

using namespace origins::objects;

namespace {

using Msg::CannotInterpret;

int minimumRows(ObjectKind kind) {
    if (kind == ObjectKind::Polygon) return 4;
    return kind == ObjectKind::Segment ? 2 : 1;
}

bool captureMatrixIn(const CellStore& store, int level, const CellArea& a, CaptureBuffer& buffer, ErrStat& err) {
    if (!checkSelection(store, level, a, kMatrixSelection, err)) return false;
    const int rows = a.lastRow - a.firstRow + 1;
    const int cols = a.lastCol - a.firstCol + 1;
    const long count = static_cast<long>(rows) * cols + 2;
    if (count > kMaxArrayElements) return err.fail(kMatrixSelection, 7, Msg::ElementOutOfRange);
    buffer.array = {static_cast<double>(count), static_cast<double>(rows), static_cast<double>(cols)};
    for (int r = a.firstRow; r <= a.lastRow; ++r) {
        for (int c = a.firstCol; c <= a.lastCol; ++c) {
            const CellRec* cell = cellAt(store, r, c, level);
            if (classOf(cell) == CellClass::Label) return err.fail(kMatrixSelection, 8, Msg::IllegalCellType);
            buffer.array.push_back(dataValue(cell));
        }
    }
    buffer.kind = ObjectKind::Matrix;
    buffer.ownerLevel = level;
    return true;
}

// Two or three columns: one point per row, z = 0 without a third column.
bool pointsFromColumns(const CellStore& store, int level, const CellArea& a, ObjectKind kind, std::vector<double>& xyz,
                       ErrStat& err) {
    if (a.lastRow - a.firstRow + 1 < minimumRows(kind)) return err.fail(kPointSelection, 8, Msg::CannotInterpret);
    for (int r = a.firstRow; r <= a.lastRow; ++r) {
        for (int c = a.firstCol; c <= a.firstCol + 2; ++c) {
            const CellRec* cell = c <= a.lastCol ? cellAt(store, r, c, level) : nullptr;
            if (c <= a.lastCol && classOf(cell) != CellClass::Formula) {
                return err.fail(kPointSelection, 9, Msg::CannotInterpret);
            }
            xyz.push_back(dataValue(cell));
        }
    }
    return true;
}

// One column of point objects joined in row order; a polygon gives all its points but the closing one.
bool pointsFromObjects(const CellStore& store, int level, const CellArea& a, std::vector<double>& xyz, ErrStat& err) {
    for (int r = a.firstRow; r <= a.lastRow; ++r) {
        const CellRec* cell = cellAt(store, r, a.firstCol, level);
        const std::optional<ObjectKind> kind = objectKindOf(cell);
        const double* area = kind ? cell->formula->array : nullptr;
        const int n = area == nullptr ? 0 : toInt32(area[0]);
        const bool points =
            kind == ObjectKind::Coordinate ? n == 3 : (kind == ObjectKind::Segment || kind == ObjectKind::Polygon);
        if (!points || n < 3 || n % 3 != 0 || n > kMaxArrayElements || cell->formula->errorMark()) {
            return err.fail(kPointSelection, 10, Msg::CannotInterpret);
        }
        const int taken = kind == ObjectKind::Polygon && n > 3 ? n - 3 : n;
        xyz.insert(xyz.end(), cell->formula->array + 1, cell->formula->array + 1 + taken);
        if (xyz.size() > static_cast<std::size_t>(kMaxArrayElements)) {
            return err.fail(kPointSelection, 11, Msg::ElementOutOfRange);
        }
    }
    return true;
}

bool capturePointsIn(const CellStore& store, int level, const CellArea& a, ObjectKind kind, CaptureBuffer& buffer,
                     ErrStat& err) {
    if (!checkSelection(store, level, a, kPointSelection, err)) return false;
    const int cols = a.lastCol - a.firstCol + 1;
    const int rows = a.lastRow - a.firstRow + 1;
    if (cols > 3) return err.fail(kPointSelection, 7, Msg::CannotInterpret);
    if (kind == ObjectKind::Polygon && cols == 1 && rows > 1 && rows < 4) {
        return err.fail(kPointSelection, 12, Msg::CannotInterpret);
    }
    if (static_cast<long>(rows) * 3 > kMaxArrayElements) return err.fail(kPointSelection, 13, Msg::ElementOutOfRange);
    std::vector<double> xyz;
    const bool read =
        cols == 1 ? pointsFromObjects(store, level, a, xyz, err) : pointsFromColumns(store, level, a, kind, xyz, err);
    if (!read) return false;
    const std::size_t points = xyz.size() / 3;
    if (points == 0 || (kind == ObjectKind::Polygon && points < 4)) {
        return err.fail(kPointSelection, 14, Msg::CannotInterpret);
    }
    buffer.array.assign(1, static_cast<double>(xyz.size()));
    buffer.array.insert(buffer.array.end(), xyz.begin(), xyz.end());
    if (kind == ObjectKind::Polygon) {
        buffer.kind = ObjectKind::Polygon;
    } else {
        buffer.kind = points == 1 ? ObjectKind::Coordinate : ObjectKind::Segment;
    }
    buffer.ownerLevel = level;
    return true;
}

}  // namespace

bool captureMatrix(const CellStore& store, int level, const CellArea& area, CaptureBuffer& buffer, ErrStat& err) {
    err.enter();
    buffer.clear();
    const bool ok = memoryGuarded(err, kMatrixSelection, Msg::OutOfMemory,
                                  [&] { return captureMatrixIn(store, level, area, buffer, err); });
    if (!ok) buffer.clear();
    return ok;
}

bool capturePoints(const CellStore& store, int level, const CellArea& area, ObjectKind kind, CaptureBuffer& buffer,
                   ErrStat& err) {
    err.enter();
    buffer.clear();
    const bool ok = memoryGuarded(err, kPointSelection, Msg::OutOfMemory,
                                  [&] { return capturePointsIn(store, level, area, kind, buffer, err); });
    if (!ok) buffer.clear();
    return ok;
}

}  // namespace qx
