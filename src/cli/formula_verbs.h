#pragma once
// quorix-cli verbs of the formula language: enter, show, value, eval.
#include <string_view>

namespace qx {

class LineInterpreter;

void enterVerb(LineInterpreter& cli, std::string_view args);
void showVerb(LineInterpreter& cli, std::string_view args);
void valueVerb(LineInterpreter& cli, std::string_view args);
void evalVerb(LineInterpreter& cli, std::string_view args);

}  // namespace qx
