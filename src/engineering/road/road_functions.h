#pragma once
// The road layout family: a profile is a chain of cells, each element naming the one before it.
#include <span>

#include "functions/function_registry.h"

namespace qx {

class FunctionCall;

double fnElevation(FunctionCall& call, ErrStat& err);
double fnProfile(FunctionCall& call, ErrStat& err);
double fnSlope(FunctionCall& call, ErrStat& err);
double fnStation(FunctionCall& call, ErrStat& err);
double fnVertCurve(FunctionCall& call, ErrStat& err);
double fnXsection(FunctionCall& call, ErrStat& err);

std::span<const FunctionEntry> roadFamily();

}  // namespace qx
