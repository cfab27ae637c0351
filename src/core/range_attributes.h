#pragma once
// Range attribute records of a level: adding them with their removal and overlap rules, and
// finding the one that applies to a place.
#include <cstdint>

#include "core/cell_records.h"
#include "core/cell_store_hooks.h"

namespace qx {

// The level defaults as attribute values.
EffectiveAttributes levelDefaultAttributes(const LevelRec& level);

// Rows 1..65534, columns 1..255, first <= last.
bool validRangeArea(const CellArea& area);

// Appends a record as the newest; false (nothing changed) for an invalid rectangle. Records wholly
// inside the new rectangle go first; afterwards every record that overlaps no older one and only
// repeats the level defaults goes too. Marks the level changed.
bool addRangeAttributes(LevelRec& level, const CellArea& area, const EffectiveAttributes& values, uint16_t kind);

// Sets both overlap flags of every record from scratch.
void recomputeRangeOverlaps(LevelRec& level);

// The newest record containing the place, or null. Newer records are laid over older ones, so the
// newest one that contains a place is the one whose values show there.
const RangeAttrRec* rangeRecordAt(const LevelRec& level, int row, int col);

// Level defaults overridden by the record covering the place.
EffectiveAttributes placeAttributes(const LevelRec& level, int row, int col);

}  // namespace qx
