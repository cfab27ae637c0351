#pragma once
// quorix-cli's `attr [R,C] CODE [VALUE]`, the cell property accessor from the command line, and
// `bkcolor COLOUR`, the "+BkColor" command with its colour.
#include <string_view>

namespace qx {

class LineInterpreter;

void attrVerb(LineInterpreter& cli, std::string_view args);
// COLOUR is a colour word 0x00BBGGRR, in decimal or as 0x followed by up to six hexadecimal digits.
void bkColorVerb(LineInterpreter& cli, std::string_view args);

}  // namespace qx
