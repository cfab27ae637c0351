#pragma once
// quorix-cli verb listing the built-in functions: functions [CATEGORY].
#include <string_view>

namespace qx {

class LineInterpreter;

// "name  template" lines of one category (name or number), or of every category in order.
void functionsVerb(LineInterpreter& cli, std::string_view args);

}  // namespace qx
