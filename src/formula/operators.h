#pragma once
// The infix and prefix operators of the formula language: their codes, precedences, how they are read and
// what they compute. The evaluator and the compiled Range Operation bodies share them, so both give the
// same value for the same text, bit for bit.
#include <cstdint>

#include "core/numeric.h"

namespace qx::oper {

// Operator codes; they index the precedence table.
enum Op : int {
    kNoOp = 0,
    kNegate = 1,
    kNot = 2,
    kIncrement = 3,  // scripts only
    kDecrement = 4,  // scripts only
    kMul = 5,
    kDiv = 6,
    kMod = 7,
    kAdd = 8,
    kSub = 9,
    kShl = 10,
    kShr = 11,
    kGt = 12,
    kGe = 13,
    kLe = 14,
    kLt = 15,
    kEq = 16,
    kNe = 17,
    kAnd = 18,
    kOr = 20,
    kLogAnd = 21,
    kLogOr = 22,
    kCond = 23,
    kAssign = 24,
    kAddAssign = 25,
    kSubAssign = 26,
    kMulAssign = 27,
    kDivAssign = 28,
    kModAssign = 29,
    kShlAssign = 30,
    kShrAssign = 31,
    kAndAssign = 32,
    kOrAssign = 33,
};

inline constexpr int kPrecedence[34] = {0,  16, 16, 16, 15, 14, 14, 14, 13, 13, 12, 12, 11, 11, 11, 11, 10,
                                        10, 9,  8,  7,  6,  5,  4,  3,  3,  3,  3,  3,  3,  3,  3,  3,  3};
inline constexpr int kPowerPrecedence = 15;
inline constexpr int kAssignPrecedence = 3;

struct OpToken {
    int length;
    Op op;
};

// Longest match first: "<<=" before "<<" before "<=" before "<"; "==" before "="; "&&" before "&=" before "&".
inline OpToken matchOperator(const char* text, int pos) {
    const char c = text[pos];
    const char n = text[pos + 1];
    switch (c) {
        case '*':
            return n == '=' ? OpToken{2, kMulAssign} : OpToken{1, kMul};
        case '/':
            return n == '=' ? OpToken{2, kDivAssign} : OpToken{1, kDiv};
        case '%':
            return n == '=' ? OpToken{2, kModAssign} : OpToken{1, kMod};
        case '+':
            return n == '=' ? OpToken{2, kAddAssign} : OpToken{1, kAdd};
        case '-':
            return n == '=' ? OpToken{2, kSubAssign} : OpToken{1, kSub};
        case '<':
            if (n == '<') return text[pos + 2] == '=' ? OpToken{3, kShlAssign} : OpToken{2, kShl};
            return n == '=' ? OpToken{2, kLe} : OpToken{1, kLt};
        case '>':
            if (n == '>') return text[pos + 2] == '=' ? OpToken{3, kShrAssign} : OpToken{2, kShr};
            return n == '=' ? OpToken{2, kGe} : OpToken{1, kGt};
        case '=':
            return n == '=' ? OpToken{2, kEq} : OpToken{1, kAssign};
        case '!':
            return n == '=' ? OpToken{2, kNe} : OpToken{0, kNoOp};
        case '&':
            if (n == '&') return OpToken{2, kLogAnd};
            return n == '=' ? OpToken{2, kAndAssign} : OpToken{1, kAnd};
        case '|':
            if (n == '|') return OpToken{2, kLogOr};
            return n == '=' ? OpToken{2, kOrAssign} : OpToken{1, kOr};
        case '?':
            return OpToken{1, kCond};
        default:
            return OpToken{0, kNoOp};
    }
}

inline bool isTerminator(char c) {
    return c == '\0' || c == ')' || c == ',' || c == ']' || c == '}' || c == '{' || c == ':' || c == ';' || c == '^';
}

inline bool isAssignmentOp(int op) {
    return op >= kAssign;
}

// The operator a compound assignment applies before storing; kNoOp for anything else.
inline int compoundBase(int op) {
    switch (op) {
        case kAddAssign:
            return kAdd;
        case kSubAssign:
            return kSub;
        case kMulAssign:
            return kMul;
        case kDivAssign:
            return kDiv;
        case kModAssign:
            return kMod;
        case kShlAssign:
            return kShl;
        case kShrAssign:
            return kShr;
        case kAndAssign:
            return kAnd;
        case kOrAssign:
            return kOr;
        default:
            return kNoOp;
    }
}

// '/' by zero, or '%' by a value that truncates to zero.
inline bool zeroDivisor(int op, double b) {
    return (op == kDiv && b == 0.0) || (op == kMod && toInt32(b) == 0);
}

// The value of infix operator `op` (not a zero divisor); false for a code that is no infix operator.
inline bool infixValue(int op, double a, double b, double& result) {
    const int32_t ia = toInt32(a);
    const int32_t ib = toInt32(b);
    const auto shift = static_cast<uint32_t>(ib) & 31u;
    switch (op) {
        case kMul:
            result = a * b;
            return true;
        case kDiv:
            result = a / b;
            return true;
        case kMod:
            result = ib == -1 ? 0.0 : static_cast<double>(ia % ib);  // INT_MIN % -1 traps
            return true;
        case kAdd:
            result = a + b;
            return true;
        case kSub:
            result = a - b;
            return true;
        case kShl:
            result = static_cast<int32_t>(static_cast<uint32_t>(ia) << shift);
            return true;
        case kShr:
            result = ia >> shift;
            return true;
        case kGt:
            result = a > b;
            return true;
        case kGe:
            result = a >= b;
            return true;
        case kLe:
            result = a <= b;
            return true;
        case kLt:
            result = a < b;
            return true;
        case kEq:
            result = a == b;
            return true;
        case kNe:
            result = a != b;
            return true;
        case kAnd:
            result = ia & ib;
            return true;
        case kOr:
            result = ia | ib;
            return true;
        case kLogAnd:
            result = (a != 0.0) && (b != 0.0);
            return true;
        case kLogOr:
            result = (a != 0.0) || (b != 0.0);
            return true;
        default:
            return false;
    }
}

// '!': 1 when the operand truncates to zero.
inline double logicalNot(double v) {
    return toInt32(v) == 0 ? 1.0 : 0.0;
}

}  // namespace qx::oper
