// The Range Operation passes after an entry evaluate only the operations whose result can change: which
// ones they pick, and a random workbook kept side by side with one whose passes evaluate everything.
#include <gtest/gtest.h>

#include <bit>
#include <random>
#include <string>
#include <vector>

#include "unit/recalc/recalc_fixture.h"

namespace qx {
namespace {

using test::RecalcFixture;

struct PickCase {
    const char* name;
    const char* op;  // entered at [1,9]
    int row;         // the entry that follows, at [row, col]
    int col;
    bool evaluated;
};

TEST(RangePasses, EvaluateTheOperationsAnEntryCanChange) {
    const PickCase cases[] = {
        {"block covers the entry", "+[1,1^5,1{[$]+[@]}]", 3, 1, true},
        {"block does not", "+[1,1^5,1{[$]+[@]}]", 6, 1, false},
        {"count, other column", "+[1,1^5,1]", 3, 2, false},
        {"body reads the cell", "+[1,1^5,1{[$]+[@]*[7,2]}]", 7, 2, true},
        {"body reads another cell", "+[1,1^5,1{[$]+[@]*[7,2]}]", 7, 3, false},
        {"corner reads the cell", "+[1,1^[7,2],1{[$]+[@]}]", 7, 2, true},
        {"corner from a register", "+[1,1^[-]+4,1{[$]+[@]}]", 30, 1, true},
        {"corner from a register, other column", "+[1,1^[-]+4,1{[$]+[@]}]", 30, 2, false},
        {"another level", "+[1,1^5,1{[$]+[@]+[1,1,,2]}]", 30, 4, true},
        {"writes a cell", "+[1,1^5,1{[1,3,1]=[@]}]", 30, 4, true},
        {"writes a register", "+[1,1^5,1{[*]+=[@]}]", 30, 4, false},
        {"compares", "+[1,1^5,1{([@]>=[$])?[@]:[$]}]", 30, 4, false},
    };
    for (const PickCase& c : cases) {
        RecalcFixture f;
        for (int row = 1; row <= 8; ++row) f.enter(row, 1, "+" + std::to_string(row));
        f.enter(7, 2, "+2");
        f.enter(7, 3, "+3");
        f.enter(1, 9, c.op);
        CellRec* op = f.cell(1, 9);
        ASSERT_TRUE(op != nullptr && op->has(cellflag::kRangeDef)) << c.name;
        op->set(cellflag::kForceDisplay, false);
        const uint64_t before = f.recalc.passEvaluations();
        f.enter(c.row, c.col, "+11");
        EXPECT_EQ(f.recalc.passEvaluations() - before, c.evaluated ? 1U : 0U) << c.name;
        // Passed over or not, the operation shows as evaluated, as it did when every pass evaluated it.
        EXPECT_TRUE(op->has(cellflag::kForceDisplay)) << c.name;
    }
}

// An operation read by a formula that reads another level is evaluated after every entry, as its chain
// was; and so is every operation after a change that reached the level without its place.
TEST(RangePasses, EvaluateAllWhenTheirReadersOrTheLevelAreNotKnown) {
    RecalcFixture f;
    for (int row = 1; row <= 5; ++row) f.enter(row, 1, "+" + std::to_string(row));
    f.fill({{1, 9, "+[1,1^5,1{[$]+[@]}]"}, {2, 9, "+[1,1^5,1]"}, {3, 9, "+[2,9]+[1,1,,2]"}});
    uint64_t before = f.recalc.passEvaluations();
    f.enter(20, 4, "+1");
    EXPECT_EQ(f.recalc.passEvaluations() - before, 1U);  // only the count, for its reader

    f.store.levelPtr(1)->changed = true;  // a writer that names no place
    before = f.recalc.passEvaluations();
    f.enter(20, 4, "+2");
    EXPECT_EQ(f.recalc.passEvaluations() - before, 2U);
}

// A formula that writes an element of its own Array Area keeps its value, so only the element's place
// tells the passes that the operation reading it changes.
TEST(RangePasses, AnElementWrittenByItsOwnFormulaIsReadAgain) {
    RecalcFixture f;
    f.fill({{1, 1, "+1"}, {1, 3, "+1"}, {2, 5, "+0"}});
    ErrStat err;
    ASSERT_EQ(f.store.setArraySize(f.cell(2, 5), 2, err), 2);
    f.enter(2, 5, "+([2,5,1]=[1,1])*0");
    f.enter(1, 9, "+[1,3^5,3{[$]+[@]+[2,5,1]}]");
    ASSERT_FALSE(f.cell(2, 5)->formula->errorMark());
    ASSERT_EQ(f.cell(1, 9)->formula->value, 2.0);
    f.enter(1, 1, "+7");
    EXPECT_EQ(f.cell(1, 9)->formula->value, 8.0);
}

// --- a random workbook, side by side ---

std::string place(int row, int col) {
    return "[" + std::to_string(row) + "," + std::to_string(col) + "]";
}

// An operation that failed is computed unmarked: reading its own column, it reads its own last value, and
// so must every pass that reads the column while it is computed, however the pass reads it.
TEST(RangePasses, AFailedOperationReadsItsOwnColumnUnmarked) {
    RecalcFixture fast;
    RecalcFixture reference;
    reference.engine.evaluator().useCompiledBodies(false);
    for (RecalcFixture* f : {&fast, &reference}) {
        for (int row = 1; row <= 4; ++row) f->enter(row, 1, "+" + std::to_string(row) + ".5");
        f->enter(1, 3, "+1");
        f->enter(6, 2, "+[1,3]*0+[1,1^6,1{[$]+[@]}]");  // evaluated first, it leaves column 1 read
        f->enter(5, 1, "+[1,1^5,1{[$]+[@]}]+1/[1,3]");
    }
    for (const char* divisor : {"+0", "+2", "+0", "+0", "+4"}) {
        for (RecalcFixture* f : {&fast, &reference}) f->enter(1, 3, divisor);
        for (auto [row, col] : {std::pair{5, 1}, std::pair{6, 2}}) {
            const FormulaRec& a = *fast.cell(row, col)->formula;
            const FormulaRec& b = *reference.cell(row, col)->formula;
            EXPECT_EQ(std::bit_cast<uint64_t>(a.value), std::bit_cast<uint64_t>(b.value))
                << divisor << " " << place(row, col);
            EXPECT_EQ(a.errorMark(), b.errorMark()) << divisor << " " << place(row, col);
        }
    }
}

// 0 and -0 compare equal, so the chain stops at a cell that turns from one into the other; the operations
// reading it must still see the new sign, as they did when every operation was evaluated.
TEST(RangePasses, ANewSignOfZeroReachesTheOperationsReadingIt) {
    RecalcFixture selective;
    RecalcFixture everything;
    everything.recalc.setSelectivePasses(false);
    for (RecalcFixture* f : {&selective, &everything}) {
        f->enter(1, 1, "+0");
        f->enter(2, 1, "+2");
        f->enter(3, 1, "+[1,1]*([2,1]-1)");
        f->enter(1, 9, "+[3,1^3,1{([#]==1)?[@]:[$]*[@]}]");
    }
    for (const char* factor : {"+0", "+2", "+0"}) {
        for (RecalcFixture* f : {&selective, &everything}) f->enter(2, 1, factor);
        EXPECT_EQ(std::bit_cast<uint64_t>(selective.cell(1, 9)->formula->value),
                  std::bit_cast<uint64_t>(everything.cell(1, 9)->formula->value))
            << factor;
    }
}

constexpr int kRows = 12;
constexpr int kCols = 6;

std::string randomEntry(std::mt19937& rng) {
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    auto any = [&] { return place(1 + pick(kRows), 1 + pick(kCols)); };
    auto block = [&] {
        const int r = 1 + pick(kRows);
        const int c = 1 + pick(kCols);
        return "[" + std::to_string(r) + "," + std::to_string(c) + "^" + std::to_string(r + pick(5)) + "," +
               std::to_string(c + pick(2));
    };
    switch (pick(16)) {
        case 0:
            return "'ab";
        case 1:
            return "+" + any() + "/" + any();  // fails while the divisor is 0
        case 2:
            return "+" + any() + "+" + any();
        case 3:
            return "+" + block() + "{[$]+[@]}]";
        case 4:
            return "+" + block() + "]";
        case 5:
            return "+" + block() + "{([#]==1)?[@]:(([@]<[$])?[@]:[$])}]";
        case 6:
            return "+" + block() + "{[$]+[@]};[$]/[#]]";
        case 7:
            return "+" + block() + "{[$]+[@]*" + any() + "}]";
        case 8:
            return "+[[-]-2,[|]-1^[-]-1,[|]-1{[$]+[@]}]";
        case 9:
            return "+" + block() + "{[$]+[[-],[|],1]}]";  // a label's first character
        case 10:
            return "+" + block() + "{[$]+[@]+[1,1,,2]}]";
        case 11:
            return "+" + block() + "{[*]=[*]+[@]};[*]+1]";
        case 12:
            return "+" + any() + "*2";
        default:
            return "+" + std::to_string(pick(4));
    }
}

struct Mismatch {
    bool found = false;
    std::string where;
};

Mismatch compareLevels(RecalcFixture& a, RecalcFixture& b) {
    for (int level = 1; level <= 2; ++level) {
        for (int row = 1; row <= kRows + 8; ++row) {
            for (int col = 1; col <= kCols + 3; ++col) {
                const CellRec* x = a.cell(row, col, level);
                const CellRec* y = b.cell(row, col, level);
                const std::string where = place(row, col) + " level " + std::to_string(level);
                if ((x == nullptr) != (y == nullptr)) return {true, where + ": only one exists"};
                if (x == nullptr) continue;
                if (x->type() != y->type() || x->textView() != y->textView()) return {true, where + ": type or text"};
                if ((x->formula == nullptr) != (y->formula == nullptr)) return {true, where + ": formula record"};
                if (x->formula == nullptr) continue;
                if (std::bit_cast<uint64_t>(x->formula->value) != std::bit_cast<uint64_t>(y->formula->value) ||
                    x->formula->errorMark() != y->formula->errorMark()) {
                    return {true, where + ": " + std::to_string(x->formula->value) + " against " +
                                      std::to_string(y->formula->value)};
                }
            }
        }
    }
    return {};
}

TEST(RangePasses, RandomEntriesGiveTheValuesOfEvaluatingEverything) {
    for (unsigned seed = 1; seed <= 12; ++seed) {
        std::mt19937 rng(seed);
        RecalcFixture selective;
        RecalcFixture everything;
        everything.recalc.setSelectivePasses(false);
        // The reference reads every cell through the evaluator: no compiled segment, no column copy.
        everything.engine.evaluator().useCompiledBodies(false);
        const uint16_t passes = seed % 4 == 0 ? 2 : 1;
        selective.store.levelPtr(1)->defaults.rangePasses = passes;
        everything.store.levelPtr(1)->defaults.rangePasses = passes;
        for (int step = 0; step < 80; ++step) {
            const bool otherLevel = rng() % 12 == 0;
            const int row = 1 + static_cast<int>(rng() % (kRows + 6));
            const int col = 1 + static_cast<int>(rng() % (kCols + 2));
            const bool deleting = rng() % 10 == 0;
            const std::string text = otherLevel ? "+" + std::to_string(rng() % 5) : randomEntry(rng);
            for (RecalcFixture* f : {&selective, &everything}) {
                if (deleting) {
                    ErrStat err;
                    f->store.deleteBlock(1, row, col, row + 1, col, NotifyMode::Edit, false, err);
                    continue;
                }
                f->enter(otherLevel ? 1 : row, otherLevel ? 1 : col, text, otherLevel ? 2 : 1);
                f->recalc.retryFailedCells();
            }
            const Mismatch m = compareLevels(selective, everything);
            ASSERT_FALSE(m.found) << "seed " << seed << " step " << step << " " << text << " at " << place(row, col)
                                  << ": " << m.where;
        }
    }
}

}  // namespace
}  // namespace qx
