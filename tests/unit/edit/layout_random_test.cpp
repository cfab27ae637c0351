// Random sequences of inserts, removals and shifts keep the level sound and every formula's value.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "edit/cell_shift.h"
#include "recalc/recalc.h"
#include "unit/edit/layout_fixture.h"

namespace qx {
namespace {

using test::LayoutFixture;

// Numbers and sums of up to three cells; every place a formula names then gets a number, so no cell
// can later move into a placeholder and change what a formula computes.
void fillRandomly(LayoutFixture& f, std::mt19937& rng) {
    for (int n = 0; n < 60; ++n) {
        std::string text = "+" + std::to_string(rng() % 99);
        for (int k = n % 3 == 0 ? rng() % 3 + 1 : 0; k > 0; --k)
            text += "+[" + std::to_string(rng() % 30 + 1) + "," + std::to_string(rng() % 12 + 1) + "]";
        f.enter(static_cast<int>(rng() % 30 + 1), static_cast<int>(rng() % 12 + 1), text);
    }
    for (LevelCursor at(*f.store.levelPtr(1)); !at.done(); at.advance()) {
        if (at.get()->isPlaceholder()) f.enter(at.get()->row, at.get()->col, std::to_string(rng() % 99));
    }
}

// The value of every formula that computes, by record: records move, they are never copied.
std::map<const CellRec*, double> computedValues(LayoutFixture& f) {
    f.recalc.recalculateLevel(1);
    std::map<const CellRec*, double> values;
    for (LevelCursor at(*f.store.levelPtr(1)); !at.done(); at.advance()) {
        const CellRec* c = at.get();
        if (c->isFormula() && c->formula && !c->formula->errorMark()) values[c] = c->formula->value;
    }
    return values;
}

void randomStep(LayoutFixture& f, std::mt19937& rng) {
    const int what = static_cast<int>(rng() % 5);
    const int at = static_cast<int>(rng() % 34 + 1);
    const int count = static_cast<int>(rng() % 3 + 1);
    if (what < 4) {
        const bool rows = what < 2;
        f.lines(what % 2 ? layout::kRemove : layout::kInsert, rows ? layout::kScopeRows : layout::kScopeColumns,
                rows ? at : at % 14 + 1, count);
        return;
    }
    const int col = static_cast<int>(rng() % 14 + 1);
    f.shiftArea(CellArea{at, col, at + count * 3, col + count}, static_cast<int>(rng() % 4 + 1));
}

TEST(LayoutRandom, LevelStaysSoundAndFormulasKeepTheirValues) {
    for (unsigned seed = 1; seed <= 12; ++seed) {
        LayoutFixture f;
        std::mt19937 rng(seed);
        fillRandomly(f, rng);
        const std::map<const CellRec*, double> before = computedValues(f);
        ASSERT_FALSE(before.empty());
        for (int step = 0; step < 40; ++step) {
            randomStep(f, rng);
            ASSERT_EQ(f.store.checkRows(1) + f.store.checkDependents(1), "") << seed << "/" << step;
        }
        for (const auto& [cell, value] : computedValues(f)) {
            EXPECT_EQ(value, before.contains(cell) ? before.at(cell) : value) << seed;
        }
    }
}

}  // namespace
}  // namespace qx
