#include "cli/script_verbs.h"

#include <cstdio>
#include <string>

#include "cli/line_interpreter.h"
#include "cli/origins.h"

namespace qx {

using namespace origins::cli;

namespace {

std::string versionText(float version) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%0.2f", static_cast<double>(version));
    return buf;
}

void refuse(LineInterpreter& cli, Origin origin) {
    ErrStat err;
    err.fail(origin, 1, Msg::IllegalParameter);
    cli.reportProblem(err);
}

}  // namespace

void attachVerb(LineInterpreter& cli, std::string_view args) {
    const std::string_view path = trimArgument(args);
    if (path.empty()) return refuse(cli, kOriginAttachVerb);
    ErrStat err;
    if (cli.session().attachLibrary(path, err) == kAttachFailed) cli.reportProblem(err);
}

void detachVerb(LineInterpreter& cli, std::string_view args) {
    const std::string_view name = trimArgument(args);
    if (name.empty()) return refuse(cli, kOriginDetachVerb);
    ErrStat err;
    if (!cli.session().detachLibrary(name, err)) cli.reportProblem(err);
}

void scriptsVerb(LineInterpreter& cli, std::string_view args) {
    if (!trimArgument(args).empty()) return refuse(cli, kOriginScriptsVerb);
    const ScriptLibraries& libs = cli.session().libraries();
    cli.printLine("Swap Area " + std::to_string(libs.swapArea().size()) + " bytes");
    for (int index : libs.attached()) {
        const LibraryTableEntry& lib = libs.library(index);
        cli.printLine(lib.file + "  " + versionText(lib.libraryVersion) + "  " + versionText(lib.compilerVersion) +
                      "  " + (lib.directory.empty() ? std::string(".") : lib.directory) + "\\" + lib.file);
        for (const ScriptIndexEntry& s : libs.scripts()) {
            if (s.library != index) continue;
            cli.printLine("  " + s.name + "  " + std::to_string(s.bodyLength) + "  " +
                          (s.unloaded ? "unloaded" : "loaded") + "  " + std::to_string(s.callWeight));
        }
    }
}

void swapVerb(LineInterpreter& cli, std::string_view args) {
    const auto words = argumentWords(args);
    int bytes = 0;
    if (words.size() != 1 || !wholeNumber(words[0], bytes)) return refuse(cli, kOriginSwapVerb);
    ErrStat err;
    if (!cli.session().libraries().resizeSwapArea(bytes, err)) cli.reportProblem(err);
}

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
    const CompileOutcome outcome = cli.session().compileSource(path, writeLog);
    for (const std::string& row : outcome.rows) cli.printLine(row);
}

}  // namespace qx
