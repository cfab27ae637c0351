#pragma once
// A plain decimal rendering of values, used until the display formats are in place.
#include <string>

#include "core/cell_records.h"

namespace qx {

// The display width a worksheet cell uses when nothing else is known.
constexpr int kMinimalDisplayWidth = 22;

// Fixed-point with two decimals, falling back to the shortest general form when too wide;
// "+1.#INF"/"-1.#INF" at or beyond the formula infinity.
std::string minimalNumber(double value, int width = kMinimalDisplayWidth);

// What a worksheet shows for the cell: a label's text, a formatted value, "?" for a failed value or a
// placeholder, "" for no cell.
std::string minimalDisplayText(const CellRec* cell, int width = kMinimalDisplayWidth);

}  // namespace qx
