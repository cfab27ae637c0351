#pragma once
// The short text that stands in a cell for the object its formula holds.
#include <string>

#include "core/cell_records.h"
#include "core/object_kind.h"
#include "display/display_format.h"

namespace qx {

// What the display of a cell needs beyond the cell itself.
struct CellDisplayContext {
    int inheritedPrecision = 2;  // the effective precision where the cell sets none
    int alignColumn = 0;         // where a station's '+' stands; 0 for none
    int millennium = kDefaultMillennium;
    bool columnVisible = true;
};

// Element `index` of the Array Area; elements beyond its count read as 0.
double arrayElement(const FormulaRec& formula, int index);
int arrayElementCount(const FormulaRec& formula);

// The precision a formula cell is shown with: its own, else the inherited one.
int displayPrecision(const FormulaRec& formula, const CellDisplayContext& context);

// The description of a formula cell's object (kind 0: its formatted value), `width` characters,
// right-aligned; '*' over the width when it does not fit.
std::string objectDescription(const CellRec& cell, int width, const CellDisplayContext& context);

}  // namespace qx
