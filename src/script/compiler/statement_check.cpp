#include <algorithm>
#include <array>

#include "script/compiler/body_check.h"
#include "script/compiler/body_checker.h"
#include "script/compiler/origins.h"
#include "script/keywords.h"

namespace qx {

using namespace origins::script_compiler;

namespace {

// A keyword is the whole run of lower-case letters at `p`: "if_" starts an if, "continuex" is a name.
Keyword keywordAt(std::string_view text, std::size_t p, std::size_t& length) {
    length = 0;
    while (p + length < text.size() && text[p + length] >= 'a' && text[p + length] <= 'z') ++length;
    return keywordOf(text.substr(p, length));
}

}  // namespace

BodyChecker::BodyChecker(std::string_view text, const std::vector<StringSpan>& strings,
                         const std::vector<std::string>& declared, ErrStat& err)
    : m_text(text), m_strings(strings), m_declared(declared), m_err(err), m_partner(text.size(), kNone) {
    // One pass pairs every bracket with a stack per kind, skipping strings and character
    // constants: no nesting depth can make it recurse.
    std::array<std::vector<std::size_t>, 3> open;
    std::size_t nextString = 0;
    for (std::size_t p = 0; p < text.size(); ++p) {
        if (nextString < strings.size() && p == strings[nextString].open) {
            p = strings[nextString++].close;
            continue;
        }
        if (isCharacterConstant(text, p)) {
            p += 2;
            continue;
        }
        const std::size_t kind = std::string_view("([{").find(text[p]);
        const std::size_t closing = std::string_view(")]}").find(text[p]);
        if (kind != std::string_view::npos) {
            open[kind].push_back(p);
        } else if (closing != std::string_view::npos && !open[closing].empty()) {
            m_partner[p] = open[closing].back();
            m_partner[open[closing].back()] = p;
            open[closing].pop_back();
        }
    }
}

bool BodyChecker::check() {
    // The reader paired the outer braces line by line; a character constant made of the ends of two
    // lines can pair them differently here.
    if (m_text.empty() || m_text[0] != '{' || m_partner[0] != m_text.size() - 1) {
        return fail(kStatementStep, 8, CompilerMsg::MissingClosingBrace, 0);
    }
    return block(0, 0);
}

bool BodyChecker::block(std::size_t open, int depth) {
    if (depth > kMaxNesting) return fail(kStatementStep, 7, CompilerMsg::IllegalExpression, open);
    const std::size_t close = m_partner[open];
    std::size_t p = open + 1;
    for (;;) {
        while (p < close && at(p) == ';') ++p;
        if (p >= close) return true;
        if (!statement(p, depth)) return false;
    }
}

bool BodyChecker::nestedBlock(std::size_t& p, Origin origin, int32_t noOpen, int32_t noClose, int depth) {
    if (at(p) != '{') return fail(origin, noOpen, CompilerMsg::MissingOpeningBrace, p);
    if (m_partner[p] == kNone) return fail(origin, noClose, CompilerMsg::MissingClosingBrace, p);
    if (!block(p, depth + 1)) return false;
    p = m_partner[p] + 1;
    return true;
}

bool BodyChecker::condition(std::size_t& p, Origin origin, int32_t noOpen, int32_t noClose, int depth) {
    if (at(p) != '(') return fail(origin, noOpen, CompilerMsg::MissingOpeningParen, p);
    const std::size_t close = m_partner[p];
    if (close == kNone) return fail(origin, noClose, CompilerMsg::MissingClosingParen, p);
    ++p;
    Held held = Held::Nothing;
    if (!expression(p, 2, depth + 1, held)) return false;
    if (p != close) return fail(kConditionStep, 1, CompilerMsg::MissingClosingParen, p);
    p = close + 1;
    return true;
}

bool BodyChecker::statement(std::size_t& p, int depth) {
    std::size_t length = 0;
    const Keyword keyword = keywordAt(m_text, p, length);
    const std::size_t start = p;
    if (keyword != Keyword::None) p += length;
    switch (keyword) {
        case Keyword::If:
            return ifChain(p, depth);
        case Keyword::While:
            return whileLoop(p, depth);
        case Keyword::For:
            return forLoop(p, depth);
        case Keyword::Else:
            return fail(kStatementStep, 2, CompilerMsg::ElseWithoutIf, start);
        case Keyword::ElseIf:
            return fail(kStatementStep, 3, CompilerMsg::ElseWithoutIf, start);
        case Keyword::Break:
        case Keyword::Continue:
            if (at(p) != ';') {
                return fail(kStatementStep, keyword == Keyword::Break ? 4 : 5, CompilerMsg::MissingSemicolon, p);
            }
            ++p;
            return true;
        case Keyword::Return:
        case Keyword::None: {
            Held held = Held::Nothing;
            if (at(p) != ';' && !expression(p, 1, depth + 1, held)) return false;
            if (at(p) != ';') {
                return keyword == Keyword::Return ? fail(kStatementStep, 6, CompilerMsg::MissingSemicolon, p)
                                                  : fail(kStatementStep, 1, CompilerMsg::IllegalExpression, p);
            }
            ++p;
            return true;
        }
    }
    return true;
}

bool BodyChecker::ifChain(std::size_t& p, int depth) {
    if (!condition(p, kIfStep, 50, 51, depth) || !nestedBlock(p, kIfStep, 52, 54, depth)) return false;
    bool sawElse = false;
    for (;;) {
        std::size_t length = 0;
        const Keyword keyword = keywordAt(m_text, p, length);
        if (keyword == Keyword::ElseIf) {
            // Accepted after an else as well: the chain simply goes on.
            p += length;
            if (!condition(p, kIfStep, 50, 51, depth) || !nestedBlock(p, kIfStep, 52, 54, depth)) return false;
        } else if (keyword == Keyword::Else) {
            if (sawElse) return fail(kIfStep, 56, CompilerMsg::SecondElse, p);
            sawElse = true;
            p += length;
            if (!nestedBlock(p, kIfStep, 53, 55, depth)) return false;
        } else {
            return true;
        }
    }
}

bool BodyChecker::whileLoop(std::size_t& p, int depth) {
    return condition(p, kWhileStep, 60, 61, depth) && nestedBlock(p, kWhileStep, 62, 63, depth);
}

bool BodyChecker::forLoop(std::size_t& p, int depth) {
    if (at(p) != '(') return fail(kForStep, 70, CompilerMsg::MissingOpeningParen, p);
    const std::size_t close = m_partner[p];
    if (close == kNone) return fail(kForStep, 71, CompilerMsg::MissingClosingParen, p);
    ++p;
    Held held = Held::Nothing;
    if (!expression(p, 1, depth + 1, held)) return false;
    if (p >= close || at(p) != ';') return fail(kForStep, 74, CompilerMsg::MissingForSemicolon, p);
    ++p;
    if (!expression(p, 1, depth + 1, held)) return false;
    if (p >= close || at(p) != ';') return fail(kForStep, 75, CompilerMsg::MissingForSemicolon, p);
    ++p;
    if (p != close && !expression(p, 1, depth + 1, held)) return false;
    if (p != close) return fail(kForStep, 76, CompilerMsg::MissingClosingParen, p);
    p = close + 1;
    return nestedBlock(p, kForStep, 72, 73, depth);
}

bool checkBody(const ScriptSource& script, const std::vector<std::string>& declared, ErrStat& err) {
    err.enter();
    BodyChecker checker(script.body, script.strings, declared, err);
    return checker.check();
}

}  // namespace qx
