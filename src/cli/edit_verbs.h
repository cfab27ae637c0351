#pragma once
// quorix-cli verbs that hand the editing commands the values their dialogs would:
//   sortrows KEY a|d [KEY a|d [KEY a|d]]
//   find [-up] [-nocase] [-formulas|-labels|-vlabels|-tags] TEXT, findnext
//   replace FIND<TAB>WITH
//   arrsize N [warn], arrset V1 V2 ...
#include <string_view>

namespace qx {

class LineInterpreter;

void sortRowsVerb(LineInterpreter& cli, std::string_view args);
void findVerb(LineInterpreter& cli, std::string_view args);
void findNextVerb(LineInterpreter& cli, std::string_view args);
void replaceVerb(LineInterpreter& cli, std::string_view args);
void arrSizeVerb(LineInterpreter& cli, std::string_view args);
void arrSetVerb(LineInterpreter& cli, std::string_view args);

}  // namespace qx
