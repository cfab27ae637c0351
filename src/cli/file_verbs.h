#pragma once
// quorix-cli verbs for files and protection.
#include <string_view>

namespace qx {

class LineInterpreter;

// "open PATH": the Open command's flow on the active level, questions answered by the policy.
void openVerb(LineInterpreter& cli, std::string_view args);
// "save PATH": ".qx2" saves the active level, ".qx3" the workbook, without asking.
void saveVerb(LineInterpreter& cli, std::string_view args);
// "import PATH": a text, CSV or DIF file read in at the pointer. "export PATH [WIDTH]": the selection
// written to one, lines cut at WIDTH (1..255, 256 taken as 255; 255 when not given).
void importVerb(LineInterpreter& cli, std::string_view args);
void exportVerb(LineInterpreter& cli, std::string_view args);
// "dxf [R,C] PATH": the graph or view in the cell (the pointer's when no address is given) as a DXF drawing.
void dxfVerb(LineInterpreter& cli, std::string_view args);
// "rename workbook NAME" or "rename worksheet NAME" (the active level).
void renameVerb(LineInterpreter& cli, std::string_view args);
// "protect password TEXT" sets the workbook password (empty text clears it);
// "protect level N WORD" sets a level's permission word (0 for the workbook's).
void protectVerb(LineInterpreter& cli, std::string_view args);

}  // namespace qx
