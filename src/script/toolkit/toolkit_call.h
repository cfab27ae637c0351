#pragma once
// What every toolkit function shares: its context, reading its arguments, and the malformed-call
// failure, which is the only one that stops the script.
#include <array>
#include <cstdint>
#include <initializer_list>

#include "core/err_stat.h"
#include "functions/argument_readers.h"
#include "script/toolkit/toolkit.h"

namespace qx {

Toolkit& toolkitOf(FunctionCall& call);

// Forgets a failure the call recovers from, its saved origin too: a later failure of the same
// evaluation reports where it came from itself, not this one.
void recovered(ErrStat& err);

// "wrong number or type of parameters" at the call's name; returns 0.
double malformedCall(FunctionCall& call, int32_t point, ErrStat& err);

// Reads exactly `count` numbers that end the call; anything else is a malformed call.
bool toolkitNumbers(FunctionCall& call, double* values, int count, ErrStat& err);

// A number truncated to an integer; NaN and values beyond the int range land outside every range.
int toInteger(double value);

struct Range {
    int value;
    int low;
    int high;
};

// Checks from the last range back to the first, so the last bad argument is the one found; true when
// all are in range.
bool inRanges(std::initializer_list<Range> ranges);

// A string argument for the toolkit: any kind the reader knows.
StringArgument toolkitString(FunctionCall& call, ErrStat& err);

// What leads the numbers of a toolkit call.
enum class Lead { Text, Target, Cell };

struct ToolkitArguments {
    StringArgument text;  // Lead::Text, or the output string of Lead::Target
    CellArgument cell;    // Lead::Cell
    std::array<double, kMaxListArguments> v{};
};

// The common shape of a toolkit call: its leading argument, then exactly `count` numbers that end the
// call. False when the call is malformed, which stops the script.
bool toolkitArguments(FunctionCall& call, Lead lead, int count, ToolkitArguments& out, ErrStat& err);

}  // namespace qx

namespace qx {

// The output string leading a call. Anything else there (a number, nothing) reads as a string that
// cannot be written: the argument is passed over so the rest of the call is still read.
bool outputString(FunctionCall& call, StringArgument& out, ErrStat& err);

// Whether the level's protection lets the script do it; without a host everything is allowed.
bool mayDo(Toolkit& tk, ScriptAction action, int level);

// Level 0 means the active level.
int levelOrActive(Toolkit& tk, int level);

// A script array written as the whole argument: a local '#$n' or a passed-in '#*n'. False (cursor
// untouched) for any other argument.
bool scriptArrayArgument(FunctionCall& call, FrameArray& out);

// Whether the evaluation was started by a cell's formula (or recalculation).
bool startedByCell(FunctionCall& call);

// Cell-changing functions refuse while the evaluation holds cells: those started by a cell's formula
// hold that cell and the cells on its way, and a Range Operation pass holds the cells it walks.
bool evaluationHoldsCells(FunctionCall& call);

}  // namespace qx
