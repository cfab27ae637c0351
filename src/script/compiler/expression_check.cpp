#include <algorithm>
#include <array>
#include <cctype>

#include "script/compiler/body_check.h"
#include "script/compiler/body_checker.h"
#include "script/compiler/declarations.h"
#include "script/compiler/origins.h"

namespace qx {

using namespace origins::script_compiler;

namespace {

struct Operator {
    std::string_view text;
    int precedence;
    bool assigns;
};

// Longer operators first, so the longest match wins.
constexpr std::array kOperators = std::to_array<Operator>({
    {"<<=", 3, true},  {">>=", 3, true},  {"**", 15, false}, {"<<", 12, false}, {">>", 12, false}, {">=", 11, false},
    {"<=", 11, false}, {"==", 10, false}, {"!=", 10, false}, {"&&", 6, false},  {"||", 5, false},  {"+=", 3, true},
    {"-=", 3, true},   {"*=", 3, true},   {"/=", 3, true},   {"%=", 3, true},   {"&=", 3, true},   {"|=", 3, true},
    {"*", 14, false},  {"/", 14, false},  {"%", 14, false},  {"+", 13, false},  {"-", 13, false},  {">", 11, false},
    {"<", 11, false},  {"&", 9, false},   {"|", 7, false},   {"?", 4, false},   {"=", 3, true},
});

const Operator* operatorAt(std::string_view text, std::size_t p) {
    const std::string_view rest = text.substr(p);
    for (const Operator& op : kOperators) {
        if (rest.starts_with(op.text)) return &op;
    }
    return nullptr;
}

bool isDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

bool assignable(Held held) {
    return held == Held::Variable || held == Held::Element || held == Held::Cell || held == Held::Register;
}

}  // namespace

bool BodyChecker::isTerminator(std::size_t p) const {
    return p >= m_text.size() || std::string_view(")],}{:;^").find(m_text[p]) != std::string_view::npos;
}

bool BodyChecker::startsString(std::size_t p) const {
    auto it = std::lower_bound(m_strings.begin(), m_strings.end(), p,
                               [](const StringSpan& s, std::size_t pos) { return s.open < pos; });
    return it != m_strings.end() && it->open == p;
}

bool BodyChecker::declared(std::string_view name) const {
    return std::find(m_declared.begin(), m_declared.end(), name) != m_declared.end();
}

bool BodyChecker::prefixes(std::size_t& p, bool& any, bool& increment) {
    for (;;) {
        const char c = at(p);
        if ((c == '+' || c == '-') && at(p + 1) == c) {
            if (at(p + 2) == c) return fail(kExpressionStep, c == '+' ? 5 : 6, CompilerMsg::IllegalExpression, p);
            increment = any = true;
            p += 2;
            return true;  // the operand follows at once
        }
        if (c != '+' && c != '-' && c != '!') return true;
        any = true;
        ++p;
    }
}

// Checks an expression from `p`, leaving `p` at the character that ended it. Like the evaluator, an
// operator whose precedence is not above `minPrecedence` ends it for the caller.
bool BodyChecker::expression(std::size_t& p, int minPrecedence, int depth, Held& held) {
    if (depth > kMaxNesting) return fail(kExpressionStep, 60, CompilerMsg::IllegalExpression, p);
    held = Held::Nothing;
    for (;;) {
        if (held == Held::Nothing) {
            bool any = false;
            bool increment = false;
            const std::size_t start = p;
            if (!prefixes(p, any, increment)) return false;
            if (isTerminator(p)) {
                if (any) return fail(kExpressionStep, 52, CompilerMsg::IllegalExpression, p);
                if (at(p) == ';') {
                    held = Held::Value;  // an empty expression
                    return true;
                }
                return fail(kExpressionStep, 10, CompilerMsg::IllegallyTerminated, p);
            }
            if (!operand(p, depth, held)) return false;
            if (increment && held != Held::Variable && held != Held::Element) {
                constexpr std::array<int32_t, 8> kSites{11, 11, 14, 11, 11, 20, 21, 21};
                return fail(kExpressionStep, kSites[static_cast<std::size_t>(held)], CompilerMsg::IllegalIncrement,
                            start);
            }
            while (at(p) == '*' && at(p + 1) == '*') {
                p += 2;
                Held right = Held::Nothing;
                if (!expression(p, 15, depth + 1, right)) return false;
                held = Held::Computed;
            }
            continue;
        }
        if (isTerminator(p)) return true;
        const Operator* op = operatorAt(m_text, p);
        if (op == nullptr) return fail(kExpressionStep, 42, CompilerMsg::IllegalOperator, p);
        if (op->text == "?") {
            ++p;
            if (!conditional(p, depth)) return false;
            held = Held::Computed;
            continue;
        }
        if (op->precedence <= minPrecedence) return true;
        if (op->assigns) {
            if (held == Held::ReadOnlyRegister) return fail(kExpressionStep, 46, CompilerMsg::AssignmentError, p);
            if (!assignable(held)) {
                return fail(kExpressionStep, held == Held::Computed ? 50 : 45, CompilerMsg::AssignmentError, p);
            }
        }
        p += op->text.size();
        Held right = Held::Nothing;
        if (!expression(p, op->assigns ? 3 : op->precedence, depth + 1, right)) return false;
        if (!op->assigns) held = Held::Computed;
    }
}

// After '?': the true branch runs to its ':', the false branch to the end of the expression.
bool BodyChecker::conditional(std::size_t& p, int depth) {
    Held held = Held::Nothing;
    if (!expression(p, 1, depth + 1, held)) return false;
    if (at(p) != ':') return fail(kExpressionStep, 43, CompilerMsg::MissingConditional, p);
    ++p;
    if (!expression(p, 2, depth + 1, held)) return false;
    if (at(p) == ':') return fail(kExpressionStep, 44, CompilerMsg::MissingConditional, p);
    return true;
}

bool BodyChecker::operand(std::size_t& p, int depth, Held& held) {
    const char c = at(p);
    held = Held::Value;
    if (c == '(') {
        ++p;
        Held inner = Held::Nothing;
        if (!expression(p, 2, depth + 1, inner)) return false;
        if (at(p) != ')') return fail(kExpressionStep, 18, CompilerMsg::MissingClosingParen, p);
        ++p;
        return true;
    }
    if (isDigit(c) || (c == '.' && isDigit(at(p + 1)))) return number(p);
    if (c == '\'') {
        if (!isCharacterConstant(m_text, p)) return fail(kExpressionStep, 40, CompilerMsg::IllegalExpression, p);
        p += 3;
        return true;
    }
    if (c == '[') return bracket(p, depth, held);
    if (isScriptNameStart(c) || c == '@') return identifier(p, depth, held);
    if (c == '~') return fail(kExpressionStep, 26, CompilerMsg::IllegalCharacter, p);
    if (c == '$') return fail(kExpressionStep, 27, CompilerMsg::IllegalCharacter, p);
    if (c == '#') return fail(kExpressionStep, 28, CompilerMsg::IllegalCharacter, p);
    if (c == '"') return fail(kExpressionStep, 41, CompilerMsg::IllegalExpression, p);
    if (operatorAt(m_text, p) != nullptr) return fail(kExpressionStep, 52, CompilerMsg::IllegalExpression, p);
    return fail(kExpressionStep, 40, CompilerMsg::IllegalExpression, p);
}

// Decimal, octal (leading 0) and hexadecimal ("0x") constants.
bool BodyChecker::number(std::size_t& p) {
    if (at(p) == '0' && (at(p + 1) == 'x' || at(p + 1) == 'X')) {
        p += 2;
        const std::size_t digits = p;
        while (std::isxdigit(static_cast<unsigned char>(at(p))) != 0) ++p;
        if (p == digits) return fail(kNumberStep, 2, CompilerMsg::IllegalExpression, p);
        return true;
    }
    if (at(p) == '0' && isDigit(at(p + 1))) {
        ++p;
        while (isDigit(at(p))) {
            if (at(p) > '7') return fail(kNumberStep, 1, CompilerMsg::IllegalExpression, p);
            ++p;
        }
        return true;
    }
    while (isDigit(at(p))) ++p;
    if (at(p) == '.') ++p;
    while (isDigit(at(p))) ++p;
    // An exponent needs its sign: in 1e5 the number 1 is followed by the name e5.
    if ((at(p) == 'e' || at(p) == 'E') && (at(p + 1) == '+' || at(p + 1) == '-')) {
        if (!isDigit(at(p + 2))) return fail(kNumberStep, 2, CompilerMsg::IllegalExpression, p);
        p += 2;
        while (isDigit(at(p))) ++p;
    }
    return true;
}

bool BodyChecker::identifier(std::size_t& p, int depth, Held& held) {
    const std::size_t start = p;
    while (isScriptNameChar(at(p))) ++p;
    if (at(p) == '(') return call(p, depth);
    if (!declared(m_text.substr(start, p - start))) {
        return fail(kExpressionStep, 13, CompilerMsg::UndefinedSymbol, start);
    }
    held = Held::Variable;
    if (at(p) != '[') return true;
    ++p;
    Held index = Held::Nothing;
    if (!expression(p, 2, depth + 1, index)) return false;
    if (at(p) != ']') return fail(kExpressionStep, 12, CompilerMsg::MissingElementBracket, p);
    ++p;
    held = Held::Element;
    return true;
}

bool BodyChecker::call(std::size_t& p, int depth) {
    ++p;  // '('
    if (at(p) == ')') {
        ++p;
        return true;
    }
    for (;;) {
        if (p >= m_text.size()) return fail(kExpressionStep, 17, CompilerMsg::MissingClosingParen, p);
        if (startsString(p)) {
            auto it = std::lower_bound(m_strings.begin(), m_strings.end(), p,
                                       [](const StringSpan& s, std::size_t pos) { return s.open < pos; });
            p = it->close + 1;
        } else if (at(p) == '"') {
            return fail(kExpressionStep, 15, CompilerMsg::MissingQuote, p);
        } else {
            Held held = Held::Nothing;
            if (!expression(p, 2, depth + 1, held)) return false;
        }
        if (p >= m_text.size()) return fail(kExpressionStep, 17, CompilerMsg::MissingClosingParen, p);
        if (at(p) == ')') {
            ++p;
            return true;
        }
        if (at(p) != ',') return fail(kExpressionStep, 16, CompilerMsg::ParameterListSyntax, p);
        ++p;
    }
}

// '[' starts a range register ([#] [@] [*] [$], read-only [-] [|] [%]), a cell address or a Range
// Operation.
bool BodyChecker::bracket(std::size_t& p, int depth, Held& held) {
    const char inside = at(p + 1);
    if (at(p + 2) == ']' && inside != '\0' && std::string_view("#@*$-|%").find(inside) != std::string_view::npos) {
        held = std::string_view("-|%").find(inside) != std::string_view::npos ? Held::ReadOnlyRegister : Held::Register;
        p += 3;
        return true;
    }
    if (m_partner[p] == kNone) return fail(kExpressionStep, 23, CompilerMsg::MissingElementBracket, p);
    ++p;
    if (!addressParts(p, depth, false)) return false;
    if (at(p) == ']') {
        ++p;
        held = Held::Cell;
        return true;
    }
    if (at(p) == ';' || at(p) == '{') return fail(kRangeOperationStep, 3, CompilerMsg::MissingRangeCaret, p);
    if (at(p) != '^') return fail(kExpressionStep, 24, CompilerMsg::MissingElementBracket, p);
    ++p;
    if (!addressParts(p, depth, true)) return false;
    held = Held::Value;
    return rangeSegments(p, depth);
}

// An address part, which may be marked absolute with '$' before an integer.
bool BodyChecker::addressPart(std::size_t& p, int depth) {
    if (at(p) == '$' && (isDigit(at(p + 1)) || ((at(p + 1) == '-' || at(p + 1) == '+') && isDigit(at(p + 2))))) ++p;
    Held held = Held::Nothing;
    return expression(p, 1, depth + 1, held);
}

// Row, column and the optional element and level; `p` is left at the character that ends them.
bool BodyChecker::addressParts(std::size_t& p, int depth, bool secondCorner) {
    if (!addressPart(p, depth)) return false;
    if (at(p) != ',') {
        if (at(p) == ']' || at(p) == '^' || at(p) == ';' || at(p) == '{') {
            return fail(kCellAddressStep, 4, CompilerMsg::MissingColumn, p);
        }
        return fail(kCellAddressStep, 1, CompilerMsg::CellAddressTermination, p);
    }
    ++p;
    if (!addressPart(p, depth)) return false;
    for (int part = 0; part < 2 && at(p) == ','; ++part) {
        ++p;
        const bool empty = part == 0 && (at(p) == ',' || at(p) == ']' || at(p) == '^');
        if (!empty && !addressPart(p, depth)) return false;
    }
    const std::string_view enders = secondCorner ? "];{" : "]^;{";
    if (p >= m_text.size()) return fail(kExpressionStep, 24, CompilerMsg::MissingElementBracket, p);
    if (enders.find(at(p)) == std::string_view::npos) {
        return fail(kCellAddressStep, at(p) == ',' ? 2 : 3, CompilerMsg::CellAddressTermination, p);
    }
    return true;
}

// After the second corner: segments separated by ';', braced or not, up to the closing ']'.
bool BodyChecker::rangeSegments(std::size_t& p, int depth) {
    for (;;) {
        const char c = at(p);
        if (p >= m_text.size()) return fail(kExpressionStep, 24, CompilerMsg::MissingElementBracket, p);
        if (c == ']') {
            ++p;
            return true;
        }
        Held held = Held::Nothing;
        if (c == '{') {
            const std::size_t close = m_partner[p];
            if (close == kNone) return fail(kRangeOperationStep, 2, CompilerMsg::MissingRangeBrace, p);
            ++p;
            if (at(p) != '}' && !expression(p, 1, depth + 1, held)) return false;
            if (p != close) return fail(kRangeOperationStep, 2, CompilerMsg::MissingRangeBrace, p);
            ++p;
            continue;
        }
        if (c != ';') return fail(kRangeOperationStep, 4, CompilerMsg::IllegalExpression, p);
        while (at(p) == ';') ++p;
        if (at(p) == '{' || at(p) == ']') continue;
        if (!expression(p, 1, depth + 1, held)) return false;
        if (at(p) != ';' && at(p) != ']') return fail(kRangeOperationStep, 4, CompilerMsg::IllegalExpression, p);
    }
}

}  // namespace qx
