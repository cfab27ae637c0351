#pragma once
// The state of one evaluation call, shared by the evaluator's source files.
#include "formula/evaluator.h"
#include "formula/operators.h"

namespace qx {

struct Evaluator::CallState {
    double value = 0.0;
    bool have = false;
    int prefix = oper::kNoOp;
    Lvalue lvalue = Lvalue::None;
    int regIndex = 0;
    CellAddress target;
    int variable = 0;  // a script operand: its number (from 1) and element index
    int index = 0;
    bool assignFollows = false;
};

}  // namespace qx
