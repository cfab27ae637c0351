#pragma once
// The toolkit functions, one per name of the toolkit's table.
#include "core/err_stat.h"

namespace qx {

class FunctionCall;

// Errors, formats and messages.
double fnMessageBox(FunctionCall& call, ErrStat& err);
double fnErrlist(FunctionCall& call, ErrStat& err);
double fnErrno(FunctionCall& call, ErrStat& err);
double fnSeterrno(FunctionCall& call, ErrStat& err);
double fnSprintf(FunctionCall& call, ErrStat& err);

// Cells, the cell pointer and the selection.
double fnAttribute(FunctionCall& call, ErrStat& err);
double fnCelldisplay(FunctionCall& call, ErrStat& err);
double fnCopycell(FunctionCall& call, ErrStat& err);
double fnCpcol(FunctionCall& call, ErrStat& err);
double fnCplvl(FunctionCall& call, ErrStat& err);
double fnCprow(FunctionCall& call, ErrStat& err);
double fnCwidth(FunctionCall& call, ErrStat& err);
double fnGetentry(FunctionCall& call, ErrStat& err);
double fnGotocell(FunctionCall& call, ErrStat& err);
double fnLastrow(FunctionCall& call, ErrStat& err);
double fnMakentry(FunctionCall& call, ErrStat& err);
double fnMovecell(FunctionCall& call, ErrStat& err);
double fnNextcol(FunctionCall& call, ErrStat& err);
double fnNextrow(FunctionCall& call, ErrStat& err);
double fnPurgecell(FunctionCall& call, ErrStat& err);
double fnRecalculate(FunctionCall& call, ErrStat& err);
double fnRefresh(FunctionCall& call, ErrStat& err);
double fnSelectedcells(FunctionCall& call, ErrStat& err);

// Text files, reports and work files.
double fnFclose(FunctionCall& call, ErrStat& err);
double fnFgets(FunctionCall& call, ErrStat& err);
double fnFopen(FunctionCall& call, ErrStat& err);
double fnFputs(FunctionCall& call, ErrStat& err);
double fnFreework(FunctionCall& call, ErrStat& err);
double fnLoadwork(FunctionCall& call, ErrStat& err);
double fnReport(FunctionCall& call, ErrStat& err);
double fnRowdisplay(FunctionCall& call, ErrStat& err);
double fnSavework(FunctionCall& call, ErrStat& err);

}  // namespace qx
