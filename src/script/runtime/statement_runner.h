#pragma once
// Runs a script's compiled body statement by statement: blocks, if/elseif/else chains, while and for
// loops, break, continue and return. Every expression, condition and loop step goes to the evaluator
// while the script's frame is current; nothing is parsed ahead.
#include <string>

#include "core/cell_records.h"
#include "core/err_stat.h"
#include "formula/evaluator.h"
#include "formula/script_frame.h"

namespace qx {

class Platform;

class StatementRunner {
  public:
    // `platform` shows the status line of a failing condition; none drops it.
    StatementRunner(Evaluator& evaluator, Platform* platform) : m_evaluator(evaluator), m_platform(platform) {}

    // Runs `body` ("{...}", `length` characters, then a NUL) with the current frame of the evaluator's
    // script context, for the calling cell `cell` (none for a script started by a button or key).
    // Returns the frame's return value, 0 on failure.
    double runBody(CellRec* cell, char* body, int length, ErrStat& err);

    // Makes `frame` current, runs `body` and makes the previous frame current again, on every path.
    double run(CellRec* cell, char* body, int length, ScriptFrame& frame, ErrStat& err);

  private:
    enum class Flow { Normal, Break, Continue, Return };
    struct Body;

    int block(Body& b, int open, int close, bool inLoop, Flow& flow, ErrStat& err);
    int statement(Body& b, int pos, int close, bool inLoop, Flow& flow, ErrStat& err);
    int ifChain(Body& b, int pos, bool inLoop, Flow& flow, ErrStat& err);
    int skipParts(Body& b, int pos, bool elseSeen, ErrStat& err);
    int whileLoop(Body& b, int pos, Flow& flow, ErrStat& err);
    int forLoop(Body& b, int pos, Flow& flow, ErrStat& err);
    int returnStatement(Body& b, int pos, Flow& flow, ErrStat& err);
    bool expressions(Body& b, int from, int to, ErrStat& err);
    bool condition(Body& b, int& pos, ErrStat& err);
    void recordFailure(Body& b, Origin o, int point, Msg code, int start, int end, ErrStat& err);
    bool blockEnd(Body& b, int open, int& close, ErrStat& err);
    bool stopRequested(ErrStat& err);
    void pollFrontEnd();

    Evaluator& m_evaluator;
    Platform* m_platform;
    // Turns since the clock was last read, and when the front end last looked at its input.
    int m_turns = 0;
    double m_lastPoll = 0.0;
};

}  // namespace qx
