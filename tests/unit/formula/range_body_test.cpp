// Compiled Range Operation segments against the evaluator reading the text: the same value, failure and
// registers for every segment, on blocks holding numbers, labels, failed cells, placeholders, extreme
// values, Array Areas and other levels.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "formula_fixture.h"

namespace qx::test {
namespace {

struct Result {
    uint64_t bits = 0;
    ErrStat err;
};

class RangeBodyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::mt19937 rng(20);
        const char* numbers[] = {"+1", "+2.5", "+-3", "+0", "+7", "+1e300", "+0.1", "+-0.25"};
        for (int level = 1; level <= 2; ++level) {
            for (int row = 1; row <= 24; ++row) {
                for (int col = 1; col <= 4; ++col) {
                    const unsigned pick = rng() % 10;
                    if (pick < 6) fx.enter(row, col, numbers[rng() % 8], level);
                    if (pick == 6) fx.enter(row, col, "AB", level);
                    if (pick == 7) fx.enter(row, col, "+5", level), setFailed(row, col, level);
                }
            }
        }
        fx.enter(30, 6, "+[5,5]+[6,5]");  // leaves placeholders in the block [1,1^30,6]
        for (int row = 2; row <= 24; row += 1 + row % 3) {
            fx.enter(row, 6, "+" + std::to_string(row % 7 - 3));  // whole numbers only, 0 and -0 among them
        }
        setValue(12, 6, -0.0);
        setValue(9, 5, 1.6e308);
        setValue(10, 5, -1.6e308);
        setValue(11, 5, std::numeric_limits<double>::quiet_NaN());
        fx.enter(3, 3, "+4");
        ErrStat err;
        fx.store.setArraySize(fx.cell(3, 3), 5, err);
        const double elements[] = {1.5, -2, 0, 8, 1e300};
        fx.store.setArrayElements(fx.cell(3, 3), elements, 0, 4, err);
        fx.enter(40, 6, "+0");
        caller = fx.cell(40, 6);
    }

    void setFailed(int row, int col, int level) { fx.cell(row, col, level)->formula->setErrorMark(true); }
    void setValue(int row, int col, double v) {
        fx.enter(row, col, "+0");
        fx.cell(row, col)->formula->value = v;
    }

    Result run(const std::string& text, bool compiled, CellRec* cell) {
        fx.engine.evaluator().useCompiledBodies(compiled);
        std::string buffer = text;
        Result r;
        r.bits = std::bit_cast<uint64_t>(fx.engine.evaluator().evaluateFormula(cell, buffer.data(), r.err));
        EXPECT_EQ(buffer, text) << "the text is restored";
        return r;
    }

    // Every register is read back through a trailing segment.
    // `parens` nests the operation that deep inside parentheses.
    void expectSame(const std::string& range, int parens = 0) {
        const std::string open(static_cast<std::size_t>(parens), '(');
        const std::string close(static_cast<std::size_t>(parens), ')');
        const char* tails[] = {"", ";[#]", ";[@]", ";[*]", ";[-]", ";[|]", ";[%]"};
        for (CellRec* cell : {static_cast<CellRec*>(nullptr), caller}) {
            for (const char* tail : tails) {
                const std::string text = "+" + open + range.substr(0, range.size() - 1) + tail + "]" + close;
                const Result fast = run(text, true, cell);
                const Result slow = run(text, false, cell);
                EXPECT_EQ(fast.bits, slow.bits) << text;
                EXPECT_EQ(fast.err.point, slow.err.point) << text;
                EXPECT_EQ(fast.err.code, slow.err.code) << text;
                EXPECT_EQ(fast.err.position, slow.err.position) << text;
                EXPECT_EQ(fast.err.routine, slow.err.routine) << text;
                EXPECT_EQ(fast.err.savedRoutine, slow.err.savedRoutine) << text;
            }
        }
    }

    FormulaFixture fx;
    CellRec* caller = nullptr;
};

TEST_F(RangeBodyTest, CommonBodiesGiveTheEvaluatorsResults) {
    const char* bodies[] = {
        "",
        "[$]+[@]",
        "[@] + [$]",
        "[$]+[@]*2",
        "[$]+3*[@]",
        "[$]+[@]+1",
        "[$]+1+[@]",
        "[$]+[@]-0.5",
        "[$]+[@]/4",
        "[$]+[@]/0",
        "[$]+[@]*[@]",
        "([#]==1)?[@]:[$]*[@]",
        "([#]==1)?[@]:(([@]<[$])?[@]:[$])",
        "([#]==1)?[@]:(([@]>[$])?[@]:[$])",
        "([#]==1)?[@]:(([$]>=[@])?[$]:[@])",
        "([#]==1)?[@]:(([@]!=[$])?[$]:[@])",
        "([#]==1)?[@]:[@]*[$]",
        "([#]==1)?[@]:[$]*[@]*2",
        "([#]==2)?[@]:[$]*[@]",
        "[*]+=[@];[*]",
        "[$]+[@]**2",
        "[$]+[@]*1e300",
        "[$]=[$]+[@]",
        "[$]+[1,1]",
        "[$]+[@]+[2,2,,2]",
        "[-]=1",
        "[$]+(",
        "[$]++[@]",
        "--[@]",
        "[@] 2",
        ";",
        "[$]+[@])",
    };
    const char* blocks[] = {"[1,1^24,4", "[1,1^30,6",  "[5,2^5,2",  "[3,3,1^3,3,5",   "[3,3,2^3,3,9", "[1,1,,1^24,4,,2",
                            "[9,5^11,5", "[9,5^10,5",  "[20,4^1,1", "[3,3,0^3,3,2",   "[1,1^1,1,3",   "[1,6^29,6",
                            "[3,6^3,6",  "[14,6^12,6", "[1,3^24,3", "[0,6,,2^40,6,,2"};
    for (const char* block : blocks) {
        for (const char* body : bodies) {
            expectSame(std::string(block) + "{" + body + "}]");
            expectSame(std::string(block) + ";" + body + "]");
            expectSame(std::string(block) + "{" + body + "};[$]/[#]]");
        }
    }
}

// Random text built from what a segment may hold, much of it outside what compiles.
std::string randomExpression(std::mt19937& rng, int depth) {
    const char* registers[] = {"[#]", "[@]", "[*]", "[$]", "[-]", "[|]", "[%]"};
    const char* constants[] = {"0", "1", "2", "3", ".5", "1e300", "7", "0x10", "'A'", "1e-300"};
    const char* ops[] = {"+", "-", "*", "/", "%", "**", "<<", ">>", "<", ">=", "==", "!=", "&", "|", "&&", "||"};
    const char* odd[] = {";", ")", "[1,1]", "[3,3,2]", "[2,2,,2]", "1 2", "--1", "#1", "f(1)"};
    const unsigned pick = depth <= 0 ? rng() % 3 : rng() % 12;
    switch (pick) {
        case 0:
        case 1:
            return registers[rng() % 7];
        case 2:
            return constants[rng() % 10];
        case 3:
        case 4:
        case 5:
            return randomExpression(rng, depth - 1) + ops[rng() % 16] + randomExpression(rng, depth - 1);
        case 6:
            return "(" + randomExpression(rng, depth - 1) + ")";
        case 7:
            return std::string(rng() % 2 ? "-" : "!") + randomExpression(rng, depth - 1);
        case 8:
            return "(" + randomExpression(rng, depth - 1) + ")?" + randomExpression(rng, depth - 1) + ":" +
                   randomExpression(rng, depth - 1);
        case 9:
            return std::string(registers[rng() % 4]) + (rng() % 2 ? "=" : "+=") + randomExpression(rng, depth - 1);
        case 10:
            return "[$]+" + randomExpression(rng, depth - 1);
        default:
            return rng() % 4 == 0 ? odd[rng() % 9] : std::string(registers[rng() % 7]);
    }
}

TEST_F(RangeBodyTest, RandomBodiesGiveTheEvaluatorsResults) {
    std::mt19937 rng(2026);
    for (int i = 0; i < 400; ++i) {
        const int r1 = static_cast<int>(rng() % 26);
        const int r2 = static_cast<int>(rng() % 30);
        const int c1 = 1 + static_cast<int>(rng() % 6);
        const int c2 = 1 + static_cast<int>(rng() % 6);
        std::string block = "[" + std::to_string(r1) + "," + std::to_string(c1);
        if (rng() % 4 == 0) block += ",," + std::to_string(1 + rng() % 2);
        block += "^" + std::to_string(r2) + "," + std::to_string(c2);
        if (rng() % 4 == 0) block += ",," + std::to_string(1 + rng() % 3);
        const std::string body = randomExpression(rng, 3);
        expectSame(block + "{" + body + "}]");
        if (rng() % 2 == 0) expectSame(block + "{" + body + "}{" + randomExpression(rng, 2) + "};[$]]");
    }
}

TEST_F(RangeBodyTest, NestingAtTheEvaluatorsLimitFailsAlike) {
    for (int depth : {150, 190, 193, 194, 195, 196, 197, 198, 199}) {
        expectSame("[1,1^24,4{((([$]+[@])))}]", depth);
        expectSame("[1,1^24,4{}]", depth);
        const std::string open(static_cast<std::size_t>(depth), '(');
        const std::string close(static_cast<std::size_t>(depth), ')');
        expectSame("[1,1^24,4{" + open + "[$]+[@]" + close + "}]");
    }
}

TEST_F(RangeBodyTest, OperationsInsideSegmentsAndArgumentsUseTheirOwnRegisters) {
    expectSame("[1,1^3,2{[$]+[1,1^[-],2{[$]+[@]*[#]}]}]");
    expectSame("[1,1^3,2{[*]=[1,1^2,2;[$]+[@]]+[*]}]");
}

// The cells a pass visits, in its order, against a lookup of every place of the block: Formula cells
// only, row by row and column by column, whatever else the rows hold left and right of the block.
TEST_F(RangeBodyTest, PassesVisitTheFormulaCellsOfTheBlockInOrder) {
    std::mt19937 rng(7);
    for (int n = 0; n < 300; ++n) {
        const int r1 = 1 + static_cast<int>(rng() % 30);
        const int r2 = std::max(1, r1 + static_cast<int>(rng() % 12) - 2);
        const int c1 = 1 + static_cast<int>(rng() % 6);
        const int c2 = std::max(1, c1 + static_cast<int>(rng() % 3) - 1);
        const int level = 1 + static_cast<int>(rng() % 2);
        double expected = 0.0;
        for (int row = r1; row <= r2; ++row) {
            for (int col = c1; col <= c2; ++col) {
                const CellRec* c = fx.cell(row, col, level);
                if (c != nullptr && c->isFormula() && c->formula != nullptr) expected = expected * 3 + row * 8 + col;
            }
        }
        const std::string block = "[" + std::to_string(r1) + "," + std::to_string(c1) + ",," + std::to_string(level) +
                                  "^" + std::to_string(r2) + "," + std::to_string(c2) + ",," + std::to_string(level);
        for (bool compiled : {true, false}) {
            const Result r = run("+" + block + "{[$]*3+[-]*8+[|]}]", compiled, caller);
            EXPECT_EQ(r.err.point, 0) << block;
            EXPECT_EQ(std::bit_cast<double>(r.bits), expected) << block;
        }
    }
}

}  // namespace
}  // namespace qx::test
