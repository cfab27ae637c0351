#pragma once
// Graph and view objects. The cell keeps only its kind and a block of view settings in its Array Area;
// what it shows is collected again from its formula's arguments whenever it is evaluated or drawn.
#include <array>
#include <span>
#include <vector>

#include "core/cell_records.h"
#include "core/err_stat.h"
#include "core/object_kind.h"
#include "formula/evaluator.h"

namespace qx {

class CellStore;

constexpr int kViewSettingCount = 23;
// The most cells one graph or view shows.
constexpr int kMaxViewSources = 65534;

using ViewSettings = std::array<double, kViewSettingCount>;

// The kinds that graph and view functions give their cells.
bool isGraphOrView(ObjectKind kind);

// Whether a graph or view of kind `view` shows `source` (a Formula's record) as it is.
bool acceptsSource(ObjectKind view, const FormulaRec& source);

// What a new graph or view of `kind` starts with: settings 1..23 (index 0 is setting 1).
ViewSettings defaultViewSettings(ObjectKind kind);

// The settings a graph or view cell holds: its 23 Array Area elements after the count, or none when the
// cell's array does not hold exactly that many.
std::span<const double> viewSettings(const FormulaRec& formula);

// One argument list to read sources from: the formula of `owner` (the calling cell for direct addresses
// and for addresses without a level), its '(' at `open` and its partner at `close`.
struct SourceText {
    CellRec* owner = nullptr;
    const char* text = nullptr;
    int open = 0;
    int close = 0;
    RegisterBlock regs;
};

// Collects the cells that a graph or view of `kind` shows from the arguments in `from`, in argument order,
// appending to `out` (at most kMaxViewSources). A source that is a graph or view itself is replaced by
// its own sources, read from its own formula; each such cell is expanded at most once per collection,
// and `from.owner` counts as expanded already, so a view among its own sources adds nothing and cycles
// end. Sources in error are passed over. Returns the count appended, or -1 with `err` failed for an
// address that cannot be read, a missing or non-Formula source, or a source of a kind `kind` refuses.
int CollectSources(Evaluator& evaluator, CellStore& store, const SourceText& from, ObjectKind kind,
                   std::vector<CellRec*>& out, ErrStat& err);

// The argument list of the first call in a cell's formula; false when the formula has none.
bool formulaArguments(CellRec& cell, SourceText& out);

// A graph or view as a drawing reads it: its kind, its settings and the cells it shows now.
struct ViewContent {
    ObjectKind kind = ObjectKind::Number;
    ViewSettings settings{};
    std::vector<CellRec*> sources;
};

// The graph or view held by `cell`. Fails with "referencing an incompatible cell type" when the cell holds
// none or its sources cannot be collected.
bool readView(Evaluator& evaluator, CellStore& store, CellRec& cell, ViewContent& out, ErrStat& err);

}  // namespace qx
