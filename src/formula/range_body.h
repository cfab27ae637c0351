#pragma once
// A Range Operation segment compiled once, so a pass over thousands of cells does not read the text again
// for every cell. Only segments made of registers, constants and operators compile; anything else (cell
// addresses, calls, nested Range Operations, text the evaluator would refuse) is left to the evaluator.
// A compiled segment gives up, leaving the registers to the evaluator, wherever the evaluator could fail
// or could see a value it would refuse (division by zero, an overflow, NaN): the evaluator then runs the
// whole pass again and decides.
#include <cstdint>
#include <string_view>
#include <vector>

#include "formula/lexer.h"

namespace qx {

enum class BodyNodeKind : uint8_t { Constant, Register, Negate, Not, Power, Infix, Assign, Conditional };

struct BodyNode {
    BodyNodeKind kind = BodyNodeKind::Constant;
    uint8_t code = 0;    // the infix operator, the register, or for Assign the compound operator (0 for '=')
    uint8_t target = 0;  // the register an Assign stores into
    int32_t a = -1;      // operand; Assign: the value in hand; Conditional: the condition
    int32_t b = -1;      // right operand; Conditional: the true branch
    int32_t c = -1;      // Conditional: the false branch
    double constant = 0.0;
};

// What a pass runs for each cell. Count, Sum and Fold run as loops of their own.
enum class BodyShape : uint8_t { Evaluator, Count, Sum, Fold, Program };

// The term a running sum [$]+term adds for each value v.
enum class SumTerm : uint8_t { Value, Times, Plus, Minus, Divided, Square };

// ([#]==1)?[@]:fold, the form of a product, a minimum or a maximum: the first value starts the result,
// every later one is folded in. Select: (x cmp y)?p:q with x, y, p, q each [@] or [$].
enum class FoldKind : uint8_t { Product, Select };

struct Fold {
    FoldKind kind = FoldKind::Product;
    uint8_t compare = 0;  // the comparison operator of a Select
    bool xIsValue = false;
    bool pIsValue = false;
};

struct RangeBody {
    BodyShape shape = BodyShape::Evaluator;
    SumTerm term = SumTerm::Value;
    double constant = 0.0;
    Fold fold;
    std::vector<BodyNode> nodes;
    int32_t root = -1;
    int32_t depth = 0;  // evaluation calls the evaluator would nest to run it
};

// Compiles one segment's text (without its braces).
RangeBody compileRangeBody(std::string_view text);

// Runs a Program body once over the seven registers and stores the value into [$]; false when the
// evaluator must run the pass instead (the registers may be partly written then).
bool runRangeBody(const RangeBody& body, double* regs);

// The largest value an expression may compute, as the evaluator checks it.
inline bool ordinaryValue(double v) {
    return v < kFormulaInfinity && v > -kFormulaInfinity;  // false for NaN too
}

}  // namespace qx
