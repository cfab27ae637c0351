#include "functions/object_values.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/cell_store.h"
#include "core/formula_flags.h"
#include "formula/lexer.h"
#include "functions/argument_readers.h"

namespace qx {

namespace {

// A 255-character formula cannot hold more numbers than this.
constexpr int kMaxObjectArguments = 128;

bool wholeCount(double v, int& out) {
    if (!(v >= 1.0) || v > kMaxArrayElements || v != std::floor(v)) return false;
    out = static_cast<int>(v);
    return true;
}

}  // namespace

bool isNullForm(std::string_view formulaText) {
    const std::string_view text = formulaText.substr(0, kMaxTextLength);
    if (text.size() < 3 || text.front() != '@' || text.back() != ')') return false;
    std::size_t i = text.size() - 1;
    while (i > 0 && isBlank(text[i - 1])) --i;
    return i > 0 && text[i - 1] == '(';
}

bool allArguments(FunctionCall& call, std::vector<double>& values, ErrStat& err) {
    err.enter();
    values.clear();
    const char* text = call.record().text;
    if (call.at(call.cursor()) == '(' && text[skipBlanks(text, call.cursor() + 1)] == ')') {
        call.setCursor(skipBlanks(text, call.cursor() + 1) + 1);
        return true;
    }
    while (!call.ended() && call.at(call.cursor()) != '\0') {
        if (static_cast<int>(values.size()) == kMaxObjectArguments) break;
        values.push_back(numericArgument(call, err));
        if (err.failed()) return false;
    }
    return true;
}

CellRec* callingFormula(FunctionCall& call, Origin origin, ErrStat& err) {
    CellRec* cell = call.cell();
    if (cell == nullptr || !cell->isFormula() || cell->formula == nullptr) {
        callFailure(call, err, origin, 1, Msg::EmptyCell);
        return nullptr;
    }
    return cell;
}

void setObjectKind(CellRec& cell, ObjectKind kind) {
    cell.formula->flags = formulaflag::withObjectKind(cell.formula->flags, kind);
}

CellRec* makeGridObject(FunctionCall& call, ObjectKind kind, std::size_t fewestNumbers, Origin origin, bool& rebuilt,
                        ErrStat& err) {
    err.enter();
    rebuilt = false;
    CellRec* cell = callingFormula(call, origin, err);
    if (cell == nullptr) return nullptr;
    std::vector<double> args;
    if (!allArguments(call, args, err)) return err.trace(origin), nullptr;
    rebuilt = !args.empty();
    if (!rebuilt) {
        setObjectKind(*cell, kind);
    } else if (!storeGrid(call, *cell, kind, args, fewestNumbers, origin, err)) {
        ErrStat ignored;
        call.services().store.freeArray(cell, ignored);
    }
    return cell;
}

bool storeGrid(FunctionCall& call, CellRec& cell, ObjectKind kind, const std::vector<double>& args,
               std::size_t fewestNumbers, Origin origin, ErrStat& err) {
    int rows = 0;
    int columns = 0;
    const bool shaped = args.size() >= std::max<std::size_t>(fewestNumbers, 2) && wholeCount(args[0], rows) &&
                        wholeCount(args[1], columns) &&
                        static_cast<long>(rows) * columns + 2 == static_cast<long>(args.size());
    if (!shaped || !call.ended()) return callFailure(call, err, origin, 2, Msg::WrongParameters), false;
    if (!elementsComputable(call, args, err)) return false;
    CellStore& store = call.services().store;
    store.setArraySize(&cell, static_cast<int>(args.size()), err);
    if (!err.failed()) store.setArrayElements(&cell, args.data(), 0, static_cast<int>(args.size()) - 1, err);
    if (err.failed()) return err.trace(origin), false;
    setObjectKind(cell, kind);
    return true;
}

bool gridShape(const FormulaRec& formula, int& rows, int& columns) {
    if (formula.array == nullptr || formula.array[0] < 2 || formula.array[0] > kMaxArrayElements) return false;
    const double r = formula.array[1];
    const double c = formula.array[2];
    // A side of 0 lets any other side pass the count test, so both are bounded first.
    if (!(r >= 0.0) || !(c >= 0.0) || r > kMaxArrayElements || c > kMaxArrayElements) return false;
    if (r != std::floor(r) || c != std::floor(c)) return false;
    if (r * c + 2 != formula.array[0]) return false;
    rows = static_cast<int>(r);
    columns = static_cast<int>(c);
    return true;
}

double gridValue(const FormulaRec& formula, int row, int column) {
    int rows = 0;
    int columns = 0;
    if (!gridShape(formula, rows, columns) || row < 1 || column < 1 || column > columns || row > rows) return 0.0;
    return formula.array[columns * (row - 1) + column + 2];
}

}  // namespace qx
