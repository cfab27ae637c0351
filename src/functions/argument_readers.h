#pragma once
// Reading a call's arguments: numbers, number lists, strings and cells. Every reader starts on the '(' or
// ',' before its argument and leaves the cursor on the next ',' or just after the closing ')'.
#include <cstdint>
#include <span>
#include <string>

#include "core/cell_records.h"
#include "core/err_stat.h"
#include "formula/evaluator.h"
#include "functions/function_registry.h"

namespace qx {

constexpr int kMaxListArguments = 8;
constexpr int kMaxStringConstant = 254;

class FunctionCall {
  public:
    FunctionCall(CallRecord& call, FunctionServices& services, int number)
        : m_call(call), m_services(services), m_number(number), m_cursor(call.openParen) {}

    CallRecord& record() { return m_call; }
    FunctionServices& services() { return m_services; }
    CellRec* cell() const { return m_call.cell; }
    int number() const { return m_number; }
    int cursor() const { return m_cursor; }
    void setCursor(int pos) { m_cursor = pos; }
    char at(int pos) const { return m_call.text[pos]; }
    // The list has been read to its closing ')' (an inner ')' before a ',' does not count).
    bool ended() const { return m_cursor > m_call.closeParen; }

  private:
    CallRecord& m_call;
    FunctionServices& m_services;
    int m_number;
    int m_cursor;
};

// One numeric argument; "function's parameter list contains a bad value" when it fails.
double numericArgument(FunctionCall& call, ErrStat& err);

// Up to `max` numeric arguments until the end of the call; "()" gives none.
int argumentList(FunctionCall& call, double* values, int max, ErrStat& err);

// Reads exactly `count` numbers that must end the call: "wrong number or type of parameters" otherwise.
bool exactArguments(FunctionCall& call, double* values, int count, ErrStat& err);

// Reads a list of `min`..`max` numbers: too few or too many is "wrong number or type of parameters";
// with `strictEnd` a list that does not end after `max` numbers is "missing bracket" instead.
int boundedArguments(FunctionCall& call, double* values, int min, int max, bool strictEnd, ErrStat& err);

enum class StringKind : uint8_t { None, Constant, Cell, ScriptVariable };

struct StringArgument {
    std::string text;
    StringKind kind = StringKind::None;
    CellRec* cell = nullptr;  // the addressed cell, or none
    int row = 0;
    int col = 0;
    int level = 0;
    // A script's character array: `size` characters at `chars` and a terminator after them.
    char* chars = nullptr;
    int size = 0;
    bool local = false;  // '$$n' rather than a passed-in '$#n'

    // Only a script's own strings may be written, and a passed-in one only when it has room.
    bool writable() const { return kind == StringKind::ScriptVariable && chars != nullptr && size > 0; }
    // Writes at most `size` characters of `value` and the terminator; returns the length written.
    int store(std::string_view value) const;
};

// A string constant, inside a script one of its character arrays ('$$n' local, '$#n' passed in), or a
// cell whose text is the string (a missing or "Undefined" cell gives "").
StringArgument stringArgument(FunctionCall& call, bool constantAllowed, ErrStat& err);

struct CellArgument {
    CellRec* cell = nullptr;  // none when the place is empty
    int row = 0;
    int col = 0;
    int level = 0;
};

// A cell address argument, textual or compiled, or inside a script one of its passed-in cells (~#n).
CellArgument cellArgument(FunctionCall& call, ErrStat& err);

// Fails with `code` unless the list has been read to its ')'.
bool requireEnd(FunctionCall& call, Msg code, ErrStat& err);

// Fails the call with "A parameter is out-of-range." as its reported origin; the math library's code
// stays in the saved detail.
double libraryFailure(ErrStat& err, Origin family, int32_t point, L05 mathCode);

// Array Area elements a family is about to store: a NaN escapes the evaluator's range test, so it fails
// here with "unable to compute expression" and nothing is stored.
bool elementsComputable(FunctionCall& call, std::span<const double> values, ErrStat& err);

// Fails with a general message at the call's name; returns 0 for `return callFailure(...)`.
double callFailure(FunctionCall& call, ErrStat& err, Origin origin, int32_t point, Msg code);

}  // namespace qx
