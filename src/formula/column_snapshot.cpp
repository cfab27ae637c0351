#include "formula/column_snapshot.h"

#include <algorithm>
#include <cmath>

#include "core/cell_store.h"
#include "core/row_cursor.h"

namespace qx {

namespace {

// Columns copied at once; beyond this the copies are dropped and made again as passes ask.
constexpr std::size_t kMaxColumns = 32;

}  // namespace

ColumnSnapshots::Stamp ColumnSnapshots::stampOf(const LevelRec& level, int col) {
    return Stamp{&level, level.changed.settings(), level.clears, level.columnWrites[static_cast<std::size_t>(col)]};
}

void ColumnSnapshots::build(const LevelRec& level, int col, Column& column) {
    column.rows.clear();
    column.values.clear();
    const int lastRow = std::min<int>(level.bottom ? level.bottom->row : 0, static_cast<int>(level.rows.size()) - 1);
    for (int row = 1; row <= lastRow; ++row) {
        for (const CellRec* c : RowCells{level.rows[static_cast<std::size_t>(row)]}) {
            if (c->col < col) continue;
            if (c->col == col && c->isFormula() && c->formula != nullptr) {
                column.rows.push_back(static_cast<uint16_t>(row));
                column.values.push_back(c->formula->errorMark() ? 0.0 : c->formula->value);
            }
            break;
        }
    }
    addExactSums(column);
    column.built = true;
}

void ColumnSnapshots::addExactSums(Column& column) {
    // 2^52: the added magnitudes are exact below 2^53, so the test against the limit is exact too.
    constexpr double kExactLimit = 4503599627370496.0;
    column.exactSums.clear();
    double magnitude = 0.0;
    for (double v : column.values) {
        if (!(std::fabs(v) <= kExactLimit) || v != std::trunc(v)) return;
        magnitude += std::fabs(v);
        if (magnitude > kExactLimit) return;
    }
    column.exactSums.reserve(column.values.size() + 1);
    double sum = 0.0;
    column.exactSums.push_back(sum);
    for (double v : column.values) column.exactSums.push_back(sum += v);
}

bool ColumnSnapshots::run(int level, int col, int firstRow, int lastRow, ColumnRun& out) {
    if (col < 1 || col > kMaxCol || !m_store.worksheetLevel(level)) return false;
    const LevelRec* rec = m_store.levelPtr(level);
    if (rec == nullptr || rec->bottom == nullptr) return false;
    firstRow = std::max(firstRow, 1);
    lastRow = std::min<int>(lastRow, rec->bottom->row);
    if (lastRow < firstRow) return false;

    const auto key = static_cast<uint32_t>(level) << 8 | static_cast<uint32_t>(col);
    auto it = m_columns.find(key);
    if (it == m_columns.end()) {
        if (m_columns.size() >= kMaxColumns) m_columns.clear();
        it = m_columns.emplace(key, Column{}).first;
    }
    Column& column = it->second;
    const Stamp now = stampOf(*rec, col);
    if (column.stamp != now) {
        column.stamp = now;
        column.built = false;
        column.walked = 0;
    }
    if (!column.built) {
        // A copy costs one walk of the column: made once the walks since the last change would have paid
        // for it, so a column rewritten between every pass is walked as before. Checked builds copy at
        // once, so every test compares the copies with the rows.
        const auto span = static_cast<std::size_t>(lastRow - firstRow + 1);
        column.walked += span;
#if !defined(QX_ASSERTIONS) && defined(NDEBUG)
        if (column.walked < static_cast<std::size_t>(rec->bottom->row) / 2) return false;
#endif
        build(*rec, col, column);
    }
    const auto begin = std::lower_bound(column.rows.begin(), column.rows.end(), firstRow);
    const auto end = std::upper_bound(begin, column.rows.end(), lastRow);
    const auto first = static_cast<std::size_t>(begin - column.rows.begin());
    out.rows = column.rows.data() + first;
    out.values = column.values.data() + first;
    out.exactSums = column.exactSums.empty() ? nullptr : column.exactSums.data() + first;
    out.count = static_cast<std::size_t>(end - begin);
    out.col = col;
    out.level = level;
    return true;
}

}  // namespace qx
