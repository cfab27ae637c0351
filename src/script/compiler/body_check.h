#pragma once
// The syntax check of a script body: statements and the expressions in them, with the names a
// body may use. Works on the text as read, before names are replaced by their codes.
#include <string>
#include <vector>

#include "core/err_stat.h"
#include "script/compiler/script_source.h"

namespace qx {

// Deeper nesting of blocks or expressions is refused, so no source can exhaust the stack.
inline constexpr int kMaxNesting = 200;

// On failure `err.position` is the body position of the error.
bool checkBody(const ScriptSource& script, const std::vector<std::string>& declared, ErrStat& err);

}  // namespace qx
