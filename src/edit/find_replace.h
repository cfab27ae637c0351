#pragma once
// Finding cells by their text with the '~' pattern, and the replaced text of a found cell.
#include <optional>
#include <string>
#include <string_view>

#include "core/cell_store.h"
#include "core/err_stat.h"

namespace qx {

namespace findreplace {
constexpr std::size_t kMaxFindText = 255;
}  // namespace findreplace

// The cell types a search looks at; Tags searches Formula cells by their tag.
enum class FindCells { All, Formulas, Labels, VariableLabels, Tags };

struct FindOptions {
    FindCells cells = FindCells::All;
    bool up = false;
    bool ignoreCase = false;
};

struct FoundCell {
    bool found = false;
    int row = 0;
    int col = 0;
    std::string text;  // the text that matched, as the edit bar shows it
};

// The text a search matches against: a cell's source text with its addresses written out, or a
// Formula's tag for Tags; none for cells of other types.
std::optional<std::string> searchedText(CellStore& store, const CellRec& cell, FindCells cells);

// Searches the level from the place after (row, col) in the direction, the start place itself
// untested, for `text` anywhere in a cell's text ('~' in it matching any run of characters).
FoundCell findCell(CellStore& store, int level, int row, int col, const FindOptions& options, std::string_view text);

// The entry that replaces every `find` in the cell's written-out text by `with`, with the entry
// prefix of the cell's type always in front. None when nothing changes; code 10 when the result is
// longer than may be typed (254 characters for a formula, 255 for a label's text).
std::optional<std::string> replacedEntry(CellStore& store, const CellRec& cell, std::string_view find,
                                         std::string_view with, ErrStat& err);

}  // namespace qx
