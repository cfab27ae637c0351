#pragma once
// quorix-cli verbs for scripts.
#include <string_view>

namespace qx {

class LineInterpreter;

// "compile PATH [log]": compiles a script source into the library beside it and prints the message
// list, one row a line; with "log" the messages also go to the .log file beside it.
void compileVerb(LineInterpreter& cli, std::string_view args);

}  // namespace qx
