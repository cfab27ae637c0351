#pragma once
// The function fixture with the engineering families installed, and readers of the object cells the
// coordinate geometry and road layout functions make.
#include <string>
#include <vector>

#include "display/cell_display.h"
#include "engineering/engineering_families.h"
#include "unit/core/array_area_reader.h"
#include "unit/functions/function_fixture.h"

namespace qx::test {

// Which message table a failure's first origin reports through.
enum class Table { None, General, Math, Geometry };

struct Failure {
    Table table = Table::None;
    int code = 0;
    bool operator==(const Failure&) const = default;
};

inline Failure general(int code) {
    return {Table::General, code};
}
inline Failure geometry(int code) {
    return {Table::Geometry, code};
}
inline Failure math(int code) {
    return {Table::Math, code};
}

inline std::ostream& operator<<(std::ostream& os, const Failure& f) {
    const char* names[] = {"none", "general", "math", "geometry"};
    return os << names[static_cast<int>(f.table)] << " " << f.code;
}

class CogoFixture : public ::testing::Test, public FunctionFixture {
  public:
    CogoFixture() { installEngineeringFamilies(registry); }

    // Enters the formula and reports how its first error was raised.
    Failure failureOf(int row, int col, const std::string& text) {
        ErrStat err;
        engine.entry().storeEntry(text, row, col, 1, EntryOptions{}, err);
        if (!err.failed()) return {};
        if (err.savedLetter == kLetterLib) return {err.savedModule == 6 ? Table::Geometry : Table::Math, err.savedCode};
        return {Table::General, err.savedCode};
    }

    // Elements 1..N of the cell's Array Area.
    std::vector<double> values(int row, int col) {
        std::vector<double> area = arrayOf(cell(row, col));
        if (!area.empty()) area.erase(area.begin());
        return area;
    }

    double value(int row, int col) {
        const CellRec* c = cell(row, col);
        return c != nullptr && c->formula != nullptr ? c->formula->value : 0.0;
    }

    int kind(int row, int col) { return kindOf(cell(row, col)); }

    std::string shown(int row, int col, int precision = 2) {
        CellDisplayContext context;
        context.inheritedPrecision = precision;
        std::string t = cellDisplayText(cell(row, col), 60, context);
        const std::size_t first = t.find_first_not_of(' ');
        return first == std::string::npos ? std::string() : t.substr(first);
    }
};

// Each expected value is met within the tolerance.
inline void expectArray(const std::vector<double>& actual, const std::vector<double>& expected, double tolerance,
                        const std::string& what) {
    ASSERT_EQ(actual.size(), expected.size()) << what;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(actual[i], expected[i], tolerance) << what << " value " << i + 1;
    }
}

}  // namespace qx::test
