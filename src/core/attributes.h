#pragma once
// What a place or cell looks like: effective attributes and precision, the menu setters of the
// style word, and the "Attribute settings" report.
#include <cstdint>
#include <string>

#include "core/cell_records.h"
#include "core/cell_store.h"
#include "core/cell_store_hooks.h"
#include "core/range_attributes.h"
#include "platform/platform.h"

namespace qx {

// Level defaults, then the range record covering the place, then the cell's own words. A Formula or
// Variable Label gives its formula flags, and its non-zero precision code in place of the precision.
EffectiveAttributes effectiveAttributes(const LevelRec& level, const CellRec* cell, int row, int col);
// As above; a level that does not exist gives the plain defaults.
EffectiveAttributes effectiveAttributes(const CellStore& store, const CellRec* cell, int row, int col, int level);

// The precision a cell's number is shown with: its own code, else that of the Formula at the place,
// else the place's. A level outside the worksheet levels gives 2.
int effectivePrecision(const CellStore& store, const CellRec* cell, int row, int col, int level);

// Levels 0..highest only; see addRangeAttributes(LevelRec&, ...).
bool addRangeAttributes(CellStore& store, int level, const CellArea& area, const EffectiveAttributes& values,
                        uint16_t kind);

// The menu and dialog setters.
uint32_t setColour(uint32_t style, int index);
uint32_t setSize(uint32_t style, int points);
// Matches the application font names exactly; no match or a null name selects the first font.
uint32_t setFontByName(uint32_t style, const char* name);

// Largest values the level defaults dialog and the files take for a column width and a row height.
constexpr int kWidestColumn = 1024;
constexpr int kTallestRow = 255;

// Gives a level new default attributes. Columns and rows that had the old default width or height
// take the new one; those the user sized keep theirs. Marks the level changed.
void changeLevelDefaults(LevelRec& level, const LevelDefaults& defaults);

std::string attributeSettingsText(uint32_t style, uint16_t cellFlags, const LevelRec& level, int defaultPoints);
void showAttributeSettings(Platform& platform, uint32_t style, uint16_t cellFlags, const LevelRec& level,
                           int defaultPoints);

}  // namespace qx
