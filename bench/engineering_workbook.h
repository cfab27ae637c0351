// A workbook with the engineering families installed, shared by the engineering benchmarks: formulas
// are evaluated through the evaluator and the registry, as a recalculation does.
#pragma once

#include <string>

#include "core/cell_store.h"
#include "core/scratch_record.h"
#include "engineering/engineering_families.h"
#include "formula/formula_engine.h"
#include "functions/function_registry.h"
#include "recalc/recalc.h"

namespace qx {

struct EngineeringWorkbook {
    ScratchRecord scratch;
    CellStore store{33, LevelDefaults{}, "", scratch};
    FormulaEngine engine{store};
    ChainRecalculator recalc{engine};
    FunctionRegistry registry{FunctionServices{store, engine.entry(), nullptr}};

    EngineeringWorkbook() {
        installEngineeringFamilies(registry);
        engine.evaluator().setDispatcher(&registry);
    }

    CellRec* enter(int row, int col, const std::string& text) {
        ErrStat err;
        return engine.entry().storeEntry(text, row, col, 1, EntryOptions{}, err).cell;
    }
};

}  // namespace qx
