#pragma once
// The one application-wide buffer through which objects are captured from cells and placed back.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/cell_records.h"
#include "core/err_stat.h"
#include "core/object_kind.h"
#include "core/table_descriptor.h"

namespace qx {

class CellStore;

// A table's names and column words held by value, so the buffer never points into a level heap
// that clearing the level would release.
struct CapturedNames {
    std::string title;
    std::vector<std::string> columnNames;  // entry 0 unused
    std::vector<uint16_t> columnWords;     // entry 0 holds the column count
    std::vector<std::string> rowNames;     // entry 0 is the corner text
    int32_t spare = 0;

    int columnCount() const { return static_cast<int>(columnNames.size()) - 1; }
    int rowCount() const { return static_cast<int>(rowNames.size()) - 1; }
    bool anyColumnName() const;
    bool anyRowName() const;
};

struct CaptureBuffer {
    std::optional<ObjectKind> kind;  // none: nothing captured
    int ownerLevel = 0;              // the level the names were captured on
    std::vector<double> array;       // laid out as an Array Area: element 0 holds the count N
    std::optional<CapturedNames> names;

    void clear();
    bool empty() const { return !kind.has_value(); }
    int elementCount() const;  // N
    // Tables and matrices: rows, columns, and the value at (row, column) from 1; 0 beyond N.
    int rows() const;
    int columns() const;
    double value(int row, int column) const;
};

// Names from a descriptor, and a descriptor in `level`'s heap from captured names.
CapturedNames namesOf(const TableDescriptor& table);
TableDescriptor* descriptorFrom(const CapturedNames& names, LevelRec& level, ErrStat& err);

// The highlighted cell's object: a Formula holding a matrix, point list or table. Returns false and
// leaves the buffer empty on failure (85 no object, 89 another kind).
bool captureCellObject(const CellRec* cell, CaptureBuffer& buffer, ErrStat& err);

// A table from a selection; returns the layout 1..8 (0 on failure, with the buffer empty).
int captureTable(const CellStore& store, int level, const CellArea& area, CaptureBuffer& buffer, ErrStat& err);

// A matrix from a selection of formula cells (83 when another cell type is in it).
bool captureMatrix(const CellStore& store, int level, const CellArea& area, CaptureBuffer& buffer, ErrStat& err);

// Points from a selection: `kind` is 4 (coordinates), 5 (segment) or 6 (polygon).
bool capturePoints(const CellStore& store, int level, const CellArea& area, ObjectKind kind, CaptureBuffer& buffer,
                   ErrStat& err);

// The address checks every selection operation makes first, in order: codes 8, 6, 7, 6, 7, 7.
bool checkSelection(const CellStore& store, int level, const CellArea& area, Origin origin, ErrStat& err);

}  // namespace qx
