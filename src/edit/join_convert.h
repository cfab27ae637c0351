#pragma once
// Joining neighbouring labels, summing a selection's formulas, and turning labels into formulas and
// back. Changed cells are re-entered as typed, so they are classified and compiled as typing would.
#include <string>

#include "core/cell_store.h"
#include "core/err_stat.h"
#include "formula/entry.h"

namespace qx {

namespace joinconvert {
constexpr int kMaxJoined = 254;
}  // namespace joinconvert

// Joins each Label of the area with the Labels to its right inside the area: one blank between, one
// leading blank of the right text dropped. Stops at a cell that is not a Label, a protected cell, or a
// text of 254 characters or more; a joined neighbour that formulas use leaves a placeholder.
// Returns how many neighbours were joined.
int joinLabels(CellStore& store, EntryOperation& entry, int level, const CellArea& area, ErrStat& err);

// The sum of the current values of the area's Formula cells, written with up to 15 decimals and no
// trailing zeros or point.
std::string sumText(CellStore& store, int level, const CellArea& area);
// The caption of the sum's box: "SUM of [r,c] thru [r,c]".
std::string sumCaption(const CellArea& area);

// Labels whose text starts with '+' or a digit are entered as formulas. Returns how many changed.
int labelsToFormulas(CellStore& store, EntryOperation& entry, int level, const CellArea& area, ErrStat& err);
// Formulas become Labels showing their written-out text, with a '+' in front unless it starts with a
// digit or '+'. Returns how many changed.
int formulasToLabels(CellStore& store, EntryOperation& entry, int level, const CellArea& area, ErrStat& err);

}  // namespace qx
