#pragma once
// Storing what the user typed into a cell: classifying the entry and creating, changing or deleting the cell.
#include <string_view>

#include "core/cell_records.h"
#include "core/err_stat.h"
#include "core/recalculator.h"

namespace qx {

class CellStore;
class FormulaCompiler;
class Recalculator;

enum class EntryKind : uint8_t { Nothing, ShortCut, Label, VariableLabel, Formula, Deleted };

struct EntryResult {
    EntryKind kind = EntryKind::Nothing;
    bool existed = false;  // a real cell was there before
    CellRec* cell = nullptr;
};

struct EntryOptions {
    NotifyMode notifyMode = NotifyMode::Edit;  // what recalculation is asked for afterwards
    bool silent = false;                       // loading and pasting: a failure is cleared and work goes on
    bool checkCircular = true;                 // off while a cell is filled as part of a larger operation
    bool fromFile = false;                     // stored text: not held to the typed-length limits
};

// The kind of an entry by its first character as typed.
EntryKind classifyEntry(std::string_view typed);

// True when the text (blanks around allowed, an optional sign) is one numeric constant.
bool readsAsNumber(std::string_view text);

class EntryOperation {
  public:
    EntryOperation(CellStore& store, FormulaCompiler& compiler, Recalculator& recalculator)
        : m_store(store), m_compiler(compiler), m_recalculator(&recalculator) {}

    void setRecalculator(Recalculator& recalculator) { m_recalculator = &recalculator; }

    EntryResult storeEntry(std::string_view typed, int row, int col, int level, EntryOptions options, ErrStat& err);

    // The loaders' path: number text becomes a Formula, everything else a Label.
    EntryResult storeLoaded(std::string_view text, int row, int col, int level, EntryOptions options, ErrStat& err);

  private:
    CellStore& m_store;
    FormulaCompiler& m_compiler;
    Recalculator* m_recalculator;
};

}  // namespace qx
