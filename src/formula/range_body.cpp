// The compiler below follows Evaluator::evaluate step for step (prefixes, "**", precedence climbing, the
// conditional's single-operand condition and twice-run false branch, assignments grouping from the left),
// so a compiled segment computes exactly what the evaluator computes from the text.
#include "formula/range_body.h"

#include <cmath>
#include <string>

#include "formula/bracket_match.h"
#include "formula/evaluator.h"
#include "formula/operators.h"

namespace qx {

using namespace oper;

namespace {

// Deeper text is left to the evaluator, which owns the nesting limit.
constexpr int kMaxBodyDepth = 32;

class BodyCompiler {
  public:
    explicit BodyCompiler(const char* text) : m_s(text) {}

    RangeBody compile() {
        RangeBody body;
        const int start = skipBlanks(m_s, 0);
        if (m_s[start] == '\0') {
            body.shape = BodyShape::Count;
            return body;
        }
        int pos = start;
        const int root = call(pos, kOutermost);
        if (root < 0) return body;
        body.nodes = std::move(m_nodes);
        body.root = root;
        body.depth = m_maxDepth;
        body.shape = BodyShape::Program;
        recogniseSum(body);
        recogniseFold(body);
        return body;
    }

  private:
    struct State {
        int node = -1;
        bool have = false;
        int prefix = kNoOp;
        int lvalue = -1;  // the register an assignment would store into
    };

    int add(BodyNode n) {
        m_nodes.push_back(n);
        return static_cast<int>(m_nodes.size()) - 1;
    }
    int constant(double v) {
        BodyNode n;
        n.constant = v;
        return add(n);
    }
    int node(BodyNodeKind kind, int code, int a, int b = -1, int c = -1) {
        BodyNode n;
        n.kind = kind;
        n.code = static_cast<uint8_t>(code);
        n.a = a;
        n.b = b;
        n.c = c;
        return add(n);
    }

    int call(int& pos, int minPrec) {
        if (m_depth >= kMaxBodyDepth) return -1;
        ++m_depth;
        m_maxDepth = std::max(m_maxDepth, m_depth);
        const int result = callBody(pos, minPrec);
        --m_depth;
        return result;
    }

    int callBody(int& pos, int minPrec) {
        State st;
        for (;;) {
            pos = skipBlanks(m_s, pos);
            if (!st.have && !readPrefix(pos, st)) return -1;
            const char c = m_s[pos];
            if (isTerminator(c)) {
                if (st.have) {
                    if (c == ')' && minPrec == kOutermost) {
                        ++pos;
                        continue;
                    }
                    if (c == ')' && minPrec == kParenthesised) ++pos;
                    break;
                }
                if (c != ';') return -1;
                st.have = true;
                st.node = constant(0.0);
                continue;
            }
            if (!st.have) {
                if (!readOperand(pos, st) || !readPower(pos, st)) return -1;
                continue;
            }
            bool done = false;
            if (!applyInfix(pos, minPrec, st, done)) return -1;
            if (done) break;
        }
        return st.node;
    }

    bool readPrefix(int& pos, State& st) {
        while (m_s[pos] == '+' || isBlank(m_s[pos])) ++pos;
        if (m_s[pos] == '-') {
            if (m_s[pos + 1] == '-') return false;
            st.prefix = kNegate;
            ++pos;
        } else if (m_s[pos] == '!') {
            st.prefix = kNot;
            ++pos;
        }
        pos = skipBlanks(m_s, pos);
        return true;
    }

    bool readOperand(int& pos, State& st) {
        const char c = m_s[pos];
        st.lvalue = -1;
        int code = 0;
        if (c == '(') {
            ++pos;
            st.node = call(pos, kParenthesised);
        } else if (isDigit(c) || c == '.') {
            const NumberScan scan = scanNumber(m_s, pos);
            if (scan.result != NumberScanResult::Ok) return false;
            st.node = constant(scan.value);
            pos = scan.end;
        } else if (scanCharacter(m_s, pos, code)) {
            st.node = constant(code);
            pos += 3;
        } else if (c == '[' && registerAt(m_s, pos) >= 0) {
            st.lvalue = registerAt(m_s, pos);
            st.node = node(BodyNodeKind::Register, st.lvalue, -1);
            pos += 3;
        } else {
            return false;  // addresses, calls and script tokens are the evaluator's
        }
        if (st.node < 0) return false;
        st.have = true;
        const bool assignFollows = st.lvalue >= 0 && isAssignment(m_s, skipBlanks(m_s, pos));
        if (assignFollows || st.prefix == kNoOp) return true;
        st.node = node(st.prefix == kNegate ? BodyNodeKind::Negate : BodyNodeKind::Not, 0, st.node);
        st.lvalue = -1;
        return true;
    }

    bool readPower(int& pos, State& st) {
        const int p = skipBlanks(m_s, pos);
        if (m_s[p] != '*' || m_s[p + 1] != '*') return true;
        pos = p + 2;
        const int right = call(pos, kPowerPrecedence);
        if (right < 0) return false;
        st.node = node(BodyNodeKind::Power, 0, st.node, right);
        st.lvalue = -1;
        return true;
    }

    bool applyInfix(int& pos, int minPrec, State& st, bool& done) {
        const char c = m_s[pos];
        if (isDigit(c) || (c == '.' && isDigit(m_s[pos + 1]))) return false;
        const OpToken token = matchOperator(m_s, pos);
        if (token.op == kNoOp) return false;
        if (token.op == kCond) {
            ++pos;
            return conditional(pos, st);
        }
        if (kPrecedence[token.op] <= minPrec) {
            done = true;
            return true;
        }
        pos += token.length;
        if (!isAssignmentOp(token.op)) {
            const int right = call(pos, kPrecedence[token.op]);
            if (right < 0) return false;
            st.node = node(BodyNodeKind::Infix, token.op, st.node, right);
            st.lvalue = -1;
            return true;
        }
        if (st.lvalue < 0 || st.lvalue >= reg::kAssignableEnd) return false;
        const int right = call(pos, kAssignPrecedence);
        if (right < 0) return false;
        const int assign =
            node(BodyNodeKind::Assign, token.op == kAssign ? kNoOp : compoundBase(token.op), st.node, right);
        m_nodes[static_cast<std::size_t>(assign)].target = static_cast<uint8_t>(st.lvalue);
        st.node = assign;  // the register stays the target: a=b=c stores b, then c, into a
        return true;
    }

    bool conditional(int& pos, State& st) {
        const int question = pos - 1;
        const int colon = matchBracket(m_s, question);
        if (colon == question) return false;
        int end = colon + 1;
        const int falseBranch = call(end, kParenthesised);
        int branch = question + 1;
        const int trueBranch = call(branch, kParenthesised);
        if (falseBranch < 0 || trueBranch < 0) return false;
        pos = m_s[end] == ';' ? end + 1 : end;
        st.node = node(BodyNodeKind::Conditional, 0, st.node, trueBranch, falseBranch);
        st.lvalue = -1;
        return true;
    }

    // [$]+term or term+[$], where term reads [@] once or twice and nothing else.
    static void recogniseSum(RangeBody& body) {
        const auto at = [&](int i) -> const BodyNode& { return body.nodes[static_cast<std::size_t>(i)]; };
        const auto isReg = [&](int i, int r) {
            return at(i).kind == BodyNodeKind::Register && at(i).code == static_cast<uint8_t>(r);
        };
        const auto isConst = [&](int i) { return at(i).kind == BodyNodeKind::Constant; };
        const BodyNode& root = at(body.root);
        if (root.kind != BodyNodeKind::Infix || root.code != kAdd) return;
        int term = -1;
        if (isReg(root.a, reg::kResult))
            term = root.b;
        else if (isReg(root.b, reg::kResult))
            term = root.a;  // addition is commutative, bit for bit
        if (term < 0) return;
        const BodyNode& t = at(term);
        SumTerm kind = SumTerm::Value;
        double k = 0.0;
        if (isReg(term, reg::kValue)) {
            kind = SumTerm::Value;
        } else if (t.kind != BodyNodeKind::Infix) {
            return;
        } else if (t.code == kMul && isReg(t.a, reg::kValue) && isReg(t.b, reg::kValue)) {
            kind = SumTerm::Square;
        } else if ((t.code == kMul || t.code == kAdd) && isConst(t.a) && isReg(t.b, reg::kValue)) {
            kind = t.code == kMul ? SumTerm::Times : SumTerm::Plus;
            k = at(t.a).constant;
        } else if (isReg(t.a, reg::kValue) && isConst(t.b)) {
            k = at(t.b).constant;
            if (t.code == kMul)
                kind = SumTerm::Times;
            else if (t.code == kAdd)
                kind = SumTerm::Plus;
            else if (t.code == kSub)
                kind = SumTerm::Minus;
            else if (t.code == kDiv && k != 0.0)
                kind = SumTerm::Divided;
            else
                return;
        } else {
            return;
        }
        if (!ordinaryValue(k)) return;
        body.shape = BodyShape::Sum;
        body.term = kind;
        body.constant = k;
    }

    // ([#]==1)?[@]:[$]*[@] and ([#]==1)?[@]:((x cmp y)?p:q) over [@] and [$].
    static void recogniseFold(RangeBody& body) {
        const auto at = [&](int i) -> const BodyNode& { return body.nodes[static_cast<std::size_t>(i)]; };
        const auto isReg = [&](int i, int r) {
            return at(i).kind == BodyNodeKind::Register && at(i).code == static_cast<uint8_t>(r);
        };
        const auto operandPair = [&](int x, int y, bool& xIsValue) {
            xIsValue = isReg(x, reg::kValue);
            return (xIsValue && isReg(y, reg::kResult)) || (isReg(x, reg::kResult) && isReg(y, reg::kValue));
        };
        const BodyNode& root = at(body.root);
        if (root.kind != BodyNodeKind::Conditional || !isReg(root.b, reg::kValue)) return;
        const BodyNode& first = at(root.a);
        if (first.kind != BodyNodeKind::Infix || first.code != kEq || !isReg(first.a, reg::kCount)) return;
        if (at(first.b).kind != BodyNodeKind::Constant || at(first.b).constant != 1.0) return;
        const BodyNode& fold = at(root.c);
        Fold f;
        if (fold.kind == BodyNodeKind::Infix && fold.code == kMul && operandPair(fold.a, fold.b, f.xIsValue)) {
            f.kind = FoldKind::Product;
        } else if (fold.kind == BodyNodeKind::Conditional && at(fold.a).kind == BodyNodeKind::Infix &&
                   at(fold.a).code >= kGt && at(fold.a).code <= kNe &&
                   operandPair(at(fold.a).a, at(fold.a).b, f.xIsValue) && operandPair(fold.b, fold.c, f.pIsValue)) {
            f.kind = FoldKind::Select;
            f.compare = at(fold.a).code;
        } else {
            return;
        }
        body.shape = BodyShape::Fold;
        body.fold = f;
    }

    const char* m_s;
    std::vector<BodyNode> m_nodes;
    int m_depth = 0;
    int m_maxDepth = 0;
};

bool evalNode(const BodyNode* nodes, int32_t i, double* regs, double& out) {
    const BodyNode& n = nodes[i];
    double x = 0.0;
    double y = 0.0;
    switch (n.kind) {
        case BodyNodeKind::Constant:
            out = n.constant;
            break;
        case BodyNodeKind::Register:
            out = regs[n.code];
            break;
        case BodyNodeKind::Negate:
            if (!evalNode(nodes, n.a, regs, x)) return false;
            out = -x;
            break;
        case BodyNodeKind::Not:
            if (!evalNode(nodes, n.a, regs, x)) return false;
            out = logicalNot(x);
            break;
        case BodyNodeKind::Power:
            if (!evalNode(nodes, n.a, regs, x) || !evalNode(nodes, n.b, regs, y)) return false;
            out = std::pow(x, y);
            break;
        case BodyNodeKind::Infix:
            if (!evalNode(nodes, n.a, regs, x) || !evalNode(nodes, n.b, regs, y)) return false;
            if (zeroDivisor(n.code, y) || !infixValue(n.code, x, y, out)) return false;
            break;
        case BodyNodeKind::Assign:
            if (!evalNode(nodes, n.a, regs, x) || !evalNode(nodes, n.b, regs, y)) return false;
            out = y;
            if (n.code != kNoOp && (zeroDivisor(n.code, y) || !infixValue(n.code, x, y, out))) return false;
            regs[n.target] = out;
            break;
        case BodyNodeKind::Conditional:
            // The false branch runs once to be measured, then the chosen branch runs.
            if (!evalNode(nodes, n.a, regs, x) || !evalNode(nodes, n.c, regs, y)) return false;
            if (!evalNode(nodes, x != 0.0 ? n.b : n.c, regs, out)) return false;
            break;
    }
    return ordinaryValue(out);
}

}  // namespace

RangeBody compileRangeBody(std::string_view text) {
    const std::string copy(text);  // NUL-terminated, as the segment is while it runs
    return BodyCompiler(copy.c_str()).compile();
}

bool runRangeBody(const RangeBody& body, double* regs) {
    double value = 0.0;
    if (!evalNode(body.nodes.data(), body.root, regs, value)) return false;
    regs[reg::kResult] = value;
    return true;
}

}  // namespace qx
