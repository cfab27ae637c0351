#pragma once
// The display text of a Variable Label: its template with every address replaced by what the target shows.
#include <string>

#include "core/cell_records.h"
#include "core/err_stat.h"

namespace qx {

class Evaluator;

// At most 255 characters; a missing, placeholder or failed target puts '^' there and ends the text.
// Control characters and characters from '~' up become '^'.
std::string buildVariableLabelText(Evaluator& evaluator, CellRec& cell, ErrStat& err);

}  // namespace qx
