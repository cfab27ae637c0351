#include "script/runtime/statement_runner.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "core/cell_store.h"
#include "core/err_report.h"
#include "core/scope_exit.h"
#include "formula/bracket_match.h"
#include "formula/lexer.h"
#include "formula/origins.h"
#include "platform/platform.h"
#include "script/keywords.h"

namespace qx {

using namespace origins::formula;

namespace {

// The clock is read once per so many statements and loop turns, the front end polled at most this often.
constexpr int kTurnsPerClockRead = 64;
constexpr double kPollIntervalMs = 20.0;

// Failures that say why the whole script stopped; a statement or condition passes them on as they are.
bool stopsTheScript(const ErrStat& err) {
    return err.is(Msg::ScriptNestingTooDeep) || err.is(Msg::ScriptInterrupted);
}

struct KeywordAt {
    Keyword keyword = Keyword::None;
    int end = 0;  // first character after the keyword
};

// The keyword at `pos` and the character after it, or None with `pos` itself.
KeywordAt keywordAt(const char* text, int pos) {
    int end = pos;
    while (text[end] >= 'a' && text[end] <= 'z') ++end;
    const Keyword keyword = keywordOf(std::string_view(text + pos, static_cast<std::size_t>(end - pos)));
    if (keyword == Keyword::None) return {Keyword::None, pos};
    return {keyword, end};
}

bool fail(ErrStat& err, Origin o, int point, int position, Msg code) {
    err.position = position;
    return err.fail(o, point, code);
}

int skipSemicolons(const char* text, int pos) {
    while (text[pos] == ';') ++pos;
    return pos;
}

// The first ';' from `from` before `to` outside brackets, strings and character constants; -1 when none.
int semicolonIn(const char* text, int from, int to) {
    int depth = 0;
    for (int i = from; i < to; ++i) {
        const char c = text[i];
        int value = 0;
        if (c == '\'' && scanCharacter(text, i, value)) {
            i += 2;
        } else if (c == '"') {
            while (i + 1 < to && text[i + 1] != '"') ++i;
            ++i;
        } else if (c == '(' || c == '[' || c == '{') {
            ++depth;
        } else if (c == ')' || c == ']' || c == '}') {
            --depth;
        } else if (c == ';' && depth == 0) {
            return i;
        }
    }
    return -1;
}

}  // namespace

struct StatementRunner::Body {
    CellRec* cell;
    char* text;
    int end;  // the body's length: no block may close at or beyond it
};

double StatementRunner::run(CellRec* cell, char* body, int length, ScriptFrame& frame, ErrStat& err) {
    err.enter();
    ScriptContext& scripts = m_evaluator.scripts();
    if (!scripts.enter(frame, err)) return err.trace(kRunBody), 0.0;
    const ScopeExit release([&] { scripts.leave(frame); });
    return runBody(cell, body, length, err);
}

double StatementRunner::runBody(CellRec* cell, char* body, int length, ErrStat& err) {
    err.enter();
    ScriptFrame* frame = m_evaluator.scripts().current();
    if (frame == nullptr || body == nullptr || length < 2) return fail(err, kRunBody, 1, 0, Msg::SyntaxError), 0.0;
    if (m_evaluator.scripts().depth() == 1) {  // an outermost call starts
        if (!m_evaluator.scripts().inAction()) m_evaluator.scripts().clearCancel();
        if (m_platform != nullptr) m_lastPoll = m_platform->elapsedMs();
    }
    Body b{cell, body, length};
    int close = 0;
    if (!blockEnd(b, 0, close, err)) return err.trace(kRunBody), 0.0;
    Flow flow = Flow::Normal;
    const int pos = block(b, 0, close, false, flow, err);
    if (err.failed()) return err.trace(kRunBody), 0.0;
    if (flow != Flow::Return && pos != length && pos != length - 1) {
        return fail(err, kRunBody, 2, pos, Msg::SyntaxError), 0.0;
    }
    return frame->returnValue;
}

bool StatementRunner::stopRequested(ErrStat& err) {
    if (m_platform != nullptr && ++m_turns >= kTurnsPerClockRead) pollFrontEnd();
    if (!m_evaluator.scripts().cancelRequested()) return false;
    err.fail(kStatement, 1, Msg::ScriptInterrupted);
    return true;
}

// The desktop runs scripts on its only thread: its input (Esc) is read only when the runner asks.
void StatementRunner::pollFrontEnd() {
    m_turns = 0;
    const double now = m_platform->elapsedMs();
    if (now - m_lastPoll < kPollIntervalMs) return;
    m_lastPoll = now;
    if (m_platform->pollInterrupt()) m_evaluator.scripts().requestCancel();
}

// The '{' at `open` and its '}' before the body's end.
bool StatementRunner::blockEnd(Body& b, int open, int& close, ErrStat& err) {
    if (b.text[open] != '{') return fail(err, kRunBlock, 1, open, Msg::MissingBrace);
    close = matchBracket(b.text, open);
    if (close == open || close >= b.end) return fail(err, kRunBlock, 2, open, Msg::MissingBracket);
    return true;
}

int StatementRunner::block(Body& b, int open, int close, bool inLoop, Flow& flow, ErrStat& err) {
    if (!m_evaluator.nest()) return fail(err, kRunBlock, 3, open, Msg::ScriptNestingTooDeep), open;
    const ScopeExit unnest([this] { m_evaluator.unnest(); });
    int pos = skipSemicolons(b.text, open + 1);
    while (pos < close && flow == Flow::Normal) {
        if (stopRequested(err)) return pos;
        const int next = statement(b, pos, close, inLoop, flow, err);
        if (err.failed()) return err.trace(kRunBlock), next;
        if (next <= pos && flow == Flow::Normal) return fail(err, kRunBlock, 4, pos, Msg::SyntaxError), pos;
        pos = skipSemicolons(b.text, next);
    }
    return pos;
}

int StatementRunner::statement(Body& b, int pos, int close, bool inLoop, Flow& flow, ErrStat& err) {
    const KeywordAt k = keywordAt(b.text, pos);
    switch (k.keyword) {
        case Keyword::If:
            return ifChain(b, k.end, inLoop, flow, err);
        case Keyword::While:
            return whileLoop(b, k.end, flow, err);
        case Keyword::For:
            return forLoop(b, k.end, flow, err);
        case Keyword::Else:
        case Keyword::ElseIf:
            return fail(err, kStatement, 2, pos, Msg::ElseWithoutIf), pos;
        case Keyword::Break:
        case Keyword::Continue:
            if (inLoop) flow = k.keyword == Keyword::Break ? Flow::Break : Flow::Continue;
            return k.end;
        case Keyword::Return:
            return returnStatement(b, k.end, flow, err);
        case Keyword::None:
            break;
    }
    RegisterBlock regs;
    int at = pos;
    m_evaluator.evaluate(b.cell, b.text, at, kOutermost, regs, err);
    if (err.failed()) return err.trace(kStatement), at;
    return at > close ? close : at;
}

int StatementRunner::returnStatement(Body& b, int pos, Flow& flow, ErrStat& err) {
    if (b.text[pos] != ';' && b.text[pos] != '}' && b.text[pos] != '\0') {
        RegisterBlock regs;
        const double value = m_evaluator.evaluate(b.cell, b.text, pos, kOutermost, regs, err);
        if (err.failed()) return err.trace(kStatement), pos;
        m_evaluator.scripts().current()->returnValue = value;
    }
    flow = Flow::Return;
    return pos;
}

// A condition or loop expression that failed is reported as the statement's own failure, quoting the
// expression up to where it failed unless the record already carries a formula error of its own.
void StatementRunner::recordFailure(Body& b, Origin o, int point, Msg code, int start, int end, ErrStat& err) {
    const auto at = [](int pos) { return static_cast<std::size_t>(pos); };
    const int current = std::clamp(err.position, start, end);
    const FormulaScan scan{std::string_view(b.text, at(b.end)), at(start), at(current), at(end), nullptr};
    recordFormulaError(scan, o.module, o.routine, point, codeOf(code), current, err, m_evaluator.store().scratch());
}

bool StatementRunner::condition(Body& b, int& pos, ErrStat& err) {
    RegisterBlock regs;
    const int open = pos;
    const double value = m_evaluator.evaluate(b.cell, b.text, pos, kOutermost, regs, err);
    if (!err.failed()) return value != 0.0;
    if (stopsTheScript(err)) return err.trace(kCondition), false;
    if (m_platform != nullptr) m_platform->statusText("ERROR A5010-" + std::to_string(err.point));
    const int close = matchBracket(b.text, open);
    recordFailure(b, kCondition, 1, Msg::ConditionError, open, close > open ? close + 1 : pos, err);
    return false;
}

int StatementRunner::ifChain(Body& b, int pos, bool inLoop, Flow& flow, ErrStat& err) {
    if (b.text[pos] != '(') return fail(err, kIfChain, 1, pos, Msg::MissingParenthesis), pos;
    bool chosen = condition(b, pos, err);
    if (err.failed()) return pos;
    if (b.text[pos] != '{') return fail(err, kIfChain, 2, pos, Msg::MissingBrace), pos;
    bool elseSeen = false;
    while (!chosen) {
        int close = 0;
        if (!blockEnd(b, pos, close, err)) return err.trace(kIfChain), pos;
        pos = close + 1;
        const KeywordAt k = keywordAt(b.text, pos);
        if (k.keyword == Keyword::ElseIf) {
            pos = k.end;
            if (b.text[pos] != '(') return fail(err, kIfChain, 3, pos, Msg::MissingParenthesis), pos;
            chosen = condition(b, pos, err);
            if (err.failed()) return pos;
            if (b.text[pos] != '{') return fail(err, kIfChain, 4, pos, Msg::MissingBrace), pos;
        } else if (k.keyword == Keyword::Else) {
            if (elseSeen) return fail(err, kIfChain, 5, pos, Msg::ElseWithoutIf), pos;
            elseSeen = true;
            pos = k.end;
            if (b.text[pos] != '{') return fail(err, kIfChain, 6, pos, Msg::MissingBrace), pos;
            chosen = true;
        } else {
            return pos;  // no part's condition held
        }
    }
    int close = 0;
    if (!blockEnd(b, pos, close, err)) return err.trace(kIfChain), pos;
    if (close > pos + 1) {
        block(b, pos, close, inLoop, flow, err);
        if (err.failed() || flow == Flow::Return) return err.trace(kIfChain), close;
    }
    return skipParts(b, close + 1, elseSeen, err);
}

// Passes over the "elseif" and "else" parts that follow the part that ran.
int StatementRunner::skipParts(Body& b, int pos, bool elseSeen, ErrStat& err) {
    for (;;) {
        const KeywordAt k = keywordAt(b.text, pos);
        if (k.keyword != Keyword::ElseIf && k.keyword != Keyword::Else) return pos;
        if (k.keyword == Keyword::Else) {
            if (elseSeen) return fail(err, kIfChain, 7, pos, Msg::ElseWithoutIf), pos;
            elseSeen = true;
        }
        int open = k.end;
        while (open < b.end && b.text[open] != '{') ++open;
        if (open >= b.end) return fail(err, kIfChain, 8, k.end, Msg::MissingBrace), pos;
        int close = 0;
        if (!blockEnd(b, open, close, err)) return err.trace(kIfChain), pos;
        pos = close + 1;
    }
}

int StatementRunner::whileLoop(Body& b, int pos, Flow& flow, ErrStat& err) {
    if (b.text[pos] != '(') return fail(err, kWhileLoop, 1, pos, Msg::MissingParenthesis), pos;
    const int test = pos;
    bool holds = condition(b, pos, err);
    if (err.failed()) return pos;
    if (b.text[pos] != '{') return fail(err, kWhileLoop, 2, pos, Msg::MissingBrace), pos;
    const int open = pos;
    int close = 0;
    if (!blockEnd(b, open, close, err)) return err.trace(kWhileLoop), pos;
    while (holds) {
        if (stopRequested(err)) return open;
        block(b, open, close, true, flow, err);
        if (err.failed() || flow == Flow::Return) return err.trace(kWhileLoop), close;
        if (flow == Flow::Break) break;
        flow = Flow::Normal;
        int at = test;
        holds = condition(b, at, err);
        if (err.failed()) return at;
    }
    flow = Flow::Normal;
    return close + 1;
}

// Expressions separated by ',' from `from` up to `to`.
bool StatementRunner::expressions(Body& b, int from, int to, ErrStat& err) {
    int pos = from;
    while (pos < to) {
        RegisterBlock regs;
        const int start = pos;
        m_evaluator.evaluate(b.cell, b.text, pos, kOutermost, regs, err);
        if (err.failed() && stopsTheScript(err)) return err.trace(kForLoop), false;
        if (err.failed()) return recordFailure(b, kForLoop, 1, Msg::StatementError, start, to, err), false;
        if (pos == start) return fail(err, kForLoop, 1, start, Msg::StatementError);
        if (b.text[pos] != ',') break;
        ++pos;
    }
    return true;
}

int StatementRunner::forLoop(Body& b, int pos, Flow& flow, ErrStat& err) {
    if (b.text[pos] != '(') return fail(err, kForLoop, 2, pos, Msg::MissingParenthesis), pos;
    const int paren = matchBracket(b.text, pos);
    if (paren == pos || paren >= b.end) return fail(err, kForLoop, 3, pos, Msg::MissingBracket), pos;
    const int open = paren + 1;
    if (b.text[open] != '{') return fail(err, kForLoop, 4, open, Msg::MissingBrace), pos;
    int close = 0;
    if (!blockEnd(b, open, close, err)) return err.trace(kForLoop), pos;
    const int first = semicolonIn(b.text, pos + 1, paren);
    const int second = first < 0 ? -1 : semicolonIn(b.text, first + 1, paren);
    if (second < 0) return fail(err, kForLoop, 5, pos, Msg::MissingSemicolon), pos;
    if (!expressions(b, pos + 1, first, err)) return pos;
    for (;;) {
        if (stopRequested(err)) return open;
        if (second > first + 1) {
            int at = first + 1;
            if (!condition(b, at, err)) {
                if (err.failed()) return at;
                break;
            }
        }
        block(b, open, close, true, flow, err);
        if (err.failed() || flow == Flow::Return) return err.trace(kForLoop), close;
        if (flow == Flow::Break) break;
        flow = Flow::Normal;
        if (!expressions(b, second + 1, paren, err)) return pos;
    }
    flow = Flow::Normal;
    return close + 1;
}

}  // namespace qx
