#pragma once
// quorix-cli verbs for scripts: compile PATH [log], attach PATH, detach NAME, scripts, swap N.
#include <string_view>

namespace qx {

class LineInterpreter;

// "compile PATH [log]": compiles a script source into the library beside it and prints the message
// list, one row a line; with "log" the messages also go to the .log file beside it.
void compileVerb(LineInterpreter& cli, std::string_view args);
void attachVerb(LineInterpreter& cli, std::string_view args);
void detachVerb(LineInterpreter& cli, std::string_view args);
// The Swap Area size, then each attached library with its versions and path, and its scripts with body
// length, "loaded" or "unloaded", and call weight.
void scriptsVerb(LineInterpreter& cli, std::string_view args);
void swapVerb(LineInterpreter& cli, std::string_view args);

}  // namespace qx
