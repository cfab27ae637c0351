// The toolkit's names in byte order ("MessageBox" first); no help texts, as it belongs to no category.
#include "functions/function_registry.h"
#include "script/toolkit/toolkit.h"
#include "script/toolkit/toolkit_functions.h"

namespace qx {

namespace {

constexpr FunctionEntry kToolkitTable[] = {
    {"MessageBox", 0, "MessageBox ( type, title, format, ... )", fnMessageBox},
    {"attribute", 0, "attribute ( [cell], code, <value> )", fnAttribute},
    {"celldisplay", 0, "celldisplay ( string, row, col, lvl, width )", fnCelldisplay},
    {"copycell", 0, "copycell ( [cell], row, col, lvl )", fnCopycell},
    {"cpcol", 0, "cpcol ( )", fnCpcol},
    {"cplvl", 0, "cplvl ( )", fnCplvl},
    {"cprow", 0, "cprow ( )", fnCprow},
    {"cwidth", 0, "cwidth ( col, lvl, <width> )", fnCwidth},
    {"errlist", 0, "errlist ( string, n )", fnErrlist},
    {"errno", 0, "errno ( )", fnErrno},
    {"fclose", 0, "fclose ( handle )", fnFclose},
    {"fgets", 0, "fgets ( string, n, handle )", fnFgets},
    {"fopen", 0, "fopen ( name, mode )", fnFopen},
    {"fputs", 0, "fputs ( string, handle, <n> )", fnFputs},
    {"freework", 0, "freework ( lvl )", fnFreework},
    {"getentry", 0, "getentry ( string, row, col, lvl )", fnGetentry},
    {"gotocell", 0, "gotocell ( row, col, lvl )", fnGotocell},
    {"lastrow", 0, "lastrow ( lvl )", fnLastrow},
    {"loadwork", 0, "loadwork ( name, lvl )", fnLoadwork},
    {"makentry", 0, "makentry ( text, row, col, lvl, mode )", fnMakentry},
    {"movecell", 0, "movecell ( [cell], row, col, lvl )", fnMovecell},
    {"nextcol", 0, "nextcol ( row, col, lvl )", fnNextcol},
    {"nextrow", 0, "nextrow ( row, lvl )", fnNextrow},
    {"purgecell", 0, "purgecell ( [cell] )", fnPurgecell},
    {"recalculate", 0, "recalculate ( [cell], mode )", fnRecalculate},
    {"refresh", 0, "refresh ( )", fnRefresh},
    {"report", 0, "report ( name, row, col, lvl, width, rows )", fnReport},
    {"rowdisplay", 0, "rowdisplay ( string, row, col, lvl, width )", fnRowdisplay},
    {"savework", 0, "savework ( name, lvl )", fnSavework},
    {"selectedcells", 0, "selectedcells ( array )", fnSelectedcells},
    {"seterrno", 0, "seterrno ( n )", fnSeterrno},
    {"sprintf", 0, "sprintf ( string, format, ... )", fnSprintf},
};

}  // namespace

std::span<const FunctionEntry> toolkitFamily() {
    return kToolkitTable;
}

}  // namespace qx
