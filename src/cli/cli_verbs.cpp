// The verbs of quorix-cli other than menu commands.
#include <array>
#include <charconv>
#include <string>

#include "cli/address_argument.h"
#include "cli/attribute_verb.h"
#include "cli/edit_verbs.h"
#include "cli/file_verbs.h"
#include "cli/formula_verbs.h"
#include "cli/function_verbs.h"
#include "cli/line_interpreter.h"
#include "cli/object_verbs.h"
#include "cli/origins.h"
#include "cli/script_verbs.h"

namespace qx {

using namespace origins::cli;
namespace {

void levelVerb(LineInterpreter& cli, std::string_view args) {
    ErrStat err;
    std::string_view text = trimArgument(args);
    int level = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), level);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) {
        err.fail(kOriginLevelVerb, 1, Msg::IllegalParameter);
    } else {
        cli.session().setActiveLevel(level, err);
    }
    if (err.failed()) cli.reportProblem(err);
}

void gotoVerb(LineInterpreter& cli, std::string_view args) {
    ErrStat err;
    AddressArgument at;
    Session& session = cli.session();
    if (parseAddressOnly(args, session.highestLevel(), at, err)) session.moveTo(at.level, at.row, at.col, err);
    if (err.failed()) cli.reportProblem(err);
}

void selectVerb(LineInterpreter& cli, std::string_view args) {
    ErrStat err;
    AddressArgument first;
    AddressArgument second;
    Session& session = cli.session();
    if (parseRangeOnly(args, session.highestLevel(), first, second, err)) {
        session.select(first.level, CellArea{first.row, first.col, second.row, second.col}, err);
    }
    if (err.failed()) cli.reportProblem(err);
}

void answerVerb(LineInterpreter& cli, std::string_view args) {
    if (auto answer = parsePolicyAnswer(trimArgument(args))) {
        cli.platform().setPolicy(*answer);
        return;
    }
    ErrStat err;
    err.fail(kOriginAnswerVerb, 1, Msg::IllegalParameter);
    cli.reportProblem(err);
}

void timeVerb(LineInterpreter& cli, std::string_view args) {
    double start = cli.platform().elapsedMs();
    cli.runLine(args);
    double ms = cli.platform().elapsedMs() - start;
    char buf[64];
    auto result = std::to_chars(buf, buf + sizeof buf, ms, std::chars_format::fixed, 3);
    cli.printLine("time: " + std::string(buf, result.ptr) + " ms");
}

void quitVerb(LineInterpreter& cli, std::string_view) {
    cli.stop();
}

constexpr std::array kVerbs = std::to_array<Verb>({
    {"enter", enterVerb, "[R,C] TEXT", "enter TEXT into the cell as typed in the edit bar, then recalculate"},
    {"show", showVerb, "[R,C] | [R1,C1]^[R2,C2]", "print display texts: a block row by row, tab-separated"},
    {"value", valueVerb, "[R,C] | [R,C,E]", "print the value the evaluator reads from the cell (or element E)"},
    {"eval", evalVerb, "TEXT", "evaluate TEXT as a formula and print the value or the error line"},
    {"functions", functionsVerb, "[CATEGORY]", "list the built-in functions, or those of one category"},
    {"attr", attrVerb, "[R,C] CODE [VALUE]", "read cell property CODE (0..31), or write VALUE and read it back"},
    {"bkcolor", bkColorVerb, "COLOUR", "give the selection the background colour 0x00BBGGRR (\"+BkColor\")"},
    {"open", openVerb, "PATH", "open a worksheet (.qx2) or a workbook (.qx3)"},
    {"save", saveVerb, "PATH", "save the active level (.qx2) or the workbook (.qx3)"},
    {"rename", renameVerb, "workbook|worksheet NAME", "rename the workbook or the active level"},
    {"protect", protectVerb, "password TEXT | level N WORD",
     "workbook password (empty clears it), a level's permissions"},
    {"import", importVerb, "PATH", "import a .txt, .csv or .dif file at the pointer"},
    {"export", exportVerb, "PATH [WIDTH]", "export the selection to a .txt, .csv or .dif file, lines cut at WIDTH"},
    {"dxf", dxfVerb, "[R,C] PATH", "write the graph or view in the cell (the pointer's without one) as a .dxf drawing"},
    {"level", levelVerb, "N", "make level N the active level"},
    {"goto", gotoVerb, "[R,C]", "move the cell pointer"},
    {"select", selectVerb, "[R1,C1]^[R2,C2]", "select a block"},
    {"table", tableVerb, "invert|swap A B|rmrow K|rmcol K|sort COL [asc|desc]...|set ROW COL VALUE|buffer",
     "operate on the table under the pointer; print the capture buffer"},
    {"sortrows", sortRowsVerb, "KEY a|d [KEY a|d [KEY a|d]]",
     "sort the selection's rows by up to three key columns, ascending or descending"},
    {"find", findVerb, "[-up] [-nocase] [-formulas|-labels|-vlabels|-tags] TEXT",
     "find TEXT ('~' matches any run) from next to the pointer and go there"},
    {"findnext", findNextVerb, "", "repeat the last find"},
    {"replace", replaceVerb, "FIND<TAB>WITH", "replace FIND by WITH in the found cell and enter it"},
    {"arrsize", arrSizeVerb, "N [warn]",
     "create, resize or (0) remove the selection's Array Areas; warn: with warnings"},
    {"arrset", arrSetVerb, "V1 V2 ...", "set elements 1.. of the one selected cell's Array Area"},
    {"compile", compileVerb, "PATH [log]",
     "compile a script source into the .slb beside it and print the messages (log: also a .log)"},
    {"attach", attachVerb, "PATH", "attach the Script Library PATH (\".slb\" is forced)"},
    {"detach", detachVerb, "NAME", "detach the Script Library attached under the file name (or path) NAME"},
    {"scripts", scriptsVerb, "", "list the attached libraries and their scripts: body length, loaded, call weight"},
    {"swap", swapVerb, "N", "make the Swap Area N bytes (8192..131072); refused while a script runs"},
    {"answer", answerVerb, "yes|no|cancel", "the answer for the questions that follow"},
    {"time", timeVerb, "COMMAND", "run COMMAND, then print \"time: <ms> ms\""},
    {"quit", quitVerb, "", "stop reading"},
});

}  // namespace

std::span<const Verb> cliVerbs() {
    return kVerbs;
}

}  // namespace qx
