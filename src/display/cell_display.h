#pragma once
// The text the worksheet shows for one cell.
#include <string>

#include "core/cell_records.h"
#include "display/object_description.h"

namespace qx {

// Plain values are shown at most this wide whatever the buffer.
constexpr int kMaxPlainValueWidth = 22;

// The text for a buffer of `bufferSize` bytes (room for the text and its end): a label's text, a
// formatted value, "?" for a failed value or an empty place, or an object's description. A null
// cell shows nothing; so does a buffer too small for any text.
std::string cellDisplayText(const CellRec* cell, int bufferSize, const CellDisplayContext& context);

}  // namespace qx
