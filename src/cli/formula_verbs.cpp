#include "cli/formula_verbs.h"

#include <algorithm>
#include <string>

#include "cli/address_argument.h"
#include "cli/line_interpreter.h"
#include "cli/origins.h"
#include "core/attributes.h"
#include "core/number_text.h"
#include "display/cell_display.h"
#include "display/display_format.h"

namespace qx {

using namespace origins::cli;
namespace {

// The buffer a worksheet cell is drawn from.
constexpr int kShowBufferSize = 24;

int levelOf(Session& session, const AddressArgument& at) {
    return at.level != 0 ? at.level : session.activeLevel();
}

CellRec* cellAt(Session& session, const AddressArgument& at, ErrStat& err) {
    return session.cells().findCell(at.row, at.col, levelOf(session, at), err);
}

// A number without a precision of its own shows the one its place inherits (range records, then the
// level's default), as the worksheet window draws it.
std::string displayText(Session& session, const CellRec* cell, int row, int col, int level) {
    CellDisplayContext context;
    context.inheritedPrecision = effectivePrecision(session.cells(), cell, row, col, level);
    return cellDisplayText(cell, kShowBufferSize, context);
}

std::string shownText(Session& session, const CellRec* cell, int row, int col, int level) {
    return std::string(trimBlanks(displayText(session, cell, row, col, level)));
}

// A tab inside a text would split its field in two; a blank keeps the columns in place.
std::string fieldText(Session& session, const CellRec* cell, int level) {
    std::string text = displayText(session, cell, cell->row, cell->col, level);
    std::replace(text.begin(), text.end(), '\t', ' ');
    return std::string(trimBlanks(text));
}

// One line per row, the places' texts separated by tabs, so that tools like `column` lay the block
// out. The row's cells are walked once instead of looking up every place.
void showBlock(LineInterpreter& cli, std::string_view args) {
    Session& session = cli.session();
    ErrStat err;
    AddressArgument first;
    AddressArgument last;
    if (!parseRangeOnly(args, session.highestLevel(), first, last, err)) return cli.reportProblem(err);
    const int level = levelOf(session, first);
    const int top = std::min(first.row, last.row);
    const int bottom = std::max(first.row, last.row);
    const int left = std::min(first.col, last.col);
    const int right = std::max(first.col, last.col);
    std::string line;
    for (int row = top; row <= bottom; ++row) {
        line.clear();
        int col = left;
        for (const CellRec* cell : session.cells().rowCells(row, level)) {
            if (cell->col < left) continue;
            if (cell->col > right) break;
            line.append(static_cast<std::size_t>(cell->col - col), '\t');
            line += fieldText(session, cell, level);
            col = cell->col;
        }
        line.append(static_cast<std::size_t>(right - col), '\t');
        cli.printLine(line);
    }
}

}  // namespace

void enterVerb(LineInterpreter& cli, std::string_view args) {
    Session& session = cli.session();
    ErrStat err;
    AddressArgument at;
    std::size_t pos = 0;
    if (!parseAddressArgument(args, pos, session.highestLevel(), at, err)) return cli.reportProblem(err);
    if (at.element != 0) {
        err.fail(kOriginEnterVerb, 1, Msg::IllegalParameter);
        return cli.reportProblem(err);
    }
    if (pos < args.size() && args[pos] == ' ') ++pos;
    session.commitEntry(at.level, at.row, at.col, args.substr(pos), err);
    if (err.failed()) cli.printFailure(err);
}

void showVerb(LineInterpreter& cli, std::string_view args) {
    if (args.find('^') != std::string_view::npos) return showBlock(cli, args);
    Session& session = cli.session();
    ErrStat err;
    AddressArgument at;
    if (!parseAddressOnly(args, session.highestLevel(), at, err)) return cli.reportProblem(err);
    const CellRec* cell = cellAt(session, at, err);
    if (err.failed()) return cli.reportProblem(err);
    cli.printLine(shownText(session, cell, at.row, at.col, levelOf(session, at)));
}

void valueVerb(LineInterpreter& cli, std::string_view args) {
    Session& session = cli.session();
    ErrStat err;
    AddressArgument at;
    if (!parseAddressOnly(args, session.highestLevel(), at, err)) return cli.reportProblem(err);
    const CellRec* cell = cellAt(session, at, err);
    if (err.failed()) return cli.reportProblem(err);
    cli.printLine(formatG15(Evaluator::readCell(cell, at.element)));
}

void evalVerb(LineInterpreter& cli, std::string_view args) {
    ErrStat err;
    const double value = cli.session().evaluate(args, err);
    if (err.failed()) return cli.printFailure(err);
    cli.printLine(formatG15(value));
}

}  // namespace qx
