#include "cli/function_verbs.h"

#include <string>

#include "cli/line_interpreter.h"
#include "functions/function_help.h"

namespace qx {

namespace {

void listCategory(LineInterpreter& cli, int category) {
    for (const FunctionEntry* e : categoryFunctions(cli.session().functions(), category)) {
        cli.printLine(std::string(e->name) + "  " + std::string(e->callTemplate));
    }
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

}  // namespace

void functionsVerb(LineInterpreter& cli, std::string_view args) {
    const std::string_view wanted = trimmed(args);
    if (wanted.empty()) {
        for (int c = 1; c <= kCategoryCount; ++c) listCategory(cli, c);
        return;
    }
    const int category = categoryNumber(wanted);
    if (category == 0) return cli.reportProblem("unknown category: " + std::string(wanted));
    listCategory(cli, category);
}

}  // namespace qx
