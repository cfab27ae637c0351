#pragma once
// Writing a rectangle of a level to a text (".txt"), comma-separated (".csv") or Data Interchange
// (".dif") file.
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "files/load_context.h"
#include "files/text/text_import.h"

namespace qx {

constexpr int kDefaultLineWidth = 255;
// A column is laid out in the text export at this many pixels of its width a character.
constexpr int kPixelsPerCharacter = 8;

// The width of a line as typed in the Line Width dialog: 1..255; an empty text (the default), 256
// or anything else gives 255.
int lineWidthFrom(std::string_view typed);

// Writes the range of the level as the kind. False on a failure (in `err`).
bool exportText(const CellStore& store, TextKind kind, std::ostream& out, int level, const CellArea& range,
                int lineWidth, ErrStat& err);

// The Export command once the file is chosen: the empty-level message, the question for a single
// selected cell, the kind by extension, the line width (asked for when `width` is not given), the
// writer, and the problem box on failure. False when it failed.
bool exportTextFile(FileContext& ctx, int level, const CellArea& range, const std::string& path,
                    std::optional<int> width, ErrStat& err);

}  // namespace qx
