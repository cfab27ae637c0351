#include "objects/capture_buffer.h"

#include <algorithm>

#include "core/cell_store.h"
#include "core/formula_flags.h"
#include "core/numeric.h"
#include "objects/capture_cells.h"
#include "objects/origins.h"

namespace qx {

using namespace origins::objects;

namespace {

bool anyName(const std::vector<std::string>& names, std::size_t from) {
    return std::any_of(names.begin() + static_cast<std::ptrdiff_t>(std::min(from, names.size())), names.end(),
                       [](const std::string& s) { return !s.empty(); });
}

bool capturable(ObjectKind kind) {
    return kind == ObjectKind::Matrix || kind == ObjectKind::Coordinate || kind == ObjectKind::Segment ||
           kind == ObjectKind::Polygon || kind == ObjectKind::Table;
}

}  // namespace

const CellRec* cellAt(const CellStore& store, int row, int col, int level) {
    ErrStat ignored;
    return store.findCell(row, col, level, ignored);
}

CellClass classOf(const CellRec* cell) {
    if (cell == nullptr || cell->isPlaceholder()) return CellClass::Missing;
    return cell->isFormula() ? CellClass::Formula : CellClass::Label;
}

double dataValue(const CellRec* cell) {
    if (classOf(cell) != CellClass::Formula || cell->formula == nullptr || cell->formula->errorMark()) return 0.0;
    return cell->formula->value;
}

std::optional<ObjectKind> objectKindOf(const CellRec* cell) {
    if (classOf(cell) != CellClass::Formula || cell->formula == nullptr) return std::nullopt;
    return formulaflag::objectKind(cell->formula->flags);
}

bool CapturedNames::anyColumnName() const {
    return anyName(columnNames, 1);
}

bool CapturedNames::anyRowName() const {
    return anyName(rowNames, 1);
}

void CaptureBuffer::clear() {
    kind.reset();
    ownerLevel = 0;
    array.clear();
    names.reset();
}

int CaptureBuffer::elementCount() const {
    return array.empty() ? 0 : toInt32(array[0]);
}

int CaptureBuffer::rows() const {
    return elementCount() >= 2 ? toInt32(array[1]) : 0;
}

int CaptureBuffer::columns() const {
    return elementCount() >= 2 ? toInt32(array[2]) : 0;
}

double CaptureBuffer::value(int row, int column) const {
    if (row < 1 || column < 1 || column > columns()) return 0.0;
    const long index = static_cast<long>(columns()) * (row - 1) + column + 2;
    if (index > elementCount() || index >= static_cast<long>(array.size())) return 0.0;
    return array[static_cast<std::size_t>(index)];
}

CapturedNames namesOf(const TableDescriptor& table) {
    CapturedNames n;
    n.title = std::string(tableTitle(table));
    n.spare = table.spare;
    for (int c = 0; c <= table.columnCount; ++c) {
        n.columnNames.emplace_back(c == 0 ? std::string_view() : columnName(table, c));
        n.columnWords.push_back(columnWord(table, c));
    }
    for (int r = 0; r <= table.rowCount; ++r) n.rowNames.emplace_back(rowName(table, r));
    return n;
}

TableDescriptor* descriptorFrom(const CapturedNames& names, LevelRec& level, ErrStat& err) {
    err.enter();
    TableDescriptor* table = createTableDescriptor(level, names.columnCount(), names.rowCount(), 0, err);
    if (err.failed()) return nullptr;
    table->spare = names.spare;
    bool ok = setTableTitle(level, *table, names.title, err);
    for (int c = 1; ok && c <= names.columnCount(); ++c) {
        ok = setColumnName(level, *table, c, names.columnNames[static_cast<std::size_t>(c)], err) &&
             setColumnWord(*table, c, names.columnWords[static_cast<std::size_t>(c)]);
    }
    for (int r = 0; ok && r <= names.rowCount(); ++r) {
        ok = setRowName(level, *table, r, names.rowNames[static_cast<std::size_t>(r)], err);
    }
    if (ok) return table;
    ErrStat ignored;
    freeTableDescriptor(level, table, ignored);
    if (!err.failed()) err.fail(kPlaceInCell, 1, Msg::OutOfMemory);
    return nullptr;
}

bool checkSelection(const CellStore& store, int level, const CellArea& area, Origin origin, ErrStat& err) {
    if (!store.worksheetLevel(level)) return err.fail(origin, 1, Msg::LevelOutOfRange);
    if (area.firstRow < 1 || area.firstRow > kMaxRow) return err.fail(origin, 2, Msg::RowOutOfRange);
    if (area.firstCol < 1 || area.firstCol > kMaxCol) return err.fail(origin, 3, Msg::ColumnOutOfRange);
    if (area.lastRow < 1 || area.lastRow > kMaxRow) return err.fail(origin, 4, Msg::RowOutOfRange);
    if (area.lastCol < 1 || area.lastCol > kMaxCol) return err.fail(origin, 5, Msg::ColumnOutOfRange);
    if (area.lastCol < area.firstCol || area.lastRow < area.firstRow) return err.fail(origin, 6, Msg::ColumnOutOfRange);
    return true;
}

bool captureCellObject(const CellRec* cell, CaptureBuffer& buffer, ErrStat& err) {
    err.enter();
    buffer.clear();
    if (classOf(cell) != CellClass::Formula || cell->formula == nullptr) return err.fail(kCellObject, 1, Msg::NoObject);
    const FormulaRec& formula = *cell->formula;
    const int count = formula.array == nullptr ? 0 : toInt32(formula.array[0]);
    if (count < 1 || count > kMaxArrayElements) return err.fail(kCellObject, 2, Msg::NoObject);
    const ObjectKind kind = formulaflag::objectKind(formula.flags);
    if (!capturable(kind)) return err.fail(kCellObject, 3, Msg::NotNullForm);
    buffer.array.assign(formula.array, formula.array + count + 1);
    buffer.kind = kind;
    buffer.ownerLevel = cell->level;
    if (kind == ObjectKind::Table && formula.object != nullptr && formula.object->table != nullptr) {
        buffer.names = namesOf(*formula.object->table);
    }
    return true;
}

}  // namespace qx
