#pragma once
// Recalculation: the chain of affected cells, the sweeps of forced, pending and failed cells, the Range
// Operation passes, the notification modes, whole-level recalculation and the retry of failed cells.
#include <array>
#include <cstdint>
#include <set>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/err_stat.h"
#include "core/recalculator.h"
#include "recalc/range_cover.h"

namespace qx {

class CellStore;
class EntryOperation;
class Evaluator;
class FormulaCompiler;
class FormulaEngine;
class Platform;

constexpr int kChainDepth = 8192;
constexpr int kChainErrorLimit = 16;

// What a sweep visits on each level.
enum class SweepKind : uint8_t {
    Marked,        // the forced cells of the given cell's level and every pending cell
    CellAndChain,  // the given cell, then its chain
    CellOnly,      // the given cell
};

// Why a traversal ended early.
enum class ChainStop : uint8_t { None = 0, EmptyEntry = 1, MissingDependent = 2 };

// The state of one traversal; the two stacks are kept between traversals and emptied after each.
struct RecalcChain {
    int32_t depth = 0;
    int32_t evaluated = 0;
    bool labelStart = false;
    int32_t errors = 0;
    bool overflow = false;
    ChainStop stop = ChainStop::None;
    std::vector<int32_t> remaining = std::vector<int32_t>(kChainDepth, -1);
    std::vector<CellRec*> cells = std::vector<CellRec*>(kChainDepth, nullptr);
};

// The chain's overflow box.
std::string chainOverflowText(int row, int col);
inline constexpr const char* kChainOverflowCaption = "WARNING - AN OVERFLOW OCCURRED!";

class ChainRecalculator final : public Recalculator {
  public:
    // Installs itself as the engine's recalculator; the engine must outlive it. Failed cells are
    // re-entered through the engine's entry operation.
    explicit ChainRecalculator(FormulaEngine& formulas);
    ~ChainRecalculator() override;
    ChainRecalculator(const ChainRecalculator&) = delete;
    ChainRecalculator& operator=(const ChainRecalculator&) = delete;

    // Boxes go to the platform (none: not shown).
    void setPlatform(Platform* platform) { m_platform = platform; }
    // On (the default), the passes after an entry evaluate only the Range Operations whose result can
    // have changed; off, every one of them, as the Recalculate commands always do.
    void setSelectivePasses(bool on) { m_selective = on; }
    // How many Range Operations the passes have evaluated so far (those they pass over are not counted).
    uint64_t passEvaluations() const { return m_passEvaluations; }

    // Recalculator
    void notify(CellRec& cell, NotifyMode mode) override;
    void joinRangeList(CellRec& cell) override;
    void leaveRangeList(CellRec& cell) override;
    void levelCleared(int level) override;
    void noteMarked(CellRec& cell) override;

    // Removes a cell from the Range Operation list, reporting an empty list (point 1) or an unlisted cell (3).
    void removeFromRangeList(CellRec& cell, ErrStat& err);
    std::span<CellRec* const> rangeList(int level) const;

    // The next dependent of `target` after `previous`: direct dependents while `count` is at least 1, then
    // the Range Operations whose ranges cover it. Decrements `count` for every match passed.
    CellRec* findDependent(CellRec& target, const CellRec* previous, int64_t& count);

    // One traversal from a changed cell; true when it overflowed (the box has been shown).
    bool runChain(CellRec* changed);
    const RecalcChain& lastChain() const { return m_chain; }

    void sweep(CellRec* cell, int level, SweepKind kind);
    void sweepAllLevels(CellRec* cell, SweepKind kind);
    // Every Range Operation of the level, in its passes.
    void recomputeRangeOperations(int level);
    void recalculateWholeLevel(int level);
    // The "All cells" command.
    void recalculateLevel(int level);
    // The "Selected cell(s)" command for one cell.
    void recalculateOneCell(CellRec& cell);
    // Re-enters every failed cell of the workbook; true when some cell lost its error mark.
    bool retryFailedCells();

  private:
    // A cell on the Range Operation list.
    struct RangeOp {
        // The blocks it reads, taken from its text when it joined the list (the text only changes by
        // compiling, which takes the cell off the list and puts it back).
        std::vector<CoverBox> boxes;
        bool classified = false;  // reads only cells of its level: skipped while nothing it reads changes
        bool dirty = true;        // something it reads may have changed since it was last evaluated
    };
    // A level's listed operations by the columns their blocks span, so a changed cell finds its readers.
    struct RangeIndex {
        std::vector<std::vector<RangeOp*>> byColumn;  // empty: to be rebuilt
        // A traversal ended early or passed over a cell it reached: cells of the level may hold old values.
        bool stale = false;
    };
    enum class Passes { Changed, All };
    void runPasses(int level, Passes which);
    bool needsPass(CellRec& cell, const RangeOp& op);
    bool dependentsNeedPass(CellRec& cell);
    void takeTouches(int level);
    void noteChanged(CellRec& cell);
    void markPlace(int level, int row, int col);
    void markOp(const CellRec& cell);
    void markReaders(CellRec& cell);
    void markAll(int level);
    RangeIndex& rangeIndex(int level);
    void indexOp(RangeIndex& index, RangeOp& op);

    enum class Evaluation { Unchanged, Changed, Failed };
    // Evaluates a Formula or Variable Label again and stores the outcome: the value or rebuilt text, and
    // the error mark cleared, or set again on failure.
    Evaluation evaluateAndStore(CellRec& cell, ErrStat& err);
    Evaluation evaluateAndStoreOther(CellRec& cell, ErrStat& err);
    // How a dependent reached by the chain came out; the chain goes on past it unless it changed.
    enum class Reached { Unchanged, Changed, FailedNow, FailedAgain };
    Reached evaluateReached(CellRec& cell);
    void finishEntry(CellRec& cell);
    bool advance();
    void push(CellRec* cell);
    void pop();
    void resetChain(CellRec* changed);
    void sweepEvaluate(CellRec& cell);
    bool sweepQualifies(const CellRec& c, const CellRec* given, SweepKind kind) const;
    void sweepMarked(CellRec* cell, int level);
    CellRec* findRangeDependent(CellRec& target, const CellRec* previous, int64_t& count);
    bool rangeCovers(const CellRec& rangeCell, const CellRec& target) const;
    void reenter(CellRec& cell);
    CellRec* markedCell(uint64_t key) const;
    bool prevented(const CellRec& c) const;
    void setErrorMark(CellRec& cell);

    FormulaEngine& m_formulas;
    CellStore& m_store;
    Evaluator& m_evaluator;
    FormulaCompiler& m_compiler;
    EntryOperation& m_entry;
    Platform* m_platform = nullptr;
    RecalcChain m_chain;
    int32_t m_highWater = 1;  // the deepest stack entry the last traversal touched
    // One Range Operation list per level, so clearing a level can never leave nodes of its heap behind.
    std::array<std::vector<CellRec*>, kMaxLevelCount> m_ranges;
    std::unordered_map<const CellRec*, RangeOp> m_ops;  // node-based: the index holds their addresses
    std::array<RangeIndex, kMaxLevelCount> m_index;
    // The cell being notified of when its own chain has run: its dependents are up to date.
    const CellRec* m_chained = nullptr;
    bool m_selective = true;
    uint64_t m_passEvaluations = 0;
    // Places (level, row, column) of cells that may carry "Force Recalc", recalc-pending or the error mark.
    // Kept by place, not by record, so a deleted cell only leaves a stale key that the next visit drops.
    std::set<uint64_t> m_marked;
    std::vector<double> m_arrayBefore;  // an object cell's Array Area before it is evaluated again
};

}  // namespace qx
