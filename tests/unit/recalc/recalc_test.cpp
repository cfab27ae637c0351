// The chain of affected cells, sweeps, Range Operation passes, failed-cell retries and whole-level
// recalculation, checked against values computed from scratch.
#include "recalc/recalc.h"

#include <gtest/gtest.h>

#include <memory>
#include <memory_resource>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "platform/headless_platform.h"
#include "recalc/range_cover.h"
#include "unit/recalc/recalc_fixture.h"
#include "unit/sanitizer_rounds.h"

namespace qx {
namespace {

using test::RecalcFixture;

constexpr EntryOptions kQuiet{NotifyMode::None, false, false, false};

std::string addr(int row, int col) {
    return "[" + std::to_string(row) + "," + std::to_string(col) + "]";
}

struct ChainFixture : RecalcFixture {
    ChainFixture() { recalc.setPlatform(&platform); }
    // [1,1] of level 1 reads [1,1] of level 2 and is forced into every sweep of level 1.
    void forcedReader() {
        enter(1, 1, "+1", 2);
        enter(1, 1, "+[1,1,,2]*3");
        cell(1, 1)->set(cellflag::kForceRecalc);
        recalc.noteMarked(*cell(1, 1));
    }
    HeadlessPlatform platform;
};

// A level whose cells reference only earlier places (row-major), so entering the texts in that order
// computes every value from scratch. Besides plain formulas it holds labels, Variable Labels, Range
// Operations over earlier rows, references to never-filled places (placeholders) and to level 2.
struct RandomSheet {
    static constexpr int kCols = 5;
    static constexpr int kOtherLevelCells = 3;
    static int row(int i) { return i / kCols + 1; }
    static int col(int i) { return i % kCols + 1; }

    RandomSheet(unsigned seed, int size) : rng(seed), texts(static_cast<std::size_t>(size)) {
        for (int i = 0; i < size; ++i) change(i);
    }
    std::string earlier(int i) {
        const int j = static_cast<int>(rng() % static_cast<unsigned>(i));
        return addr(row(j), col(j));
    }
    void change(int i) {
        const unsigned kind = i < kCols ? 0 : rng() % 10;
        std::string t;
        if (kind == 0) {
            t = "+" + std::to_string(rng() % 7);
        } else if (kind == 1) {
            t = "'label" + std::to_string(rng() % 7);
        } else if (kind == 2) {
            t = "\"" + earlier(i) + " m";  // a Variable Label showing an earlier value
        } else if (kind == 3 && row(i) > 1) {
            const int last = 1 + static_cast<int>(rng() % static_cast<unsigned>(row(i) - 1));
            t = "+[1,1^" + std::to_string(last) + "," + std::to_string(kCols) + "{[$]+[@]}]";
        } else if (kind == 4) {
            t = "+" + addr(40 + static_cast<int>(rng() % 3), col(i)) + "+1";  // an empty place
        } else if (kind == 5) {
            t = "+[" + std::to_string(1 + rng() % kOtherLevelCells) + ",1,,2]*2";
        } else {
            t = "+";
            const int refs = 1 + static_cast<int>(rng() % 3);
            for (int k = 0; k < refs; ++k) {
                static const char* const kOps[] = {"+", "-", "*0+", "+2*"};
                t += (k ? kOps[rng() % 4] : "") + earlier(i);
            }
            if (rng() % 4 == 0) t += "*0";  // a value that never changes stops the chain
        }
        texts[static_cast<std::size_t>(i)] = t;
    }
    void enterAll(RecalcFixture& f, EntryOptions options = {}) {
        for (int k = 1; k <= kOtherLevelCells; ++k) f.enter(k, 1, "+" + std::to_string(10 * k), 2, options);
        for (int i = 0; i < static_cast<int>(texts.size()); ++i) f.enter(row(i), col(i), texts[i], 1, options);
    }

    std::mt19937 rng;
    std::vector<std::string> texts;
};

// What a place shows to the comparison: a formula's value or failure, any other cell's text.
std::string shown(RecalcFixture& f, int row, int col) {
    const CellRec* c = f.cell(row, col);
    if (c == nullptr) return "-";
    if (c->isFormula()) return f.failed(row, col) ? "failed" : std::to_string(f.value(row, col));
    return std::string(c->textView());
}

TEST(Recalc, ChangesMatchAFullRecalculationOfACopy) {
    int rounds = 0;
    const unsigned seeds = static_cast<unsigned>(test::rounds(6));
    for (unsigned seed = 1; seed <= seeds; ++seed) {
        RandomSheet sheet(seed, 45);
        ChainFixture live;
        sheet.enterAll(live);
        for (int step = 0; step < 40; ++step) {
            const int changed = static_cast<int>(sheet.rng() % sheet.texts.size());
            sheet.change(changed);
            live.enter(RandomSheet::row(changed), RandomSheet::col(changed), sheet.texts[changed]);
            live.recalc.retryFailedCells();  // as a committed edit does
            RecalcFixture copy;
            sheet.enterAll(copy, kQuiet);
            for (int i = 0; i < 45; ++i) {
                const int row = RandomSheet::row(i), col = RandomSheet::col(i);
                ASSERT_EQ(shown(live, row, col), shown(copy, row, col))
                    << "seed " << seed << " step " << step << " cell " << addr(row, col) << " "
                    << sheet.texts[static_cast<std::size_t>(i)];
            }
            ASSERT_EQ(live.store.checkDependents(1), "");
            ++rounds;
        }
    }
    EXPECT_EQ(rounds, static_cast<int>(seeds) * 40);
}

TEST(Recalc, ChainCarriesOnlyRealChanges) {
    struct Case {
        const char* name;
        std::vector<std::string> row;  // texts of [1,1], [1,2], ...
        std::string change;
        int evaluated;
        bool lastFailed;
    };
    const Case cases[] = {
        {"nobody refers to it", {"+1"}, "+2", 0, false},
        {"unchanged middle stops the chain", {"+1", "+[1,1]*0", "+[1,2]+1"}, "+5", 1, false},
        {"changed middle carries on", {"+1", "+[1,1]*2", "+[1,2]+1"}, "+5", 3, false},
        {"first failure passes on", {"+1", "+1/[1,1]", "+[1,2]+1"}, "+0", 3, true},
    };
    for (const Case& c : cases) {
        ChainFixture f;
        int col = 0;
        for (const std::string& text : c.row) f.enter(1, ++col, text);
        f.enter(1, 1, c.change);
        EXPECT_EQ(f.recalc.lastChain().evaluated, c.evaluated) << c.name;
        EXPECT_EQ(f.failed(1, 2), c.lastFailed) << c.name;
    }
}

TEST(Recalc, ASecondFailureIsNotPassedOn) {
    ChainFixture f;
    f.fill({{1, 1, "+1"}, {1, 2, "+1/[1,1]"}, {1, 3, "+[1,2]+1"}, {1, 1, "+0"}});
    ASSERT_TRUE(f.failed(1, 2));
    f.enter(1, 1, "+0");
    EXPECT_EQ(f.recalc.lastChain().evaluated, 1);
    f.enter(1, 1, "+4");
    EXPECT_FALSE(f.failed(1, 2));
    EXPECT_EQ(f.value(1, 3), 1.25);
}

TEST(Recalc, ChangingALabelMarksTheFormulasItReaches) {
    ChainFixture f;
    f.enter(1, 2, "+[1,1]+2");  // refers to an empty place
    f.fill({{1, 3, "+[1,2]+1"}, {1, 1, "'text"}});
    EXPECT_TRUE(f.failed(1, 2));
    EXPECT_TRUE(f.cell(1, 2)->has(cellflag::kForceDisplay));
    EXPECT_EQ(f.value(1, 2), 2);  // failed cells keep their old values
    EXPECT_EQ(f.value(1, 3), 3);
}

TEST(Recalc, ChainDepthLimit) {
    for (const int affected : {8191, 8192}) {
        ChainFixture f;
        f.enter(1, 1, "+0");
        for (int row = 2; row <= affected + 1; ++row) f.enter(row, 1, "+" + addr(row - 1, 1) + "+1", 1, kQuiet);
        f.platform.clearBoxes();
        f.enter(1, 1, "+100");
        const bool overflow = affected == 8192;
        EXPECT_EQ(f.recalc.lastChain().overflow, overflow);
        ASSERT_EQ(f.platform.boxes().size(), overflow ? 1u : 0u);
        if (overflow) {
            EXPECT_EQ(f.platform.boxes()[0].caption, "WARNING - AN OVERFLOW OCCURRED!");
            EXPECT_NE(f.platform.boxes()[0].text.find("CELL [1,1] WERE"), std::string::npos);
            EXPECT_EQ(f.value(affected + 1, 1), affected);  // beyond the limit: the old value
        } else {
            EXPECT_EQ(f.value(affected + 1, 1), 100 + affected);
        }
    }
}

TEST(Recalc, SixteenFailuresStopTheTraversal) {
    ChainFixture f;
    f.enter(1, 1, "+1");
    for (int row = 1; row <= 12; ++row) {
        f.enter(row, 2, "+1/[1,1]");
        f.enter(row, 3, "+" + addr(row, 2) + "+1");
    }
    f.enter(1, 1, "+0");
    // Each row fails three times: the cell when reached, its dependent reading it, the cell when finished.
    EXPECT_EQ(f.recalc.lastChain().errors, kChainErrorLimit);
    EXPECT_TRUE(f.failed(6, 2));
    EXPECT_FALSE(f.failed(7, 2));
    EXPECT_EQ(f.value(7, 2), 1);
}

TEST(Recalc, ForcedCellsOfTheChangedLevelAreSwept) {
    ChainFixture f;
    f.forcedReader();
    f.enter(1, 1, "+2", 2);  // another level: only its own forced cells
    EXPECT_EQ(f.value(1, 1), 3);
    ErrStat err;
    ASSERT_EQ(f.store.moveCell(1, 1, 1, 7, 7, 1, err), 1);  // a moved forced cell is still swept
    f.enter(5, 5, "+0");
    EXPECT_EQ(f.value(7, 7), 6);
    f.enter(1, 1, "+4", 2);
    f.recalc.notify(*f.cell(5, 5), NotifyMode::Sweep);
    EXPECT_EQ(f.value(7, 7), 12);
}

TEST(Recalc, RangeOperationPasses) {
    struct Case {
        uint16_t passes;
        double sum;
        double twice;
    };
    for (const Case& c : {Case{1, 13, 26}, Case{0, 6, 12}}) {
        ChainFixture f;
        for (int row = 1; row <= 3; ++row) f.enter(row, 1, "+" + std::to_string(row));
        f.fill({{1, 3, "+[1,1^3,1{[$]+[@]}]"}, {2, 3, "+[1,3]*2"}});
        f.store.levelPtr(1)->defaults.rangePasses = c.passes;
        f.enter(2, 1, "+9");
        EXPECT_EQ(f.value(1, 3), c.sum);
        EXPECT_EQ(f.value(2, 3), c.twice);
        ASSERT_EQ(f.recalc.rangeList(1).size(), 1u);
        EXPECT_TRUE(f.cell(1, 3)->has(cellflag::kRangeDef));
    }
}

TEST(Recalc, ClearingALevelDropsItsRangeOperations) {
    ChainFixture f;
    f.enter(1, 1, "+1", 2);
    f.enter(1, 2, "+[1,1^2,1{[$]+[@]}]", 2);
    f.fill({{1, 1, "+1"}, {1, 2, "+[1,1^2,1{[$]+[@]}]"}});
    f.store.clearLevel(2);
    EXPECT_TRUE(f.recalc.rangeList(2).empty());
    f.enter(2, 1, "+4");
    EXPECT_EQ(f.value(1, 2), 5);
    ErrStat err;
    f.recalc.removeFromRangeList(*f.cell(2, 1), err);
    EXPECT_EQ(err.point, 3);
}

TEST(Recalc, FindDependentVisitsDirectThenRangeDependents) {
    ChainFixture f;
    f.fill({{1, 1, "+1"}, {3, 1, "+[1,1]"}, {2, 1, "+[1,1]*2"}, {4, 4, "+[1,1^2,1]"}, {5, 4, "+[2,1^2,1]"}});
    std::vector<std::string> seen;
    CellRec& target = *f.cell(1, 1);
    int64_t count = target.dependents;
    for (CellRec* d = f.recalc.findDependent(target, nullptr, count); d; d = f.recalc.findDependent(target, d, count)) {
        seen.push_back(addr(d->row, d->col));
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"[2,1]", "[3,1]", "[4,4]"}));
}

// The blocks a Range Operation reads come from its text as stored; a part that is not a literal spans
// everything, so such a cell is found too often rather than missed.
TEST(Recalc, CoverBoxesComeFromTheTextWithoutEvaluating) {
    const struct {
        const char* text;
        int row, col, level;
        bool covered;
    } cases[] = {
        {"+[1,1^3,2{[$]+[@]}]", 2, 2, 1, true},      {"+[1,1^3,2{[$]+[@]}]", 4, 1, 1, false},
        {"+[1,1^3,2{[$]+[@]}]", 2, 2, 2, false},     {"+[3, $1 ^ 1,1]", 2, 1, 1, true},
        {"+[1,1,,2^3,1,,4]", 2, 1, 3, true},         {"+[1,1,,2^3,1,,4]", 2, 1, 1, false},
        {"+[1,1^[*]+1,1]", 900, 1, 1, true},         {"+[1,1^[*]+1,1]", 900, 2, 1, false},
        {"+~1~0+[5,5,,3]", 5, 5, 3, true},           {"+~1~0+[5,5,,3]", 5, 5, 1, false},
        {"+[1,1^3,1{[@]*[2,7,,2]}]", 2, 7, 2, true}, {"+[1,1,2^1,1,5]", 1, 1, 1, true},
        {"+[1,1^2,2,,[1,1]]", 1, 2, 7, true},        {"+[1,1", 1, 1, 1, false},
        {"+[1,1^[7,2],1]", 7, 2, 1, true},           {"+[1,1^[7,2],1]", 7, 3, 1, false},
    };
    for (const auto& c : cases) {
        bool covered = false;
        for (const CoverBox& box : coverBoxes(c.text, 1)) covered = covered || box.holds(c.row, c.col, c.level);
        EXPECT_EQ(covered, c.covered) << c.text << " at " << addr(c.row, c.col) << " level " << c.level;
    }
}

// Looking for the Range Operations that use a cell computes nothing: a corner that writes into a label
// when it is evaluated writes only when its Range Operation runs.
TEST(Recalc, FindingRangeDependentsEvaluatesNothing) {
    ChainFixture f;
    f.fill({{9, 9, "A"}, {1, 1, "+1"}, {2, 1, "+2"}, {50, 50, "+7"}});
    f.enter(1, 3, "+[1,1^([9,9,1]=66)*0+2,1{[$]+[@]}]");
    EXPECT_EQ(f.text(9, 9), "B");  // entering ran it
    f.eval("[9,9,1]=65");          // back to "A" without running anything
    const auto firstRangeDependent = [&](int row, int col) {
        int64_t count = 0;
        const CellRec* found = f.recalc.findDependent(*f.cell(row, col), nullptr, count);
        return found != nullptr ? addr(found->row, found->col) : std::string("none");
    };
    EXPECT_EQ(firstRangeDependent(2, 1), "[1,3]");
    EXPECT_EQ(firstRangeDependent(50, 50), "none");
    EXPECT_EQ(f.text(9, 9), "A");
}

TEST(Recalc, RetryReentersFailedCellsKeepingTemplates) {
    ChainFixture f;
    f.fill({{1, 2, "+3"}, {1, 1, "+[1,2]"}});
    f.enter(1, 2, "+[1,1]");  // circular: kept as typed, failed
    ASSERT_TRUE(f.failed(1, 2));
    f.fill({{2, 1, "+1"}, {2, 2, "+[2,1]"}});
    f.enter(2, 1, "\"v [2,2]");  // a circular Variable Label
    ASSERT_TRUE(f.failed(2, 1));
    f.fill({{1, 1, "+5"}, {2, 2, "+7"}});
    EXPECT_TRUE(f.failed(1, 2));
    EXPECT_TRUE(f.recalc.retryFailedCells());
    EXPECT_EQ(f.value(1, 2), 5);
    EXPECT_FALSE(f.failed(2, 1));
    ASSERT_TRUE(f.cell(2, 1)->isVariableLabel());
    EXPECT_EQ(f.text(2, 1), "v 7.00");
    EXPECT_FALSE(f.recalc.retryFailedCells());
}

// Hands out memory from the system until armed, then refuses: what a level's heap sees when memory runs out.
class RefusingResource final : public std::pmr::memory_resource {
  public:
    bool armed = false;
    int refused = 0;

  private:
    void* do_allocate(std::size_t bytes, std::size_t align) override {
        if (armed) {
            ++refused;
            throw std::bad_alloc();
        }
        return std::pmr::new_delete_resource()->allocate(bytes, align);
    }
    void do_deallocate(void* p, std::size_t bytes, std::size_t align) override {
        std::pmr::new_delete_resource()->deallocate(p, bytes, align);
    }
    bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override { return this == &other; }
};

// Level heaps take their memory from the default resource current when they are made.
struct DefaultResource {
    explicit DefaultResource(std::pmr::memory_resource* r) : previous(std::pmr::set_default_resource(r)) {}
    ~DefaultResource() { std::pmr::set_default_resource(previous); }
    DefaultResource(const DefaultResource&) = delete;
    DefaultResource& operator=(const DefaultResource&) = delete;
    std::pmr::memory_resource* previous;
};

TEST(Recalc, AVariableLabelThatCannotStoreItsTextInASweepIsMarkedFailed) {
    const NotifyMode modes[] = {NotifyMode::CellOnly, NotifyMode::CellAndChain, NotifyMode::Sweep};
    for (const NotifyMode mode : modes) {
        RefusingResource memory;
        const DefaultResource installed(&memory);
        ChainFixture f;
        f.enter(1, 1, "'a", 2);
        f.enter(2, 1, "\"[1,1,,2]");
        ASSERT_EQ(f.text(2, 1), "a");
        // The label grows to a size its level's heap never held, so storing it needs new memory. The
        // text it shows lives on level 2 and is changed there without recalculation.
        f.enter(1, 1, "'" + std::string(200, 'b'), 2, kQuiet);
        CellRec& label = *f.cell(2, 1);
        label.set(cellflag::kRecalcPending);
        f.recalc.noteMarked(label);
        // A marked sweep passes over the cell it is given: it starts from another one.
        f.enter(3, 1, "+1", 1, kQuiet);
        CellRec& given = mode == NotifyMode::Sweep ? *f.cell(3, 1) : label;
        memory.armed = true;
        f.recalc.notify(given, mode);
        memory.armed = false;
        ASSERT_GT(memory.refused, 0) << "the refresh never asked for new memory";
        EXPECT_TRUE(f.failed(2, 1)) << static_cast<int>(mode);
    }
}

TEST(Recalc, WholeLevelMarksCircularCellsAndRecomputesTheRest) {
    ChainFixture f;
    f.fill({{1, 1, "+2"}, {1, 2, "+[1,1]*3"}});
    f.enter(2, 1, "+[2,2]+1", 1, kQuiet);
    f.enter(2, 2, "+[2,1]+1", 1, kQuiet);
    f.enter(2, 3, "+[2,2]", 1, kQuiet);
    f.cell(1, 2)->formula->value = 0;
    f.recalc.recalculateLevel(1);
    EXPECT_EQ(f.value(1, 2), 6);
    for (int col = 1; col <= 3; ++col) EXPECT_TRUE(f.failed(2, col)) << col;
    EXPECT_FALSE(f.failed(1, 2));
}

TEST(Recalc, OneCellRecalculation) {
    ChainFixture f;
    f.fill({{1, 1, "+2"}, {1, 2, "+[1,1]+1"}});
    f.cell(1, 2)->formula->value = 0;
    f.recalc.recalculateOneCell(*f.cell(1, 2));
    EXPECT_EQ(f.value(1, 2), 3);
    f.enter(2, 1, "+[1,1]+(1");
    ASSERT_TRUE(f.failed(2, 1));
    f.recalc.recalculateOneCell(*f.cell(2, 1));
    EXPECT_TRUE(f.failed(2, 1));
    EXPECT_EQ(f.text(2, 1), "+[1,1]+(1");
}

}  // namespace
}  // namespace qx
