#pragma once
// quorix-cli verb for the table operations that take numbers, and a look into the capture buffer:
//   table invert | swap A B | rmrow K | rmcol K | sort COL [asc|desc] ... | buffer
#include <string_view>

namespace qx {

class LineInterpreter;

void tableVerb(LineInterpreter& cli, std::string_view args);

}  // namespace qx
