#include "core/property_access.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <tuple>

#include "cell_store_fixture.h"

namespace qx {
namespace {

class PropertyAccess : public testing::StoreTest {
  protected:
    // Always the same place, so each call replaces the cell made before.
    CellRec* make(CellType type, uint32_t style, uint16_t flags, uint32_t formulaFlags) {
        ErrStat local;
        CellRec* cell = store.makeCell(2, 3, 1, type, local);
        EXPECT_FALSE(local.failed());
        cell->style = style;
        cell->flags = static_cast<uint16_t>(flags | static_cast<uint16_t>(type));
        if (cell->formula) cell->formula->flags = formulaFlags;
        level().changed = false;
        scratch.repaintPending = false;
        return cell;
    }
};

constexpr uint16_t kHide = cellflag::kHideDisplay;
constexpr uint16_t kPending = cellflag::kRecalcPending;
constexpr uint16_t kPrevent = cellflag::kPreventRecalc;

TEST_F(PropertyAccess, ReadsDependOnTheCellType) {
    constexpr uint32_t kStyle = 0x18115A09;  // size 3, justify Left, underline, bold, font 26, colour 9
    constexpr uint32_t kFlags = 0x0010342F;  // format 2, kind 3, precision code 4, type 5, mode 3, option
    constexpr int kNo = -1;
    const int64_t expected[3][kPropertyCount] = {
        // Formula
        {0, 2, 3, 0, 1, 0, 3, 2, 3, 0, 3, 5, 1, 9, 1, 1, 0, kNo, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, kStyle, 3, 9, 26},
        // Label
        {1, 2,   3,   kNo, 1,   0, kNo, kNo, 2, kNo, kNo, kNo, kNo,    9, 1, 1,
         0, kNo, kNo, kNo, kNo, 0, kNo, 0,   0, 1,   0,   1,   kStyle, 3, 9, 26},
        // Variable Label
        {2, 2, 3, kNo, 1, 0, 3, 2, 2, 0, 3, 5, 1, 9, 1, 1, 0, kNo, 0, 0, 0, 0, kNo, 0, 0, 1, 0, 1, kStyle, 3, 9, 26},
    };
    const CellType types[] = {CellType::Formula, CellType::Label, CellType::VariableLabel};
    for (int t = 0; t < 3; ++t) {
        CellRec* cell = make(types[t], kStyle, kHide, kFlags);
        for (int p = 0; p < kPropertyCount; ++p) {
            EXPECT_EQ(cellProperty(store, cell, p, kPropertyRead), expected[t][p]) << "type " << t << " property " << p;
        }
        EXPECT_FALSE(level().changed);
    }
}

TEST_F(PropertyAccess, WritesFollowTheirRules) {
    const struct {
        const char* name;
        CellType type;
        uint32_t style, formulaFlags;
        int property;
        int32_t value;
        int64_t returned;
        uint32_t styleAfter, formulaFlagsAfter;
        bool accepted;
    } cases[] = {
        {"object kind replaces", CellType::Formula, 0, 0x3000, 6, 4, 4, 0, 0x4000, true},
        {"object kind 8 refused", CellType::Formula, 0, 0x3000, 6, 8, 3, 0, 0x3000, false},
        {"object kind of a Variable Label refused", CellType::VariableLabel, 0, 0x3000, 6, 4, 3, 0, 0x3000, false},
        {"angle mode replaces", CellType::Formula, 0, 0x6, 10, 1, 1, 0, 0x2, true},
        {"angle type replaces", CellType::Formula, 0, 0x28, 11, 2, 2, 0, 0x10, true},
        {"angle type 10 refused", CellType::Formula, 0, 0x28, 11, 10, 5, 0, 0x28, false},
        {"format clears another format's precision", CellType::Formula, 0, 0x00100400, 7, 6, 6, 0, 0x00300000, true},
        {"Decimal keeps the precision", CellType::Formula, 0, 0x00100400, 7, 0, 0, 0, 0x00000400, true},
        {"format 20 refused", CellType::Formula, 0, 0x00100400, 7, 20, 2, 0, 0x00100400, false},
        {"format of an object refused", CellType::Formula, 0, 0x2000, 7, 1, 0, 0, 0x2000, false},
        {"format beyond 26 is locked", CellType::Formula, 0, 0x00F00000, 7, 0, 30, 0, 0x00F00000, false},
        {"precision 3 reads 2", CellType::Formula, 0, 0, 8, 3, 2, 0, 0x300, true},
        {"precision 0 inherits", CellType::Formula, 0, 0x400, 8, 0, 2, 0, 0, true},
        {"precision of an object refused", CellType::Formula, 0, 0x2400, 8, 1, 3, 0, 0x2400, false},
        {"error mark", CellType::VariableLabel, 0, 0, 9, 1, 1, 0, 0x80000000, true},
        {"option", CellType::Formula, 0, 0, 12, 1, 1, 0, 1, true},
        {"colour 16 refused", CellType::Label, 0x3, 0, 13, 16, 3, 0x3, 0, false},
        {"align 2", CellType::Label, 0, 0, 23, 2, 2, 0x00080000, 0, true},
        {"bold", CellType::Label, 0, 0, 25, 1, 1, 0x4000, 0, true},
        {"whole style keeps layout", CellType::Label, 0x003E00F0, 0, 28, 0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF, 0, true},
        {"whole style from a negative value refused", CellType::Label, 0x5, 0, 28, -5, 5, 0x5, 0, false},
        {"size 7 is the default", CellType::Label, 0x18000000, 0, 29, 7, 0, 0, 0, true},
        {"size 8", CellType::Label, 0, 0, 29, 8, 1, 0x08000000, 0, true},
        {"colour 0 is Black", CellType::Label, 0x7, 0, 30, 0, 0, 0, 0, true},
        {"colour 15", CellType::Label, 0, 0, 30, 15, 15, 0xF, 0, true},
        {"font 33", CellType::Label, 0, 0, 31, 33, 33, 0x2100, 0, true},
        {"font 34 clears", CellType::Label, 0x0500, 0, 31, 34, 0, 0, 0, true},
        {"row is read only", CellType::Label, 0, 0, 1, 7, 2, 0, 0, false},
        {"Range Def is read only", CellType::Formula, 0, 0, 22, 1, 0, 0, 0, false},
        {"property 17 does nothing", CellType::Label, 0, 0, 17, 1, -1, 0, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CellRec* cell = make(c.type, c.style, 0, c.formulaFlags);
        const uint16_t flagsBefore = cell->flags;
        EXPECT_EQ(cellProperty(store, cell, c.property, c.value), c.returned);
        EXPECT_EQ(std::tuple(cell->style, cell->formula ? cell->formula->flags : 0u, cell->flags),
                  std::tuple(c.styleAfter, c.formulaFlagsAfter, flagsBefore));
        EXPECT_EQ(std::tuple(level().changed, scratch.repaintPending), std::tuple(c.accepted, c.accepted));
    }
}

TEST_F(PropertyAccess, FlagWritesAndTheArrayArea) {
    CellRec* cell = make(CellType::Formula, 0, 0, 0);
    EXPECT_EQ(cellProperty(store, cell, 15, 1), 1);
    EXPECT_EQ(cell->flags, kHide);
    EXPECT_EQ(cellProperty(store, cell, 3, 5), 5);
    EXPECT_EQ(cell->formula->arrayCount(), 5u);
    EXPECT_EQ(cellProperty(store, cell, 3, -2), 5);

    // A Label's recalc-pending lives in its dependents mark, not in the flags.
    CellRec* text = make(CellType::Label, 0, 0, 0);
    EXPECT_EQ(cellProperty(store, text, 21, 1), 1);
    EXPECT_TRUE(text->dependentsMark);
    EXPECT_EQ(text->flags & kPending, 0);
}

TEST_F(PropertyAccess, RemovingPreventMarksThePendingCellAndACircularOneFailed) {
    for (bool circular : {false, true}) {
        CellRec* cell = make(CellType::Formula, 0, kPrevent, 0);
        int asked = 0;
        const CircularTest test = [&](CellRec& c) { return ++asked, &c == cell && circular; };
        EXPECT_EQ(cellProperty(store, cell, 19, 0, test), 0);
        EXPECT_EQ(cell->flags & (kPrevent | kPending), kPending);
        EXPECT_EQ(cell->formula->errorMark(), circular);
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(cellProperty(store, cell, 19, 1, test), 1);
        EXPECT_EQ(asked, 1);
    }
}

TEST_F(PropertyAccess, NullPlaceholderAndUnknownPropertiesGiveMinusOne) {
    EXPECT_EQ(cellProperty(store, nullptr, 0, kPropertyRead), -1);
    CellRec* holder = make(CellType::Undefined, 0, 0, 0);
    EXPECT_EQ(cellProperty(store, holder, 0, kPropertyRead), 3);
    for (int p = 1; p < kPropertyCount; ++p) {
        EXPECT_EQ(cellProperty(store, holder, p, kPropertyRead), -1) << p;
        EXPECT_EQ(cellProperty(store, holder, p, 1), -1) << p;
    }
    CellRec* cell = make(CellType::Formula, 0, 0, 0);
    for (int p : {-1, 32, 1000}) EXPECT_EQ(cellProperty(store, cell, p, 1), -1) << p;
    EXPECT_FALSE(level().changed);
    EXPECT_EQ(holder->style, 0u);
}

// Any code and value: a write either changes the cell and marks the level, or leaves both alone.
TEST_F(PropertyAccess, RandomCodesAndValuesChangeNothingUnlessAccepted) {
    const int32_t values[] = {INT_MIN, -2, -1, 0, 1, 2, 3, 7, 8, 9, 15, 16, 25, 26, 27, 38, 39, 8191, 8192, INT_MAX};
    const CellType types[] = {CellType::Formula, CellType::Label, CellType::VariableLabel, CellType::Undefined};
    std::mt19937 random(7);
    for (int i = 0; i < 2000; ++i) {
        CellRec* cell = make(types[random() % 4], 0x18115A09, kHide, 0x0010242F);
        const int property = static_cast<int>(random() % 40) - 4;
        const int32_t value = values[random() % std::size(values)];
        const int64_t before = cellProperty(store, cell, property, kPropertyRead);
        const auto words =
            std::tuple(cell->style, cell->flags, cell->dependentsMark, cell->formula ? cell->formula->flags : 0,
                       cell->formula ? cell->formula->arrayCount() : 0);
        const int64_t got = cellProperty(store, cell, property, value);
        SCOPED_TRACE(::testing::Message() << "property " << property << " value " << value);
        EXPECT_EQ(got, cellProperty(store, cell, property, kPropertyRead));
        if (!level().changed) {
            EXPECT_EQ(got, before);
            EXPECT_EQ(words, std::tuple(cell->style, cell->flags, cell->dependentsMark,
                                        cell->formula ? cell->formula->flags : 0,
                                        cell->formula ? cell->formula->arrayCount() : 0));
        }
        cell->set(cellflag::kProtectCell, false);  // so that the next round can replace the cell
    }
}

}  // namespace
}  // namespace qx
