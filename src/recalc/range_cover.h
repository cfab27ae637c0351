#pragma once
// The blocks a Range Operation cell reads through textual addresses, taken from its stored text without
// evaluating anything: finding the cells that use a cell must never compute. A part that is not an
// integer literal could name any row, column or level, so it spans them all: such a cell is found as a
// dependent more often than needed, never less.
#include <vector>

namespace qx {

struct CoverBox {
    int firstRow = 0;
    int lastRow = 0;
    int firstCol = 0;
    int lastCol = 0;
    int firstLevel = 0;
    int lastLevel = 0;

    bool holds(int row, int col, int level) const {
        return row >= firstRow && row <= lastRow && col >= firstCol && col <= lastCol && level >= firstLevel &&
               level <= lastLevel;
    }
};

// Every address and Range Operation block in the NUL-terminated `text` of a cell on `level`.
std::vector<CoverBox> coverBoxes(const char* text, int level);

// Whether evaluating `text` (a stored formula on `level` whose blocks are `boxes`) reads nothing but cells
// of that level, through addresses, and writes nothing but registers: no function, script or object call,
// no string, no other level, no assignment to a cell. Such a formula gives the same result and does
// nothing else as long as the cells its blocks and references cover stay as they are.
bool readsOnlyLevelCells(const char* text, int level, const std::vector<CoverBox>& boxes);

}  // namespace qx
