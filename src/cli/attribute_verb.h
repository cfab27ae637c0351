#pragma once
// quorix-cli's `attr [R,C] CODE [VALUE]`: the cell property accessor from the command line.
#include <string_view>

namespace qx {

class LineInterpreter;

void attrVerb(LineInterpreter& cli, std::string_view args);

}  // namespace qx
