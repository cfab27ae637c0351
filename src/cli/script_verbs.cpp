#include "cli/script_verbs.h"

#include <string>

#include "cli/line_interpreter.h"
#include "cli/origins.h"
#include "core/paths.h"
#include "script/compiler/script_compiler.h"

namespace qx {

using namespace origins::cli;

void compileVerb(LineInterpreter& cli, std::string_view args) {
    std::string_view path = trimArgument(args);
    bool writeLog = false;
    if (path.ends_with(" log") || path.ends_with("\tlog")) {
        writeLog = true;
        path = trimArgument(path.substr(0, path.size() - 3));
    }
    if (path.empty()) {
        ErrStat err;
        err.fail(kOriginCompileVerb, 1, Msg::IllegalParameter);
        cli.reportProblem(err);
        return;
    }
    SplitPath split = splitPath(path);
    const CompileOutcome outcome =
        compileScript(CompileRequest{std::move(split.directory), std::move(split.name), writeLog}, cli.platform(), {});
    for (const std::string& row : outcome.rows) cli.printLine(row);
}

}  // namespace qx
