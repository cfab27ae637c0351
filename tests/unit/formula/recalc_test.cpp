// The chain of affected cells, sweeps, Range Operation passes, failed-cell retries and whole-level
// recalculation, checked against values computed from scratch.
#include "formula/recalc.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "formula_fixture.h"
#include "platform/headless_platform.h"

namespace qx {
namespace {

using test::FormulaFixture;

constexpr EntryOptions kQuiet{0, false, false, false};

std::string addr(int row, int col) {
    return "[" + std::to_string(row) + "," + std::to_string(col) + "]";
}

struct RecalcFixture : FormulaFixture {
    RecalcFixture() { recalc().setPlatform(&platform); }
    ChainRecalculator& recalc() { return engine.recalc(); }
    HeadlessPlatform platform;
};

// A level whose formulas reference only earlier places (row-major), so entering the texts in that
// order computes every value from scratch.
class RandomSheet {
  public:
    RandomSheet(unsigned seed, int rows, int cols) : m_rng(seed), m_rows(rows), m_cols(cols) {
        m_texts.resize(static_cast<std::size_t>(rows * cols));
        for (int i = 0; i < rows * cols; ++i) m_texts[static_cast<std::size_t>(i)] = randomText(i);
    }
    int size() const { return m_rows * m_cols; }
    int row(int i) const { return i / m_cols + 1; }
    int col(int i) const { return i % m_cols + 1; }
    const std::string& text(int i) const { return m_texts[static_cast<std::size_t>(i)]; }
    int pick() { return static_cast<int>(m_rng() % static_cast<unsigned>(size())); }
    void change(int i) { m_texts[static_cast<std::size_t>(i)] = randomText(i); }

  private:
    std::string randomText(int i) {
        if (i < m_cols || m_rng() % 3 == 0) return "+" + std::to_string(m_rng() % 7);
        std::string t = "+";
        const int refs = 1 + static_cast<int>(m_rng() % 3);
        for (int k = 0; k < refs; ++k) {
            const int j = static_cast<int>(m_rng() % static_cast<unsigned>(i));
            static const char* const kOps[] = {"+", "-", "*0+", "+2*"};
            t += (k ? kOps[m_rng() % 4] : "") + addr(row(j), col(j));
        }
        if (m_rng() % 4 == 0) t += "*0";  // a value that never changes stops the chain
        return t;
    }

    std::mt19937 m_rng;
    int m_rows;
    int m_cols;
    std::vector<std::string> m_texts;
};

TEST(Recalc, ChangesMatchAFullRecalculationOfACopy) {
    for (unsigned seed = 1; seed <= 6; ++seed) {
        RandomSheet sheet(seed, 9, 5);
        RecalcFixture live;
        for (int i = 0; i < sheet.size(); ++i) live.enter(sheet.row(i), sheet.col(i), sheet.text(i));
        for (int step = 0; step < 40; ++step) {
            const int changed = sheet.pick();
            sheet.change(changed);
            live.enter(sheet.row(changed), sheet.col(changed), sheet.text(changed));
            FormulaFixture copy;
            for (int i = 0; i < sheet.size(); ++i) copy.enter(sheet.row(i), sheet.col(i), sheet.text(i), 1, kQuiet);
            for (int i = 0; i < sheet.size(); ++i) {
                ASSERT_EQ(live.value(sheet.row(i), sheet.col(i)), copy.value(sheet.row(i), sheet.col(i)))
                    << "seed " << seed << " step " << step << " cell " << addr(sheet.row(i), sheet.col(i));
            }
            ASSERT_EQ(live.store.checkDependents(1), "");
        }
    }
}

TEST(Recalc, ChainCarriesOnlyRealChanges) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> cells;  // place, text (row 1)
        std::string change;
        int evaluated;
        bool lastFailed;
    };
    const Case cases[] = {
        {"nobody refers to it", {{"1", "+1"}}, "+2", 0, false},
        {"unchanged middle stops the chain", {{"1", "+1"}, {"2", "+[1,1]*0"}, {"3", "+[1,2]+1"}}, "+5", 1, false},
        {"changed middle carries on", {{"1", "+1"}, {"2", "+[1,1]*2"}, {"3", "+[1,2]+1"}}, "+5", 3, false},
        {"first failure passes on", {{"1", "+1"}, {"2", "+1/[1,1]"}, {"3", "+[1,2]+1"}}, "+0", 3, true},
    };
    for (const Case& c : cases) {
        RecalcFixture f;
        int col = 0;
        for (const auto& [place, text] : c.cells) f.enter(1, ++col, text);
        f.enter(1, 1, c.change);
        EXPECT_EQ(f.recalc().lastChain().evaluated, c.evaluated) << c.name;
        EXPECT_EQ(f.failed(1, 2), c.lastFailed) << c.name;
    }
}

TEST(Recalc, ASecondFailureIsNotPassedOn) {
    RecalcFixture f;
    f.enter(1, 1, "+1");
    f.enter(1, 2, "+1/[1,1]");
    f.enter(1, 3, "+[1,2]+1");
    f.enter(1, 1, "+0");
    ASSERT_TRUE(f.failed(1, 2));
    f.enter(1, 1, "+0");
    EXPECT_EQ(f.recalc().lastChain().evaluated, 1);
    f.enter(1, 1, "+4");
    EXPECT_FALSE(f.failed(1, 2));
    EXPECT_EQ(f.value(1, 3), 1.25);
}

TEST(Recalc, ChangingALabelMarksTheFormulasItReaches) {
    RecalcFixture f;
    f.enter(1, 2, "+[1,1]+2");  // refers to an empty place
    f.enter(1, 3, "+[1,2]+1");
    f.enter(1, 1, "'text");
    EXPECT_TRUE(f.failed(1, 2));
    EXPECT_TRUE(f.cell(1, 2)->has(cellflag::kForceDisplay));
    EXPECT_EQ(f.value(1, 2), 2);  // failed cells keep their old values
    EXPECT_EQ(f.value(1, 3), 3);
}

TEST(Recalc, ChainDepthLimit) {
    for (const int affected : {8191, 8192}) {
        RecalcFixture f;
        f.enter(1, 1, "+0");
        for (int row = 2; row <= affected + 1; ++row) f.enter(row, 1, "+" + addr(row - 1, 1) + "+1", 1, kQuiet);
        f.platform.clearBoxes();
        f.enter(1, 1, "+100");
        const bool overflow = affected == 8192;
        EXPECT_EQ(f.recalc().lastChain().overflow, overflow);
        ASSERT_EQ(f.platform.boxes().size(), overflow ? 1u : 0u);
        if (overflow) {
            EXPECT_EQ(f.platform.boxes()[0].caption, "WARNING - AN OVERFLOW OCCURRED!");
            EXPECT_EQ(f.platform.boxes()[0].text, chainOverflowText(1, 1));
            EXPECT_NE(f.platform.boxes()[0].text.find("CELL [1,1] WERE"), std::string::npos);
            EXPECT_EQ(f.value(affected + 1, 1), affected);  // beyond the limit: the old value
        } else {
            EXPECT_EQ(f.value(affected + 1, 1), 100 + affected);
        }
    }
}

TEST(Recalc, SixteenFailuresStopTheTraversal) {
    RecalcFixture f;
    f.enter(1, 1, "+1");
    for (int row = 1; row <= 12; ++row) {
        f.enter(row, 2, "+1/[1,1]");
        f.enter(row, 3, "+" + addr(row, 2) + "+1");
    }
    f.enter(1, 1, "+0");
    // Each row fails three times: the cell when reached, its dependent reading it, the cell when finished.
    EXPECT_EQ(f.recalc().lastChain().errors, kChainErrorLimit);
    EXPECT_TRUE(f.failed(6, 2));
    EXPECT_FALSE(f.failed(7, 2));
    EXPECT_EQ(f.value(7, 2), 1);
}

TEST(Recalc, PreventedCellsWaitForTheNextSweep) {
    RecalcFixture f;
    f.enter(1, 1, "+1");
    f.enter(1, 2, "+[1,1]*2");
    f.cell(1, 2)->set(cellflag::kPreventRecalc);
    f.enter(1, 1, "+5");
    EXPECT_EQ(f.value(1, 2), 2);
    CellRec* c = f.cell(1, 2);
    c->set(cellflag::kPreventRecalc, false);
    c->set(cellflag::kRecalcPending);
    f.recalc().noteMarked(*c);
    f.enter(9, 9, "+0");
    EXPECT_EQ(f.value(1, 2), 10);
    EXPECT_FALSE(f.cell(1, 2)->has(cellflag::kRecalcPending));
}

TEST(Recalc, ForcedCellsOfTheChangedLevelAreSwept) {
    RecalcFixture f;
    f.enter(1, 1, "+1", 2);
    f.enter(1, 1, "+[1,1,,2]*3");
    CellRec* forced = f.cell(1, 1);
    forced->set(cellflag::kForceRecalc);
    f.recalc().noteMarked(*forced);
    f.enter(1, 1, "+2", 2);  // another level: only its own forced cells
    EXPECT_EQ(f.value(1, 1), 3);
    f.enter(5, 5, "+0");
    EXPECT_EQ(f.value(1, 1), 6);
    f.enter(1, 1, "+4", 2);
    f.recalc().notify(*f.cell(5, 5), notifymode::kSweep);
    EXPECT_EQ(f.value(1, 1), 12);
}

TEST(Recalc, AMovedForcedCellIsStillSwept) {
    RecalcFixture f;
    f.enter(1, 1, "+1", 2);
    f.enter(1, 1, "+[1,1,,2]*3");
    f.cell(1, 1)->set(cellflag::kForceRecalc);
    f.recalc().noteMarked(*f.cell(1, 1));
    ErrStat err;
    ASSERT_EQ(f.store.moveCell(1, 1, 1, 7, 7, 1, err), 1);
    f.enter(1, 1, "+2", 2);
    f.enter(5, 5, "+0");
    EXPECT_EQ(f.value(7, 7), 6);
}

TEST(Recalc, RangeOperationPasses) {
    struct Case {
        uint16_t passes;
        double sum;
        double twice;
    };
    for (const Case& c : {Case{1, 13, 26}, Case{0, 6, 12}}) {
        RecalcFixture f;
        for (int row = 1; row <= 3; ++row) f.enter(row, 1, "+" + std::to_string(row));
        f.enter(1, 3, "+[1,1^3,1{[$]+[@]}]");
        f.enter(2, 3, "+[1,3]*2");
        f.store.levelPtr(1)->defaults.rangePasses = c.passes;
        f.enter(2, 1, "+9");
        EXPECT_EQ(f.value(1, 3), c.sum);
        EXPECT_EQ(f.value(2, 3), c.twice);
        ASSERT_EQ(f.recalc().rangeList(1).size(), 1u);
    }
}

TEST(Recalc, ClearingALevelDropsItsRangeOperations) {
    RecalcFixture f;
    f.enter(1, 1, "+1", 2);
    f.enter(1, 2, "+[1,1^2,1{[$]+[@]}]", 2);
    f.enter(1, 1, "+1");
    f.enter(1, 2, "+[1,1^2,1{[$]+[@]}]");
    f.store.clearLevel(2);
    EXPECT_TRUE(f.recalc().rangeList(2).empty());
    f.enter(2, 1, "+4");
    EXPECT_EQ(f.value(1, 2), 5);
    ErrStat err;
    f.recalc().removeFromRangeList(*f.cell(2, 1), err);
    EXPECT_EQ(err.point, 3);
}

TEST(Recalc, FindDependentVisitsDirectThenRangeDependents) {
    RecalcFixture f;
    f.enter(1, 1, "+1");
    f.enter(3, 1, "+[1,1]");
    f.enter(2, 1, "+[1,1]*2");
    f.enter(4, 4, "+[1,1^2,1]");
    f.enter(5, 4, "+[2,1^2,1]");
    std::vector<std::string> seen;
    CellRec& target = *f.cell(1, 1);
    int64_t count = target.dependents;
    for (CellRec* d = f.recalc().findDependent(target, nullptr, count); d;
         d = f.recalc().findDependent(target, d, count)) {
        seen.push_back(addr(d->row, d->col));
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"[2,1]", "[3,1]", "[4,4]"}));
}

TEST(Recalc, RetryReentersFailedCellsKeepingTemplates) {
    RecalcFixture f;
    f.enter(1, 2, "+3");
    f.enter(1, 1, "+[1,2]");
    f.enter(1, 2, "+[1,1]");  // circular: kept as typed, failed
    ASSERT_TRUE(f.failed(1, 2));
    f.enter(2, 1, "+1");
    f.enter(2, 2, "+[2,1]");
    f.enter(2, 1, "\"v [2,2]");  // a circular Variable Label
    ASSERT_TRUE(f.failed(2, 1));
    f.enter(1, 1, "+5");
    f.enter(2, 2, "+7");
    EXPECT_TRUE(f.failed(1, 2));
    EXPECT_TRUE(f.recalc().retryFailedCells());
    EXPECT_EQ(f.value(1, 2), 5);
    EXPECT_FALSE(f.failed(2, 1));
    ASSERT_TRUE(f.cell(2, 1)->isVariableLabel());
    EXPECT_EQ(f.text(2, 1), "v 7.00");
    EXPECT_FALSE(f.recalc().retryFailedCells());
}

TEST(Recalc, WholeLevelMarksCircularCellsAndRecomputesTheRest) {
    RecalcFixture f;
    f.enter(1, 1, "+2");
    f.enter(1, 2, "+[1,1]*3");
    f.enter(2, 1, "+[2,2]+1", 1, kQuiet);
    f.enter(2, 2, "+[2,1]+1", 1, kQuiet);
    f.enter(2, 3, "+[2,2]", 1, kQuiet);
    f.cell(1, 2)->formula->value = 0;
    f.recalc().recalculateLevel(1);
    EXPECT_EQ(f.value(1, 2), 6);
    for (int col = 1; col <= 3; ++col) EXPECT_TRUE(f.failed(2, col)) << col;
    EXPECT_FALSE(f.failed(1, 2));
}

TEST(Recalc, OneCellRecalculation) {
    RecalcFixture f;
    f.enter(1, 1, "+2");
    f.enter(1, 2, "+[1,1]+1");
    f.cell(1, 2)->formula->value = 0;
    f.recalc().recalculateOneCell(*f.cell(1, 2));
    EXPECT_EQ(f.value(1, 2), 3);
    f.enter(2, 1, "+[1,1]+(1");
    ASSERT_TRUE(f.failed(2, 1));
    f.recalc().recalculateOneCell(*f.cell(2, 1));
    EXPECT_TRUE(f.failed(2, 1));
    EXPECT_EQ(f.text(2, 1), "+[1,1]+(1");
}

}  // namespace
}  // namespace qx
