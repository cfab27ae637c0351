#pragma once
// Each level's font-name table: the application's names first, then names the level added.
// Style words hold indexes into it.
#include <string_view>

#include "core/cell_records.h"

namespace qx {

constexpr int kLevelFontCapacity = 64;

// Fills the table with the application's names; called when the level's heap is created.
void initLevelFonts(LevelRec& level);

// Names in use. A level whose table was never filled counts the application's names.
int levelFontCount(const LevelRec& level);

// The name an index stands for; an index beyond the table gives the first name ("Arial").
std::string_view levelFontName(const LevelRec& level, int index);

// Appends a name (cut at 32 characters) after the names in use; returns its index, or -1 when
// the table is full.
int addLevelFont(LevelRec& level, std::string_view name);

// Removes added names that nothing on the level uses and renumbers the users of later names.
// Users are the cells, the default style and the range records: renumbering only the cells would
// leave the others pointing at a different font.
void compactLevelFonts(LevelRec& level);

}  // namespace qx
