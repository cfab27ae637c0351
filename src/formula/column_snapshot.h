#pragma once
// Copies of a column's Formula cells as a pass reads them, rows and values side by side, so the common
// passes read contiguous numbers instead of walking row lists. A copy is dated by the level's change
// count, the column's write count and the level's clears: when any of them moved, it is made again.
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "core/cell_records.h"

namespace qx {

class CellStore;

// The Formula cells of one column within a run of rows, in row order.
struct ColumnRun {
    const uint16_t* rows = nullptr;
    const double* values = nullptr;  // the value, 0 where the last evaluation failed
    // Running sums of the column's values up to each cell (count + 1 of them), or null. Given only when every
    // value of the column is a whole number and their magnitudes add up to at most 2^52: then every sum of
    // them, in any order, is exact, and a difference of two running sums is bit for bit the sum a pass adds.
    const double* exactSums = nullptr;
    std::size_t count = 0;
    int col = 0;
    int level = 0;
};

class ColumnSnapshots {
  public:
    explicit ColumnSnapshots(const CellStore& store) : m_store(store) {}

    // Rows firstRow..lastRow of column `col` of `level` from its copy; false where walking the rows is
    // the better choice (the copy would not pay for itself yet) or the place is none a pass can read.
    bool run(int level, int col, int firstRow, int lastRow, ColumnRun& out);
    void clear() { m_columns.clear(); }

  private:
    struct Stamp {
        const LevelRec* level = nullptr;
        uint64_t changes = 0;
        uint64_t clears = 0;
        uint32_t writes = 0;
        bool operator==(const Stamp&) const = default;
    };
    struct Column {
        Stamp stamp;
        bool built = false;
        std::size_t walked = 0;  // rows the passes walked since the stamp moved
        std::vector<uint16_t> rows;
        std::vector<double> values;
        std::vector<double> exactSums;  // empty when the values do not allow them
    };

    static Stamp stampOf(const LevelRec& level, int col);
    static void build(const LevelRec& level, int col, Column& column);
    static void addExactSums(Column& column);

    const CellStore& m_store;
    std::unordered_map<uint32_t, Column> m_columns;
};

}  // namespace qx
