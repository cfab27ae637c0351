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

}  // namespace qx
