#pragma once
// The one evaluator of every expression: a precedence-climbing parser that computes while it reads the
// (compiled) text, with no token list and no syntax tree.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "core/cell_records.h"
#include "core/err_stat.h"
#include "formula/column_snapshot.h"
#include "formula/formula_codes.h"
#include "formula/range_body.h"
#include "formula/script_frame.h"

namespace qx {

class CellStore;
class Evaluator;
class Platform;

// The two lowest precedence levels an evaluation call starts from: a whole formula, an address part or a
// Range Operation segment is read as the outermost level, where a surplus ')' is ignored; a parenthesis,
// an argument or a branch as parenthesised, where a ')' ends the call and is consumed.
constexpr int kOutermost = 1;
constexpr int kParenthesised = 2;

// What an operand can be assigned through: the script forms '#n', '#*n[i]', '#$n[i]', '$#n[i]', '$$n[i]',
// '~#n[e]', a range register, a textual cell address.
enum class Lvalue : uint8_t {
    None,
    PassedValue,
    PassedArray,
    LocalArray,
    PassedString,
    LocalString,
    PassedCell,
    Register,
    CellAddress
};

// The seven Range Operation registers [#] [@] [*] [$] [-] [|] [%].
namespace reg {
constexpr int kCount = 0;
constexpr int kValue = 1;
constexpr int kScratch = 2;
constexpr int kResult = 3;
constexpr int kRow = 4;
constexpr int kColumn = 5;
constexpr int kLevel = 6;
constexpr int kAssignableEnd = 4;  // [-] [|] [%] are read-only
}  // namespace reg

struct RegisterBlock {
    std::array<double, 7> r{};
};

// One function call as the families see it. The text after the closing parenthesis is cut off for the
// duration of the call.
struct CallRecord {
    CellRec* cell = nullptr;
    char* text = nullptr;
    int namePos = 0;
    int nameEnd = 0;
    int openParen = 0;
    int closeParen = 0;
    RegisterBlock regs;  // a copy: assignments inside arguments are lost
    Evaluator* evaluator = nullptr;
};

// Where calls to functions and scripts go. The function registry installs the real one.
class FunctionDispatcher {
  public:
    virtual ~FunctionDispatcher() = default;
    virtual double call(CallRecord& call, ErrStat& err) = 0;
};

// Knows no function at all.
class NoFunctions final : public FunctionDispatcher {
  public:
    double call(CallRecord& call, ErrStat& err) override;
};

// A parsed cell address [row,col,elem,level].
struct CellAddress {
    int row = 0;
    int col = 0;
    int elem = 0;
    int level = 0;
    bool hasElem = false;
    bool hasLevel = false;
    int explicitLevel = 0;  // the level part as a literal in 1..L, else 0
    int flags = 0;          // absflag bits
};

// Deepest nesting of evaluation calls; deeper text fails instead of exhausting the stack.
constexpr int kMaxEvaluationDepth = 200;
// While scripts run, the evaluation calls and statement blocks of every live activation share one
// deeper bound: scripts calling scripts nest through the evaluator, and all of it runs on one stack.
constexpr int kMaxScriptNestingDepth = 1200;

class Evaluator {
  public:
    explicit Evaluator(CellStore& store);

    void setDispatcher(FunctionDispatcher* dispatcher) { m_dispatcher = dispatcher ? dispatcher : &m_noFunctions; }
    // The level used for addresses without a level when there is no calling cell.
    void setDefaultLevel(int level) { m_defaultLevel = level; }
    CellStore& store() { return m_store; }
    // The running scripts: while a frame is current, the script tokens read and write it.
    ScriptContext& scripts() { return m_scripts; }
    // One more level of nesting (a statement block of a script), refused at the bound; `unnest` ends it.
    bool nest() {
        if (m_depth >= depthLimit()) return false;
        ++m_depth;
        return true;
    }
    void unnest() { --m_depth; }
    // Off: every Range Operation pass reads its segment text for each element, as the compiled segments
    // must match (comparisons and measurements).
    void useCompiledBodies(bool on) { m_compiledBodies = on; }
    // Whether a Range Operation pass is visiting cells now: its cursor holds cell records and row links,
    // so nothing may delete, move or reallocate cells until it ends.
    bool walkingRange() const { return m_rangeWalks > 0; }

    // One evaluation call: reads from `pos` until an operator of precedence `minPrec` or lower, or a
    // terminator, and leaves `pos` at the first character not consumed.
    double evaluate(CellRec* cell, char* text, int& pos, int minPrec, RegisterBlock& regs, ErrStat& err);

    // A whole formula from its start: the text must be consumed to its end ("syntax error" otherwise).
    double evaluateFormula(CellRec* cell, char* text, ErrStat& err);

    // Parses [row,col,elem,level] from the '[' (or the '^' of a second corner) at `pos`; leaves `pos` at the
    // character that ended the address (']', '^', ';' or '{').
    CellAddress parseAddress(CellRec* cell, char* text, int& pos, bool secondCorner, RegisterBlock& regs, ErrStat& err);

    // The value an expression reads from a cell at element `elem` (0: the value itself).
    static double readCell(const CellRec* target, int elem);
    // Stores through a textual address; marks other cells recalc-pending. Protected cells refuse (code 40).
    bool writeCell(CellRec* caller, CellRec* target, int elem, double value, ErrStat& err);

    // "Step through FORMULA": evaluates the cell's formula showing every step in a box on `platform`,
    // until the user cancels. Returns the value as an ordinary evaluation does.
    double stepFormula(CellRec& cell, Platform& platform, ErrStat& err);
    // Function calls run without stepping.
    void suspendStepping(bool on) { m_stepSuspended += on ? 1 : -1; }

    // The level an address without a level part names for this calling cell.
    int levelFor(const CellRec* cell) const { return cell ? cell->level : m_defaultLevel; }

  private:
    struct CallState;

    bool readPrefix(const char* text, int& pos, CallState& st, ErrStat& err);
    bool readOperand(CellRec* cell, char* text, int& pos, CallState& st, RegisterBlock& regs, ErrStat& err);
    bool readNumber(const char* text, int& pos, CallState& st, ErrStat& err);
    bool readDirect(CellRec* cell, const char* text, int& pos, CallState& st, ErrStat& err);
    bool readBracket(CellRec* cell, char* text, int& pos, CallState& st, RegisterBlock& regs, ErrStat& err);
    bool readCall(CellRec* cell, char* text, int& pos, CallState& st, RegisterBlock& regs, ErrStat& err);
    // Script operands (script_tokens.cpp).
    bool readScriptOperand(CellRec* cell, char* text, int& pos, CallState& st, RegisterBlock& regs, ErrStat& err);
    bool readScriptIndex(CellRec* cell, char* text, int& pos, CallState& st, RegisterBlock& regs, ErrStat& err);
    bool readScriptPrefix(const char* text, int& pos, CallState& st, ErrStat& err);
    bool applyStepPrefix(CallState& st, int pos, ErrStat& err);
    double* scriptValueSlot(const CallState& st);
    char* scriptCharSlot(const CallState& st);
    bool storeScript(CellRec* cell, const CallState& st, double value, int pos, ErrStat& err);
    bool readPower(CellRec* cell, char* text, int& pos, CallState& st, RegisterBlock& regs, ErrStat& err);
    // Reads and applies one infix operator; `done` when the call ends before it.
    bool applyInfix(CellRec* cell, char* text, int& pos, int minPrec, CallState& st, RegisterBlock& regs, ErrStat& err,
                    bool& done, int start);
    bool conditional(CellRec* cell, char* text, int& pos, CallState& st, RegisterBlock& regs, ErrStat& err);
    bool binary(int op, double left, double right, double& result, int pos, ErrStat& err);
    bool assign(CellRec* cell, CallState& st, double value, RegisterBlock& regs, int pos, ErrStat& err);
    bool parsePart(CellRec* cell, char* text, int& pos, RegisterBlock& regs, int flagBit, CellAddress& a, double& value,
                   ErrStat& err);
    double finishCall(double value, int pos, ErrStat& err);
    int depthLimit() const { return m_scripts.running() ? kMaxScriptNestingDepth : kMaxEvaluationDepth; }
    void showStep(CellRec* cell, const char* text, int start, int end, double value, bool beforeOperator);
    bool stepping(const CellRec* cell) const {
        return m_platform != nullptr && cell != nullptr && m_stepSuspended == 0 && !m_scripts.running();
    }

    // Range Operations (range_operation.cpp).
    struct Segment;
    double rangeOperation(CellRec* cell, char* text, int& pos, int open, const CellAddress& first, ErrStat& err);
    bool runSegment(CellRec* cell, char* text, const Segment& seg, RegisterBlock& regs, ErrStat& err);
    bool visit(CellRec* cell, char* text, const Segment& seg, const CellRec& at, double value, RegisterBlock& regs,
               ErrStat& err);
    bool pass(CellRec* cell, char* text, const Segment& seg, const CellAddress& a, const CellAddress& b,
              RegisterBlock& regs, ErrStat& err);
    bool passOverElements(CellRec* cell, char* text, const Segment& seg, const CellAddress& a, const CellAddress& b,
                          RegisterBlock& regs, ErrStat& err);
    struct PassCursor;
    bool quietCursor(const CellRec* cell, const CellAddress& a, const CellAddress& b, std::optional<PassCursor>& out);
    // Compiled segments, shared by every operation with the same segment text.
    const RangeBody* compiledBody(const char* text, int start, int end);
    bool fastAllowed(const CellRec* cell, const RangeBody& body) const;
    // A pass run by the compiled segment; false (registers partly written) where the evaluator must run it.
    bool fastPass(const CellRec* cell, const RangeBody& body, const CellAddress& a, const CellAddress& b,
                  RegisterBlock& regs);
    // The block as one column's run of Formula cells, read from the column's copy; false: walk the rows.
    bool columnRun(const CellRec* cell, const CellAddress& a, const CellAddress& b, ColumnRun& out);
    // Whether the run holds exactly what walking the rows of the block reads.
    bool sameAsWalk(const ColumnRun& run, int level, const CellAddress& a, const CellAddress& b) const;

    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };

    CellStore& m_store;
    NoFunctions m_noFunctions;
    FunctionDispatcher* m_dispatcher = &m_noFunctions;
    int m_defaultLevel = 1;
    int m_depth = 0;
    int m_skip = 0;                  // measuring a conditional's false branch: division by zero is dropped
    Platform* m_platform = nullptr;  // set only while a formula is stepped
    int m_stepSuspended = 0;
    int m_rangeWalks = 0;
    bool m_compiledBodies = true;
    std::unordered_map<std::string, RangeBody, TextHash, std::equal_to<>> m_bodies;
    ColumnSnapshots m_columns{m_store};
    ScriptContext m_scripts;
};

}  // namespace qx
