#pragma once
// The formula fixture with recalculation installed, as a workbook runs: entries compute their values.
#include "recalc/recalc.h"
#include "unit/formula/formula_fixture.h"

namespace qx::test {

struct RecalcFixture : FormulaFixture {
    ChainRecalculator recalc{engine};
};

}  // namespace qx::test
