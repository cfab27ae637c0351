#pragma once
// The background-colour and border ranges of a level as the attribute commands change them: a new
// range lies over the older ones, and taking an area away keeps each range's parts outside it.
#include <cstdint>

#include "core/cell_records.h"

namespace qx {

// Colour words are 0x00BBGGRR: the top byte is no part of the colour.
constexpr uint32_t kColourWordMask = 0x00FFFFFF;

// Line styles of a border range.
constexpr int32_t kBorderNoLines = 0;
constexpr int32_t kBorderNormal = 1;
constexpr int32_t kBorderBold = 2;

// Colours the area (0x00BBGGRR) over whatever colour it had; false for an invalid area.
bool addColourRange(LevelRec& level, const CellArea& area, uint32_t colour);
// Takes the area out of every colour range; false when no range met it.
bool removeColourRanges(LevelRec& level, const CellArea& area);

// Frames the area with `outside` lines and rules it with `inside` lines in text colour `colour`
// (0..15), replacing the lines it had; false for an invalid area.
bool addBorderRange(LevelRec& level, const CellArea& area, int32_t outside, int32_t inside, int32_t colour);
// Takes the area out of every border range; false when no range met it.
bool removeBorderRanges(LevelRec& level, const CellArea& area);

}  // namespace qx
