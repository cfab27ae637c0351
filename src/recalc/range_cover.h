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

}  // namespace qx
