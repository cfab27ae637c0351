#pragma once
// The formula fixture with a capture buffer, and short ways to build and read objects.
#include <string>
#include <vector>

#include "core/formula_flags.h"
#include "engineering/engineering_families.h"
#include "objects/capture_buffer.h"
#include "objects/place.h"
#include "unit/core/array_area_reader.h"
#include "unit/functions/function_fixture.h"

namespace qx::test {

class ObjectFixture : public FunctionFixture {
  public:
    // The families a session installs, so placed points, segments and polygons are read back.
    ObjectFixture() { installEngineeringFamilies(registry); }

    // A Formula at the place holding `values` (count first) as an object of `kind`.
    CellRec* object(int row, int col, int kind, const std::vector<double>& values) {
        enter(row, col, "1");
        CellRec* c = cell(row, col);
        ErrStat err;
        store.setArraySize(c, static_cast<int>(values.size()) - 1, err);
        store.setArrayElements(c, values.data() + 1, 0, static_cast<int>(values.size()) - 2, err);
        c->formula->flags = formulaflag::withObjectKind(c->formula->flags, static_cast<ObjectKind>(kind));
        return c;
    }

    std::vector<double> arrayOf(int row, int col) { return test::arrayOf(cell(row, col)); }

    int cellCount(int level = 1) {
        int n = 0;
        for (int r = 1; r <= 200; ++r) {
            for (const CellRec* c : store.rowCells(r, level)) n += c->isPlaceholder() ? 0 : 1;
        }
        return n;
    }

    PlaceTarget target() { return PlaceTarget{store, engine.entry(), engine.recalculator()}; }

    // "corner|col1,col2|row1,row2|precisions" or "" without names.
    static std::string namesText(const CaptureBuffer& b) {
        if (!b.names) return "";
        const CapturedNames& n = *b.names;
        std::string out = n.rowNames.empty() ? "" : n.rowNames[0];
        out += "|";
        for (std::size_t i = 1; i < n.columnNames.size(); ++i) out += (i > 1 ? "," : "") + n.columnNames[i];
        out += "|";
        for (std::size_t i = 1; i < n.rowNames.size(); ++i) out += (i > 1 ? "," : "") + n.rowNames[i];
        out += "|";
        for (std::size_t i = 1; i < n.columnWords.size(); ++i) {
            out += std::to_string(tableword::precision(n.columnWords[i]));
        }
        return out;
    }

    CaptureBuffer buffer;
};

}  // namespace qx::test
