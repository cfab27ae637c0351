#pragma once
// Compiling an entry into a Formula or Variable Label cell: constant same-level addresses become direct cell
// addresses into the cell's reference list, then the formula is evaluated once.
#include <string_view>

#include "core/cell_records.h"
#include "core/err_stat.h"

namespace qx {

class CellStore;
class Evaluator;

// Longest compiled text; the compile buffer holds one character more.
constexpr int kMaxCompiledLength = 254;

struct CompileOptions {
    bool checkCircular = true;  // off while a cell is filled as part of a larger operation
    bool limitLength = true;    // typed text is limited; text stored in files may have grown longer
};

class FormulaCompiler {
  public:
    FormulaCompiler(CellStore& store, Evaluator& evaluator) : m_store(store), m_evaluator(evaluator) {}

    // `cell` already has its final type (Formula or Variable Label). `source` is the text after the prefix;
    // `typed` is what the cell keeps when compiling fails. On failure no reference taken here survives and
    // the value is marked failed.
    bool compile(CellRec& cell, std::string_view source, std::string_view typed, CompileOptions options, ErrStat& err);

    // Rebuilds a Variable Label's display text from its compiled template.
    bool refreshVariableLabel(CellRec& cell, ErrStat& err);

  private:
    CellStore& m_store;
    Evaluator& m_evaluator;
};

}  // namespace qx
