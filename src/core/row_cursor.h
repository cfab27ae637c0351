#pragma once
// Walking the circular row lists. Every caller goes through these cursors, so the
// wrap-around rule (stop when the next column is not greater) lives in one place and
// a damaged list can never be walked forever.
#include <cstddef>
#include <iterator>

#include "core/cell_records.h"
#include "core/slot.h"

namespace qx {

// The cells of one row from its first to its last column. Fetch the next cell before
// unlinking the current one.
class RowCursor {
  public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = CellRec*;
    using difference_type = std::ptrdiff_t;
    using pointer = CellRec* const*;
    using reference = CellRec* const&;

    RowCursor() = default;
    // `last` is the row slot: the row's last cell, or null for an empty row.
    explicit RowCursor(CellRec* last) : m_last(last), m_cell(last ? last->next : nullptr) {}

    CellRec* get() const { return m_cell; }
    bool done() const { return m_cell == nullptr; }
    void advance() {
        if (m_cell == nullptr) return;
        CellRec* next = m_cell->next;
        if (m_cell == m_last || next == nullptr || next->col <= m_cell->col) {
            m_cell = nullptr;
            return;
        }
        m_cell = next;
    }

    reference operator*() const { return m_cell; }
    RowCursor& operator++() {
        advance();
        return *this;
    }
    RowCursor operator++(int) {
        RowCursor old = *this;
        advance();
        return old;
    }
    bool operator==(const RowCursor& other) const { return m_cell == other.m_cell; }

  private:
    CellRec* m_last = nullptr;
    CellRec* m_cell = nullptr;
};

// A range-for view of one row: `for (CellRec* c : RowCells(slot))`.
struct RowCells {
    CellRec* last = nullptr;
    RowCursor begin() const { return RowCursor(last); }
    RowCursor end() const { return RowCursor(); }
};

// Every cell of a level in (row, column) order, rows 1 up to the bottom cell's row.
class LevelCursor {
  public:
    LevelCursor() = default;
    explicit LevelCursor(const LevelRec& level) : m_level(&level) {
        m_lastRow = level.bottom ? level.bottom->row : 0;
        m_row = 0;
        nextRow();
    }

    CellRec* get() const { return m_cells.get(); }
    bool done() const { return m_cells.done(); }
    int row() const { return m_row; }
    void advance() {
        m_cells.advance();
        if (m_cells.done()) nextRow();
    }

  private:
    void nextRow() {
        while (m_row < m_lastRow && m_level->rows.size() > static_cast<std::size_t>(m_row) + 1) {
            ++m_row;
            if (slot(m_level->rows, m_row) != nullptr) {
                m_cells = RowCursor(slot(m_level->rows, m_row));
                return;
            }
        }
        m_cells = RowCursor();
    }

    const LevelRec* m_level = nullptr;
    int m_row = 0;
    int m_lastRow = 0;
    RowCursor m_cells;
};

}  // namespace qx
