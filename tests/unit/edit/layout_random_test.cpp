// Random sequences of inserts, removals and shifts keep the level sound and every formula's value.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "edit/cell_shift.h"
#include "formula/recalc.h"
#include "unit/edit/layout_fixture.h"

namespace qx {
namespace {

using test::LayoutFixture;

void fillRandomly(LayoutFixture& f, std::mt19937& rng) {
    std::uniform_int_distribution<int> row(1, 30);
    std::uniform_int_distribution<int> col(1, 12);
    std::uniform_int_distribution<int> small(1, 99);
    for (int n = 0; n < 60; ++n) {
        const int r = row(rng);
        const int c = col(rng);
        if (n % 3 != 0) {
            f.enter(r, c, std::to_string(small(rng)));
            continue;
        }
        std::string text = "+" + std::to_string(small(rng));
        for (int k = small(rng) % 3; k >= 0; --k) {
            text += "+[" + std::to_string(row(rng)) + "," + std::to_string(col(rng)) + "]";
        }
        f.enter(r, c, text);
    }
    // Every place a formula names holds a number, so no cell can later move into a placeholder and
    // change what a formula computes.
    for (LevelCursor at(*f.store.levelPtr(1)); !at.done(); at.advance()) {
        if (at.get()->isPlaceholder()) f.enter(at.get()->row, at.get()->col, std::to_string(small(rng)));
    }
}

// The value of every formula that computes, by record: records move, they are never copied.
std::map<const CellRec*, double> computedValues(LayoutFixture& f) {
    f.engine.recalc().recalculateLevel(1);
    std::map<const CellRec*, double> values;
    for (LevelCursor at(*f.store.levelPtr(1)); !at.done(); at.advance()) {
        const CellRec* c = at.get();
        if (c->isFormula() && c->formula && !c->formula->errorMark()) values[c] = c->formula->value;
    }
    return values;
}

void randomStep(LayoutFixture& f, std::mt19937& rng) {
    std::uniform_int_distribution<int> pick(0, 4);
    std::uniform_int_distribution<int> at(1, 34);
    std::uniform_int_distribution<int> count(1, 3);
    const int what = pick(rng);
    if (what < 4) {
        f.lines(what % 2 == 0 ? layout::kInsert : layout::kRemove,
                what < 2 ? layout::kScopeRows : layout::kScopeColumns, at(rng) % (what < 2 ? 34 : 14) + 1, count(rng));
        return;
    }
    const int r = at(rng);
    const int c = at(rng) % 14 + 1;
    f.shiftArea(CellArea{r, c, r + count(rng) * 3, c + count(rng)}, (count(rng) + r) % 4 + 1);
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
            ASSERT_EQ(f.store.checkRows(1), "") << seed << "/" << step;
            ASSERT_EQ(f.store.checkDependents(1), "") << seed << "/" << step;
        }
        for (const auto& [cell, value] : computedValues(f)) {
            if (before.contains(cell)) {
                EXPECT_EQ(value, before.at(cell)) << seed;
            }
        }
    }
}

}  // namespace
}  // namespace qx
