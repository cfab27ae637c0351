#include "objects/place.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string>

#include "core/cell_heap.h"
#include "core/cell_store.h"
#include "core/formula_flags.h"
#include "core/recalculator.h"
#include "core/style_word.h"
#include "formula/entry.h"
#include "formula/lexer.h"
#include "objects/capture_cells.h"
#include "objects/origins.h"

namespace qx {

using namespace origins::objects;

namespace {

constexpr int kMaxPrecisionCode = 15;

// The rectangle a placement covers, and where its data block starts inside it.
struct Footprint {
    int rows = 0;
    int cols = 0;
    int headerRows = 0;
    int headerCols = 0;
};

bool placeable(std::optional<ObjectKind> kind) {
    return kind && !nullFormCall(*kind).empty();
}

void deleteQuietly(CellStore& store, int row, int col, int level) {
    ErrStat ignored;
    if (CellRec* cell = store.findCell(row, col, level, ignored)) store.deleteCellNow(cell, ignored);
}

bool attachNames(CellStore& store, CellRec& cell, const CapturedNames& names, ErrStat& err) {
    LevelRec& level = *store.levelOf(cell);
    TableDescriptor* table = descriptorFrom(names, level, err);
    if (table == nullptr) return false;
    FormulaRec& formula = *cell.formula;
    if (formula.object == nullptr) {
        formula.object =
            static_cast<ObjectRec*>(store.allocate(cell.level, 1, sizeof(ObjectRec), heapkind::kObject, err));
        if (err.failed()) {
            ErrStat ignored;
            freeTableDescriptor(level, table, ignored);
            return false;
        }
    }
    ErrStat ignored;
    freeTableDescriptor(level, formula.object->table, ignored);
    formula.object->table = table;
    return true;
}

bool fillPlacedCell(PlaceTarget& t, const CaptureBuffer& buffer, CellRec& cell, ErrStat& err) {
    const int n = buffer.elementCount();
    t.store.setArraySize(&cell, n, err);
    if (!err.failed() && n > 0) t.store.setArrayElements(&cell, buffer.array.data() + 1, 0, n - 1, err);
    if (err.failed()) return false;
    if (buffer.kind == ObjectKind::Table && buffer.names) return attachNames(t.store, cell, *buffer.names, err);
    return true;
}

bool placeInCell(PlaceTarget& t, const CaptureBuffer& buffer, int row, int col, int level, ErrStat& err) {
    if (!t.store.worksheetLevel(level)) return err.fail(kPlaceInCell, 1, Msg::LevelOutOfRange);
    if (row < 1 || row > kMaxRow) return err.fail(kPlaceInCell, 2, Msg::RowOutOfRange);
    if (col < 1 || col > kMaxCol) return err.fail(kPlaceInCell, 3, Msg::ColumnOutOfRange);
    const CellRec* existing = t.store.findCell(row, col, level, err);
    if (classOf(existing) != CellClass::Missing || !placeable(buffer.kind)) {
        return err.fail(kPlaceInCell, 4, Msg::TargetNotEmpty);
    }
    EntryOptions options;
    options.notifyMode = NotifyMode::None;  // dependents are told once the object is complete
    const EntryResult made = t.entry.storeEntry(nullFormCall(*buffer.kind), row, col, level, options, err);
    CellRec* cell = made.cell;
    if (!err.failed() && (cell == nullptr || cell->formula == nullptr)) err.fail(kPlaceInCell, 5, Msg::TargetNotEmpty);
    if (!err.failed()) fillPlacedCell(t, buffer, *cell, err);
    if (err.failed()) {
        err.trace(kPlaceInCell);
        deleteQuietly(t.store, row, col, level);
        return false;
    }
    // The entry counted the points before the array was filled; count them again.
    if (buffer.kind == ObjectKind::Segment || buffer.kind == ObjectKind::Polygon) {
        t.recalculator.notify(*cell, NotifyMode::CellOnly);
    }
    t.recalculator.notify(*cell, NotifyMode::Edit);
    return true;
}

bool readsBackAs(const std::string& text, double value) {
    if (!readsAsNumber(text)) return false;
    const bool negative = text[0] == '-';
    const NumberScan scan = scanNumber(text.c_str(), negative ? 1 : 0);
    return (negative ? -scan.value : scan.value) == value;
}

// Text that reads back as exactly the value: the cell's precision decides only how it is shown, so
// placing never rounds a captured value for good.
std::string numberText(double value) {
    char buf[64];
    std::string text;
    for (const int digits : {0, 17}) {
        const auto r = digits == 0 ? std::to_chars(buf, buf + sizeof buf, value)
                                   : std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, digits);
        text.assign(buf, r.ptr);
        if (readsBackAs(text, value)) break;
    }
    return text;
}

bool writeNumber(PlaceTarget& t, double value, int precision, bool keepPrecision, int row, int col, int level,
                 ErrStat& err) {
    const EntryResult made = t.entry.storeEntry(numberText(value), row, col, level, EntryOptions{}, err);
    if (err.failed()) return false;
    if (keepPrecision && made.cell != nullptr && made.cell->formula != nullptr && precision + 1 <= kMaxPrecisionCode) {
        made.cell->formula->flags = formulaflag::withPrecisionCode(made.cell->formula->flags, precision + 1);
    }
    return true;
}

bool writeLabel(PlaceTarget& t, const std::string& text, int row, int col, int level, ErrStat& err) {
    if (text.empty()) return true;
    const EntryResult made = t.entry.storeEntry("'" + text, row, col, level, EntryOptions{}, err);
    if (err.failed()) return false;
    if (made.cell != nullptr) made.cell->style = style::withJustification(made.cell->style, style::kJustifyCenter);
    return true;
}

Footprint footprintOf(const CaptureBuffer& buffer) {
    Footprint f;
    if (buffer.kind == ObjectKind::Coordinate || buffer.kind == ObjectKind::Segment ||
        buffer.kind == ObjectKind::Polygon) {
        return Footprint{buffer.elementCount() / 3 + 1, 4, 1, 1};
    }
    // A stored shape may claim any size; past the sheet it fails the extent check all the same.
    f.rows = std::min(buffer.rows(), kMaxRow + 1);
    f.cols = std::min(buffer.columns(), kMaxCol + 1);
    if (buffer.kind == ObjectKind::Table && buffer.names) {
        const bool corner = !buffer.names->rowNames.empty() && !buffer.names->rowNames[0].empty();
        f.headerRows = buffer.names->anyColumnName() || corner ? 1 : 0;
        f.headerCols = buffer.names->anyRowName() || corner ? 1 : 0;
    }
    f.rows += f.headerRows;
    f.cols += f.headerCols;
    return f;
}

// Level, place and extent within the sheet, then every place of the rectangle empty.
bool checkRoom(const CellStore& store, const Footprint& f, int row, int col, int level, ErrStat& err) {
    if (!store.worksheetLevel(level)) return err.fail(kPlaceOnSheet, 1, Msg::LevelOutOfRange);
    if (row < 1 || row > kMaxRow) return err.fail(kPlaceOnSheet, 2, Msg::RowOutOfRange);
    if (col < 1 || col > kMaxCol) return err.fail(kPlaceOnSheet, 3, Msg::ColumnOutOfRange);
    if (f.rows < 1 || f.cols < 1) return err.fail(kPlaceOnSheet, 4, Msg::WillNotFit);
    if (static_cast<long>(row) + f.rows - 1 > kMaxRow) return err.fail(kPlaceOnSheet, 5, Msg::RowOutOfRange);
    if (static_cast<long>(col) + f.cols - 1 > kMaxCol) return err.fail(kPlaceOnSheet, 6, Msg::ColumnOutOfRange);
    for (int r = row; r < row + f.rows; ++r) {
        for (int c = col; c < col + f.cols; ++c) {
            int width = 0;
            const Occupancy o = store.occupancy(r, c, level, width, err);
            if (err.failed()) return err.trace(kPlaceOnSheet), false;
            if (o == Occupancy::Cell || o == Occupancy::Overlapped) return err.fail(kPlaceOnSheet, 7, Msg::WillNotFit);
        }
    }
    return true;
}

int levelPrecision(const CellStore& store, int level) {
    return store.levelPtr(level)->defaults.precision;
}

bool placeTable(PlaceTarget& t, const CaptureBuffer& b, const Footprint& f, int row, int col, int level, ErrStat& err) {
    const int top = row + f.headerRows;
    const int left = col + f.headerCols;
    if (b.names) {
        const CapturedNames& n = *b.names;
        const auto name = [](const std::vector<std::string>& v, int i) {
            return i >= 0 && i < static_cast<int>(v.size()) ? v[static_cast<std::size_t>(i)] : std::string();
        };
        if (f.headerRows && f.headerCols && !writeLabel(t, name(n.rowNames, 0), row, col, level, err)) return false;
        for (int j = 1; f.headerRows && j <= b.columns(); ++j) {
            if (!writeLabel(t, name(n.columnNames, j), row, left + j - 1, level, err)) return false;
        }
        for (int i = 1; f.headerCols && i <= b.rows(); ++i) {
            if (!writeLabel(t, name(n.rowNames, i), top + i - 1, col, level, err)) return false;
        }
    }
    const int fallback = levelPrecision(t.store, level);
    for (int i = 1; i <= b.rows(); ++i) {
        for (int j = 1; j <= b.columns(); ++j) {
            const int word = b.names && j < static_cast<int>(b.names->columnWords.size())
                                 ? b.names->columnWords[static_cast<std::size_t>(j)]
                                 : fallback;
            const int precision = b.names ? tableword::precision(static_cast<uint16_t>(word)) : fallback;
            if (!writeNumber(t, b.value(i, j), precision, true, top + i - 1, left + j - 1, level, err)) return false;
        }
    }
    return true;
}

bool placeMatrix(PlaceTarget& t, const CaptureBuffer& b, int row, int col, int level, ErrStat& err) {
    const int precision = levelPrecision(t.store, level);
    for (int i = 1; i <= b.rows(); ++i) {
        for (int j = 1; j <= b.columns(); ++j) {
            if (!writeNumber(t, b.value(i, j), precision, false, row + i - 1, col + j - 1, level, err)) return false;
        }
    }
    return true;
}

bool placePoints(PlaceTarget& t, const CaptureBuffer& b, int row, int col, int level, ErrStat& err) {
    for (int axis = 0; axis < 3; ++axis) {
        char header[8];
        std::snprintf(header, sizeof header, "(%c)", "xyz"[axis]);
        if (!writeLabel(t, header, row, col + 1 + axis, level, err)) return false;
    }
    const int precision = levelPrecision(t.store, level);
    const int points = b.elementCount() / 3;
    for (int p = 0; p < points; ++p) {
        if (!writeLabel(t, std::to_string(p + 1), row + 1 + p, col, level, err)) return false;
        for (int axis = 0; axis < 3; ++axis) {
            const double v = b.array[static_cast<std::size_t>(3 * p + axis + 1)];
            if (!writeNumber(t, v, precision, false, row + 1 + p, col + 1 + axis, level, err)) return false;
        }
    }
    return true;
}

bool placeOnSheet(PlaceTarget& t, const CaptureBuffer& b, int row, int col, int level, ErrStat& err) {
    if (!placeable(b.kind)) return err.fail(kPlaceOnSheet, 8, Msg::TargetNotEmpty);
    const Footprint f = footprintOf(b);
    if (!checkRoom(t.store, f, row, col, level, err)) return false;
    switch (*b.kind) {
        case ObjectKind::Table:
            if (!placeTable(t, b, f, row, col, level, err))
                return err.trace(kPlaceTable), err.trace(kPlaceOnSheet), false;
            return true;
        case ObjectKind::Matrix:
            if (!placeMatrix(t, b, row, col, level, err))
                return err.trace(kPlaceMatrix), err.trace(kPlaceOnSheet), false;
            break;
        default:
            if (!placePoints(t, b, row, col, level, err))
                return err.trace(kPlacePoints), err.trace(kPlaceOnSheet), false;
            break;
    }
    t.store.scratch().repaintPending = true;
    return true;
}

}  // namespace

std::string_view nullFormCall(ObjectKind kind) {
    switch (kind) {
        case ObjectKind::Matrix:
            return "@Matrix()";
        case ObjectKind::Coordinate:
            return "@XYZ()";
        case ObjectKind::Segment:
            return "@Segment()";
        case ObjectKind::Polygon:
            return "@Polygon()";
        case ObjectKind::Table:
            return "@Table()";
        default:
            return {};
    }
}

bool placeInEmptyCell(PlaceTarget& target, const CaptureBuffer& buffer, int row, int col, int level, ErrStat& err) {
    err.enter();
    return memoryGuarded(err, kPlaceInCell, Msg::OutOfMemory,
                         [&] { return placeInCell(target, buffer, row, col, level, err); });
}

bool placeOnWorksheet(PlaceTarget& target, const CaptureBuffer& buffer, int row, int col, int level, ErrStat& err) {
    err.enter();
    return memoryGuarded(err, kPlaceOnSheet, Msg::OutOfMemory,
                         [&] { return placeOnSheet(target, buffer, row, col, level, err); });
}

}  // namespace qx
