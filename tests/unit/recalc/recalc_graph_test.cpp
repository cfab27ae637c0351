// The one-pass circular test against the per-cell search, and the reverse index against a rescan of the
// reference lists, both under random edits.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "core/circular.h"
#include "core/dependents_index.h"
#include "unit/recalc/recalc_fixture.h"

namespace qx {
namespace {

using test::RecalcFixture;

constexpr EntryOptions kNoCircularCheck{NotifyMode::Edit, false, false, false};

std::string randomFormula(std::mt19937& rng, int rows, int cols) {
    std::string t = "+1";
    const int refs = static_cast<int>(rng() % 4);
    for (int k = 0; k < refs; ++k) {
        t += "+[" + std::to_string(1 + rng() % rows) + "," + std::to_string(1 + rng() % cols) + "]";
    }
    return t;
}

std::vector<CellRec*> levelCells(RecalcFixture& f, int level) {
    std::vector<CellRec*> cells;
    for (LevelCursor at(*f.store.levelPtr(level)); !at.done(); at.advance()) cells.push_back(at.get());
    return cells;
}

TEST(CircularCells, AgreesWithTheSearchForEveryCell) {
    for (unsigned seed = 1; seed <= 25; ++seed) {
        std::mt19937 rng(seed);
        RecalcFixture f;
        const int rows = 3 + static_cast<int>(rng() % 6);
        for (int i = 0; i < rows * 3; ++i) {
            const int row = 1 + static_cast<int>(rng() % rows);
            const int col = 1 + static_cast<int>(rng() % 3);
            const std::string text = rng() % 6 == 0 ? "'label" : randomFormula(rng, rows, 3);
            f.enter(row, col, text, 1, kNoCircularCheck);
        }
        const CircularCells answers(*f.store.levelPtr(1));
        for (CellRec* c : levelCells(f, 1)) {
            const bool expected = isCircular(*c);
            EXPECT_EQ(answers.circular(*c), expected) << "seed " << seed << " [" << c->row << "," << c->col << "]";
            EXPECT_FALSE(c->has(cellflag::kOnPath));
            if (c->formula) {
                EXPECT_EQ(c->formula->flags & formulaflag::kVisited, 0u);
            }
        }
    }
}

// Every reference of every formula of the level, gathered per target in (row, column) order.
std::vector<CellRec*> rescanDependents(RecalcFixture& f, const CellRec& target) {
    std::vector<CellRec*> found;
    for (CellRec* c : levelCells(f, target.level)) {
        if (c->formula == nullptr) continue;
        for (uint32_t k = 0; k < c->formula->refCount; ++k) {
            if (c->formula->refs[k] == &target) found.push_back(c);
        }
    }
    return found;
}

TEST(DependentsIndex, MatchesARescanUnderRandomEdits) {
    for (unsigned seed = 1; seed <= 8; ++seed) {
        std::mt19937 rng(seed);
        RecalcFixture f;
        for (int step = 0; step < 150; ++step) {
            const int row = 1 + static_cast<int>(rng() % 6);
            const int col = 1 + static_cast<int>(rng() % 4);
            ErrStat err;
            switch (rng() % 6) {
                case 0:
                    f.enter(row, col, "'");  // deletes the cell
                    break;
                case 1:
                    f.store.moveCell(row, col, 1, 1 + static_cast<int>(rng() % 6), 5 + static_cast<int>(rng() % 2), 1,
                                     err);
                    break;
                case 2:
                    f.enter(row, col, "\"v [" + std::to_string(1 + rng() % 6) + ",1]");
                    break;
                default:
                    f.enter(row, col, randomFormula(rng, 6, 6));
                    break;
            }
            ASSERT_EQ(f.store.checkDependents(1), "") << "seed " << seed << " step " << step;
            ASSERT_EQ(f.store.checkRows(1), "") << "seed " << seed << " step " << step;
            for (CellRec* c : levelCells(f, 1)) {
                const auto index = f.store.dependentsOf(*c);
                const std::vector<CellRec*> indexed(index.begin(), index.end());
                std::vector<CellRec*> expected = rescanDependents(f, *c);
                ASSERT_EQ(indexed, expected) << "seed " << seed << " step " << step;
                ASSERT_EQ(c->dependents, expected.size());
            }
        }
        f.store.clearLevel(1);
        EXPECT_TRUE(f.recalc.rangeList(1).empty());
    }
}

}  // namespace
}  // namespace qx
